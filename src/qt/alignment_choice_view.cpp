#include "alignment_choice_view.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "alignment/alignment_choice_dialog.h"
#include "control_binding.h"
#include "qt_platform.h"
#include "qt_text.h"

namespace merilon::qt {

AlignmentChoiceView::AlignmentChoiceView(TFormWyborTrasy& model, QtPlatform& platform,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      model_(model),
      platform_(platform) {
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  list_ = new QListWidget(this);
  list_->setMinimumWidth(360);
  layout->addWidget(label_);
  layout->addWidget(list_, 1);
  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton(this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (syncing_) return;
    model_.ListBox1.itemIndex = row;
    model_.ListBox1Click();
    syncFromModel();
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { model_.ListBox1DblClick(); });
  connect(ok_, &QPushButton::clicked, this, [this] { model_.Button1Click(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { model_.Button2Click(); });
  platform_.registerView(model_, *this);
}

AlignmentChoiceView::~AlignmentChoiceView() { platform_.unregisterView(model_); }

void AlignmentChoiceView::syncFromModel() {
  syncing_ = true;
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  syncLabel(label_, model_.Label1);
  QStringList items;
  for (const auto& item : model_.ListBox1.items) items.push_back(toQt(item));
  QStringList shown;
  for (int i = 0; i < list_->count(); ++i) shown.push_back(list_->item(i)->text());
  if (shown != items) {
    list_->clear();
    list_->addItems(items);
  }
  if (list_->currentRow() != model_.ListBox1.itemIndex) {
    list_->setCurrentRow(model_.ListBox1.itemIndex);
  }
  syncButton(ok_, model_.Button1);
  syncButton(cancel_, model_.Button2);
  syncing_ = false;
}

void AlignmentChoiceView::runModal() {
  syncFromModel();
  exec();
}

void AlignmentChoiceView::showModeless() {
  syncFromModel();
  show();
}

void AlignmentChoiceView::closeView() {
  if (isVisible()) done(QDialog::Accepted);
}

// Closing the window is "Rezygnuj".
void AlignmentChoiceView::reject() { model_.Button2Click(); }

}  // namespace merilon::qt
