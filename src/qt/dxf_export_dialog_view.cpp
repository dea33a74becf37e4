#include "dxf_export_dialog_view.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "control_binding.h"
#include "dxf/dxf_export.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

namespace merilon::qt {

DxfExportDialogView::DxfExportDialogView(Program& program, QtPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      program_(program),
      model_(program.FormDXF),
      platform_(platform) {
  setModal(false);
  // Wide enough for the whole caption in the title bar.
  setMinimumWidth(340);
  auto* layout = new QVBoxLayout(this);
  group_ = new QGroupBox(this);
  auto* inGroup = new QVBoxLayout(group_);
  for (CheckBox* c : {&model_.CheckBox1, &model_.CheckBox3, &model_.CheckBox5, &model_.CheckBox6}) {
    inGroup->addWidget(addBox(*c));
  }
  auto* labelRow = new QHBoxLayout;
  labelHeightCaption_ = new QLabel(group_);
  labelHeight_ = new QLineEdit(group_);
  labelHeight_->setFixedWidth(70);
  labelRow->addWidget(labelHeightCaption_, 1);
  labelRow->addWidget(labelHeight_);
  inGroup->addLayout(labelRow);
  inGroup->addSpacing(8);
  inGroup->addWidget(addBox(model_.CheckBox2));
  auto* chainageRow = new QHBoxLayout;
  chainageHeightCaption_ = new QLabel(group_);
  chainageHeight_ = new QLineEdit(group_);
  chainageHeight_->setFixedWidth(70);
  chainageRow->addWidget(chainageHeightCaption_, 1);
  chainageRow->addWidget(chainageHeight_);
  inGroup->addLayout(chainageRow);
  layout->addWidget(group_);
  bindEdit(labelHeight_, model_.Edit1, platform_);
  bindEdit(chainageHeight_, model_.Edit2, platform_);

  auto* buttons = new QHBoxLayout;
  next_ = new QPushButton(this);
  next_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(next_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  connect(next_, &QPushButton::clicked, this, [this] { run([this] { model_.Button1Click(); }); });
  connect(cancel_, &QPushButton::clicked, this, [this] { run([this] { model_.Button2Click(); }); });

  platform_.registerView(model_, *this);
  syncFromModel();
}

DxfExportDialogView::~DxfExportDialogView() { platform_.unregisterView(model_); }

QCheckBox* DxfExportDialogView::addBox(CheckBox& control) {
  auto* box = new QCheckBox(group_);
  boxes_.emplace_back(box, &control);
  connect(box, &QCheckBox::toggled, this, [&control](bool on) { control.checked = on; });
  return box;
}

// Esc and the close box act as "Rezygnuj".
void DxfExportDialogView::reject() {
  run([this] { model_.Button2Click(); });
}

void DxfExportDialogView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void DxfExportDialogView::syncFromModel() {
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  const QString groupTitle = toQt(model_.GroupBox1.caption);
  if (group_->title() != groupTitle) group_->setTitle(groupTitle);
  for (auto& [widget, control] : boxes_) {
    const QString caption = toQt(control->caption);
    if (widget->text() != caption) widget->setText(caption);
    if (widget->isChecked() != control->checked) widget->setChecked(control->checked);
  }
  syncLabel(labelHeightCaption_, model_.Label1);
  syncLabel(chainageHeightCaption_, model_.Label2);
  syncEdit(labelHeight_, model_.Edit1);
  syncEdit(chainageHeight_, model_.Edit2);
  syncButton(next_, model_.Button1);
  syncButton(cancel_, model_.Button2);
}

void DxfExportDialogView::runModal() {
  syncFromModel();
  exec();
}

void DxfExportDialogView::showModeless() {
  syncFromModel();
  if (QWidget* owner = parentWidget()) move(owner->geometry().center() - rect().center());
  show();
  raise();
  activateWindow();
}

void DxfExportDialogView::closeView() {
  if (isVisible()) hide();
}

}  // namespace merilon::qt
