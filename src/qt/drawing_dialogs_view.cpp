#include "drawing_dialogs_view.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "control_binding.h"
#include "drawing/drawing_dialogs.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

namespace merilon::qt {
namespace {

// The rotation field's own filter: backspace, digits, "." and "-".
class DoubleKeyFilter : public QObject {
 public:
  DoubleKeyFilter(QObject* parent, TFormRysowan_obrot& form) : QObject(parent), form_(form) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace) return false;
    const QString text = key->text();
    // Moving keys, Enter and Esc carry no printable text; they work as usual.
    if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & Qt::ControlModifier))
      return false;
    return !form_.KeyPressDouble(text.toUcs4().value(0));
  }

 private:
  TFormRysowan_obrot& form_;
};

}  // namespace

DrawingParamsView::DrawingParamsView(Program& program, QtPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      program_(program),
      model_(program.FormParam_rysow),
      platform_(platform) {
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto group = [this, layout](const Label& caption,
                              std::initializer_list<std::pair<Label*, Edit*>> fields) {
    auto* box = new QGroupBox(toQt(caption.caption), this);
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (auto [label, edit] : fields) {
      auto* field = new QLineEdit(box);
      field->setFixedWidth(80);
      grid->addWidget(new QLabel(toQt(label->caption), box), row, 0);
      grid->addWidget(field, row, 1);
      bindEdit(field, *edit, platform_);
      edits_.emplace_back(field, edit);
      ++row;
    }
    layout->addWidget(box);
  };
  group(model_.GroupDrawing, {{&model_.Label3, &model_.Edit3},
                              {&model_.Label4, &model_.Edit4},
                              {&model_.Label5, &model_.Edit5},
                              {&model_.Label6, &model_.Edit6},
                              {&model_.Label7, &model_.Edit7}});
  group(model_.GroupOther, {{&model_.Label1, &model_.Edit1}, {&model_.Label2, &model_.Edit2}});
  // Fields in the order Edit1..Edit7 for field(k).
  std::sort(edits_.begin(), edits_.end(), [this](const auto& a, const auto& b) {
    const Edit* order[] = {&model_.Edit1, &model_.Edit2, &model_.Edit3, &model_.Edit4,
                           &model_.Edit5, &model_.Edit6, &model_.Edit7};
    return std::find(std::begin(order), std::end(order), a.second) <
           std::find(std::begin(order), std::end(order), b.second);
  });
  close_ = new QPushButton(this);
  close_->setDefault(true);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(close_);
  layout->addLayout(row);
  connect(close_, &QPushButton::clicked, this,
          [this] { program_.runHandler([this] { model_.Button1Click(); }); });
  platform_.registerView(model_, *this);
  syncFromModel();
}

DrawingParamsView::~DrawingParamsView() { platform_.unregisterView(model_); }

void DrawingParamsView::syncFromModel() {
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  for (auto& [widget, control] : edits_) syncEdit(widget, *control);
  syncButton(close_, model_.Button1);
}

void DrawingParamsView::runModal() {
  syncFromModel();
  if (QWidget* owner = parentWidget()) move(owner->geometry().center() - rect().center());
  exec();
}

void DrawingParamsView::closeView() {
  if (isVisible()) done(QDialog::Accepted);
}

RotationDialogView::RotationDialogView(Program& program, QtPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      program_(program),
      model_(program.FormRysowan_obrot),
      platform_(platform) {
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(toQt(model_.Label1.caption), this));
  auto* row = new QHBoxLayout;
  angle_ = new QLineEdit(this);
  angle_->installEventFilter(new DoubleKeyFilter(angle_, model_));
  connect(angle_, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.Edit1.text = fromQt(t); });
  row->addWidget(angle_);
  row->addWidget(new QLabel(toQt(model_.Label2.caption), this));
  row->addStretch(1);
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  accept_ = new QPushButton(this);
  accept_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(accept_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  connect(accept_, &QPushButton::clicked, this, [this] { run([this] { model_.Button1Click(); }); });
  connect(cancel_, &QPushButton::clicked, this, [this] { run([this] { model_.Button2Click(); }); });
  platform_.registerView(model_, *this);
  syncFromModel();
}

RotationDialogView::~RotationDialogView() { platform_.unregisterView(model_); }

void RotationDialogView::run(const std::function<void()>& handler) { program_.runHandler(handler); }

void RotationDialogView::syncFromModel() {
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  const QString text = toQt(model_.Edit1.text);
  if (angle_->text() != text) angle_->setText(text);
  syncButton(accept_, model_.Button1);
  syncButton(cancel_, model_.Button2);
}

void RotationDialogView::runModal() {
  syncFromModel();
  adjustSize();
  model_.Width = width();
  model_.Height = height();
  model_.FormActivate();  // the position uses the dialog's real size
  move(model_.Left, model_.Top);
  exec();
}

void RotationDialogView::closeView() {
  if (isVisible()) done(QDialog::Accepted);
}

void RotationDialogView::moveEvent(QMoveEvent* event) {
  model_.Left = x();
  model_.Top = y();
  QDialog::moveEvent(event);
}

void RotationDialogView::reject() {
  // Esc and the close box cancel, as "Rezygnuj" does.
  if (isVisible()) run([this] { model_.Button2Click(); });
  QDialog::reject();
}

}  // namespace merilon::qt
