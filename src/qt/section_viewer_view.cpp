#include "section_viewer_view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>
#include <utility>

#include "alignment/section_viewer.h"
#include "control_binding.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

namespace merilon::qt {

SectionSurface::SectionSurface(SectionViewerView& view)
    : QWidget(&view), view_(view), canvas_(640, 360, view.devicePixelRatioF()) {
  setObjectName("Surface");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 200);
  setFocusPolicy(Qt::StrongFocus);
}

void SectionSurface::redraw() {
  view_.model().paint(canvas_);
  update();
}

void SectionSurface::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, canvas_.image());
}

void SectionSurface::resizeEvent(QResizeEvent*) {
  canvas_.resize(width(), height(), devicePixelRatioF());
  redraw();
}

SectionViewerView::SectionViewerView(Program& program, QtPlatform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window),
      program_(program),
      model_(program.FormPrzekroje),
      platform_(platform) {
  setObjectName("FormPrzekroje");
  resize(900, 560);
  auto* layout = new QVBoxLayout(this);
  file_ = new QLabel(this);
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(file_);
  surface_ = new SectionSurface(*this);
  layout->addWidget(surface_, 1);

  auto* row = new QHBoxLayout;
  // Made in the order they stand in, which is the order Tab goes through them.
  previous_ = new QPushButton(this);
  chainageCaption_ = new QLabel(this);
  chainages_ = new QComboBox(this);
  chainages_->setMinimumContentsLength(10);
  bindCombo(chainages_, model_.ComboBox1, platform_);
  chainageCaption_->setBuddy(chainages_);
  next_ = new QPushButton(this);
  equal_ = new QRadioButton(this);
  exaggerated_ = new QRadioButton(this);
  factors_ = new QComboBox(this);
  factors_->setMinimumContentsLength(4);
  bindCombo(factors_, model_.ComboBox2, platform_);
  print_ = new QPushButton(this);
  close_ = new QPushButton(this);
  row->addWidget(previous_);
  row->addWidget(chainageCaption_);
  row->addWidget(chainages_);
  row->addWidget(next_);
  row->addSpacing(16);
  row->addWidget(equal_);
  row->addWidget(exaggerated_);
  row->addWidget(factors_);
  row->addStretch(1);
  row->addWidget(print_);
  row->addWidget(close_);
  layout->addLayout(row);

  connect(previous_, &QPushButton::clicked, this,
          [this] { run([this] { model_.Button1Click(); }); });
  connect(next_, &QPushButton::clicked, this, [this] { run([this] { model_.Button2Click(); }); });
  // A chainage chosen from the list, or typed and confirmed with Enter.
  connect(chainages_, &QComboBox::activated, this,
          [this] { run([this] { model_.ComboBox1Change(); }); });
  connect(chainages_->lineEdit(), &QLineEdit::returnPressed, this,
          [this] { run([this] { model_.ComboBox1Change(); }); });
  connect(equal_, &QRadioButton::clicked, this,
          [this] { run([this] { model_.RadioButton1Click(); }); });
  connect(exaggerated_, &QRadioButton::clicked, this,
          [this] { run([this] { model_.RadioButton2Click(); }); });
  connect(factors_, &QComboBox::editTextChanged, this,
          [this] { run([this] { model_.ComboBox2Change(); }); });
  connect(print_, &QPushButton::clicked, this, [this] { run([this] { model_.Button3Click(); }); });
  connect(close_, &QPushButton::clicked, this, [this] { run([this] { model_.Button4Click(); }); });

  platform_.registerView(model_, *this);
  syncFromModel();
}

SectionViewerView::~SectionViewerView() { platform_.unregisterView(model_); }

void SectionViewerView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void SectionViewerView::syncFromModel() {
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  syncLabel(file_, model_.Label1);
  syncLabel(chainageCaption_, model_.Label2);
  syncButton(previous_, model_.Button1);
  syncButton(next_, model_.Button2);
  syncCombo(chainages_, model_.ComboBox1);
  syncCombo(factors_, model_.ComboBox2);
  for (auto [widget, control] :
       {std::pair{equal_, &model_.RadioButton1}, std::pair{exaggerated_, &model_.RadioButton2}}) {
    const QString caption = toQt(control->caption);
    if (widget->text() != caption) widget->setText(caption);
    if (widget->isChecked() != control->checked) widget->setChecked(control->checked);
  }
  syncButton(print_, model_.Button3);
  syncButton(close_, model_.Button4);
  // Every command mirrors all views; a hidden viewer draws when it is shown.
  if (isVisible()) surface_->redraw();
}

void SectionViewerView::showModeless() {
  syncFromModel();
  show();
  raise();
  activateWindow();
  surface_->setFocus();
}

void SectionViewerView::closeView() {
  if (isVisible()) close();
}

void SectionViewerView::keyPressEvent(QKeyEvent* e) {
  using Key = TFormPrzekroje::Key;
  switch (e->key()) {
    case Qt::Key_Home:
      return run([this] { model_.FormKeyDown(Key::First); });
    case Qt::Key_End:
      return run([this] { model_.FormKeyDown(Key::Last); });
    case Qt::Key_Left:
    case Qt::Key_PageUp:
      return run([this] { model_.FormKeyDown(Key::Previous); });
    case Qt::Key_Right:
    case Qt::Key_PageDown:
      return run([this] { model_.FormKeyDown(Key::Next); });
    default:
      return QWidget::keyPressEvent(e);
  }
}

}  // namespace merilon::qt
