#include "cross_section_dialog_view.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "alignment/cross_section_dialog.h"
#include "application_setup.h"
#include "control_binding.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

namespace merilon::qt {

CrossSectionDialogView::CrossSectionDialogView(Program& program, QtPlatform& platform,
                                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      program_(program),
      model_(program.FormPoprzeczka),
      platform_(platform) {
  setModal(true);
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  choose_ = new QPushButton(this);
  choose_->setAutoDefault(false);
  top->addWidget(choose_);
  auto* headerBox = new QVBoxLayout;
  headerTitle_ = new QLabel(this);
  header_ = new QLabel(this);
  QFont bold = font();
  bold.setBold(true);
  header_->setFont(bold);
  header_->setWordWrap(true);
  headerBox->addWidget(headerTitle_);
  headerBox->addWidget(header_);
  top->addLayout(headerBox, 1);
  layout->addLayout(top);

  auto* grid = new QGridLayout;
  start_ = addField(grid, 0, 0, model_.Label1, model_.Edit3);
  end_ = addField(grid, 0, 1, model_.Label2, model_.Edit4);
  left_ = addField(grid, 2, 0, model_.Label3, model_.Edit1);
  right_ = addField(grid, 2, 1, model_.Label4, model_.Edit2);
  range_ = addField(grid, 4, 0, model_.Label7, model_.Edit5);
  accuracy_ = addField(grid, 4, 1, model_.Label8, model_.Edit6);
  layout->addLayout(grid);
  auto* singleRow = new QHBoxLayout;
  auto* singleLabel = new QLabel(this);
  single_ = new QLineEdit(this);
  single_->setFixedWidth(70);
  singleRow->addWidget(singleLabel, 1);
  singleRow->addWidget(single_);
  captions_.emplace_back(singleLabel, &model_.Label9);
  edits_.emplace_back(single_, &model_.Edit7);
  bindEdit(single_, model_.Edit7, platform_);
  layout->addLayout(singleRow);

  allCodes_ = new QRadioButton(this);
  boundaryCodes_ = new QRadioButton(this);
  auto* group = new QButtonGroup(this);
  group->addButton(allCodes_);
  group->addButton(boundaryCodes_);
  layout->addWidget(allCodes_);
  layout->addWidget(boundaryCodes_);
  auto pick = [this] {
    model_.RadioButton1.checked = allCodes_->isChecked();
    model_.RadioButton2.checked = boundaryCodes_->isChecked();
  };
  connect(allCodes_, &QRadioButton::toggled, this, pick);
  connect(boundaryCodes_, &QRadioButton::toggled, this, pick);

  auto* buttons = new QHBoxLayout;
  generate_ = new QPushButton(this);
  generate_->setDefault(true);
  close_ = new QPushButton(this);
  close_->setAutoDefault(false);
  abort_ = new QPushButton(this);
  abort_->setAutoDefault(false);
  buttons->addWidget(abort_);
  buttons->addStretch(1);
  buttons->addWidget(generate_);
  buttons->addWidget(close_);
  layout->addLayout(buttons);

  connect(choose_, &QPushButton::clicked, this, [this] { run([this] { model_.Button5Click(); }); });
  connect(generate_, &QPushButton::clicked, this,
          [this] { run([this] { model_.Button1Click(); }); });
  connect(close_, &QPushButton::clicked, this, [this] { run([this] { model_.Button2Click(); }); });
  connect(abort_, &QPushButton::clicked, this, [this] { run([this] { model_.Button6Click(); }); });

  choice_ = new AlignmentChoiceView(model_.FormWyborTrasy, platform_, this);
  platform_.registerView(model_, *this);
  syncFromModel();
}

CrossSectionDialogView::~CrossSectionDialogView() { platform_.unregisterView(model_); }

QLineEdit* CrossSectionDialogView::addField(QGridLayout* grid, int row, int column, Label& caption,
                                            Edit& edit) {
  auto* label = new QLabel(this);
  auto* field = new QLineEdit(this);
  grid->addWidget(label, row, column);
  grid->addWidget(field, row + 1, column);
  captions_.emplace_back(label, &caption);
  edits_.emplace_back(field, &edit);
  bindEdit(field, edit, platform_);
  return field;
}

void CrossSectionDialogView::run(const std::function<void()>& handler) {
  // A handler run from inside another (while "Generuj" processes events) leaves the flag set.
  const bool outer = running_;
  running_ = true;
  program_.runHandler(handler);
  running_ = outer;
  platform_.syncAllViews();
}

void CrossSectionDialogView::reject() {
  if (!running_) run([this] { model_.Button2Click(); });
}

void CrossSectionDialogView::syncFromModel() {
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  syncButton(choose_, model_.Button5);
  syncLabel(headerTitle_, model_.Label5);
  syncLabel(header_, model_.Label6);
  for (auto& [widget, control] : captions_) syncLabel(widget, *control);
  for (auto& [widget, control] : edits_) syncEdit(widget, *control);
  const QString allCaption = toQt(model_.RadioButton1.caption);
  if (allCodes_->text() != allCaption) allCodes_->setText(allCaption);
  const QString boundaryCaption = toQt(model_.RadioButton2.caption);
  if (boundaryCodes_->text() != boundaryCaption) boundaryCodes_->setText(boundaryCaption);
  QRadioButton* checked = model_.RadioButton2.checked ? boundaryCodes_ : allCodes_;
  if (!checked->isChecked()) checked->setChecked(true);
  syncButton(generate_, model_.Button1);
  syncButton(close_, model_.Button2);
  syncButton(abort_, model_.Button6);
  fitHeightToText();
}

void CrossSectionDialogView::fitHeightToText() {
  // Qt sizes a window by its controls' heights at their preferred widths; the description,
  // wrapped at the window's width, takes more lines than that and would push the captions under
  // it onto one another.
  layout()->activate();
  const int needed = std::max(layout()->totalHeightForWidth(width()), 0);
  if (minimumHeight() != needed) setMinimumHeight(needed);
  if (height() < needed) resize(width(), needed);
}

void CrossSectionDialogView::runModal() {
  syncFromModel();
  if (const QWidget* owner = parentWidget()) centreOnOwner(*this, *owner);
  exec();
}

void CrossSectionDialogView::showModeless() {
  syncFromModel();
  show();
}

void CrossSectionDialogView::closeView() {
  if (isVisible()) done(QDialog::Accepted);
}

}  // namespace merilon::qt
