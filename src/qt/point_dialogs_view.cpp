#include "point_dialogs_view.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "control_binding.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

namespace merilon::qt {
namespace {

constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

QLabel* labelFor(QWidget* parent, const Label& control) {
  auto* label = new QLabel(toQt(control.caption), parent);
  label->setToolTip(toQt(control.hint));
  return label;
}

QLineEdit* fieldFor(QWidget* parent, Edit& control, Platform& platform) {
  auto* field = new QLineEdit(parent);
  bindEdit(field, control, platform);
  return field;
}

void buttonRow(QVBoxLayout* layout, QPushButton* a, QPushButton* b) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(a);
  row->addWidget(b);
  layout->addLayout(row);
}

void syncAll(const std::vector<BoundEdit>& edits) {
  for (const BoundEdit& e : edits) syncEdit(e.widget, *e.control);
}

}  // namespace

// --- Dane punktu ---------------------------------------------------------------------------------

PointDataView::PointDataView(Program& program, QtPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      program_(program),
      model_(program.FormZmienpkt),
      platform_(platform) {
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  TFormZmienpkt& m = model_;
  const std::pair<Label*, Edit*> rows[] = {{&m.Label1, &m.Edit1}, {&m.Label2, &m.Edit2},
                                           {&m.Label3, &m.Edit3}, {&m.Label5, &m.Edit4},
                                           {&m.Label6, &m.Edit5}, {&m.Label7, &m.Edit6},
                                           {&m.Label8, &m.Edit7}};
  int row = 0;
  for (auto [label, edit] : rows) {
    QLabel* l = labelFor(this, *label);
    QLineEdit* e = fieldFor(this, *edit, platform_);
    grid->addWidget(l, row, 0);
    grid->addWidget(e, row, 1);
    edits_.push_back({e, edit});
    labels_.push_back({l, label});
    ++row;
    if (edit == &m.Edit5) {
      auto* number = new QLabel(this);
      grid->addWidget(number, row++, 0, 1, 2);
      labels_.push_back({number, &m.Label4});
    }
  }
  layout->addLayout(grid);
  apply_ = new QPushButton(this);
  apply_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setAutoDefault(false);
  buttonRow(layout, apply_, cancel_);
  connect(apply_, &QPushButton::clicked, this, [this] { run([this] { model_.Button1Click(); }); });
  connect(cancel_, &QPushButton::clicked, this, [this] { run([this] { model_.Button2Click(); }); });
  // The form's pop-up menu.
  setContextMenuPolicy(Qt::ActionsContextMenu);
  pick_ = new QAction(toQt(model_.WskawsprzedneXiY1.caption), this);
  addAction(pick_);
  connect(pick_, &QAction::triggered, this,
          [this] { run([this] { model_.WskawsprzedneXiY1Click(); }); });
  platform_.registerView(model_, *this);
  syncFromModel();
}

PointDataView::~PointDataView() { platform_.unregisterView(model_); }

void PointDataView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void PointDataView::syncFromModel() {
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  syncAll(edits_);
  for (const BoundLabel& l : labels_) syncLabel(l.widget, *l.control);
  syncButton(apply_, model_.Button1);
  syncButton(cancel_, model_.Button2);
}

void PointDataView::runModal() {
  showModeless();
  exec();
}

void PointDataView::showModeless() {
  syncFromModel();
  adjustSize();
  if (!isVisible()) {
    model_.Width = width();
    model_.Height = height();
    move(model_.Left, model_.Top);
  }
  show();
  raise();
  activateWindow();
}

void PointDataView::closeView() {
  if (isVisible()) hide();
}

void PointDataView::moveEvent(QMoveEvent* event) {
  model_.Left = x();
  model_.Top = y();
  QDialog::moveEvent(event);
}

void PointDataView::reject() {
  // Esc and the close box give up, as "Rezygnuj" does.
  if (isVisible()) run([this] { model_.Button2Click(); });
  QDialog::reject();
}

// --- Generuj punkt -------------------------------------------------------------------------------

PointGenerationView::PointGenerationView(Program& program, QtPlatform& platform, QWidget* parent)
    : QDialog(parent, kDialogFlags),
      program_(program),
      model_(program.FormGenerpkt),
      platform_(platform) {
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  TFormGenerpkt& m = model_;
  const std::pair<Label*, Edit*> rows[] = {{&m.Label1, &m.Edit6},
                                           {&m.Label2, &m.Edit1},
                                           {&m.Label3, &m.Edit2},
                                           {&m.Label4, &m.Edit4},
                                           {&m.Label5, &m.Edit5}};
  int row = 0;
  for (auto [label, edit] : rows) {
    QLineEdit* e = fieldFor(this, *edit, platform_);
    grid->addWidget(labelFor(this, *label), row, 0);
    grid->addWidget(e, row, 1);
    edits_.push_back({e, edit});
    ++row;
  }
  layout->addLayout(grid);
  // Typing into one way of generating empties the other two.
  connect(edits_[0].widget, &QLineEdit::textEdited, this,
          [this] { run([this] { model_.Edit6Change(); }); });
  connect(edits_[1].widget, &QLineEdit::textEdited, this,
          [this] { run([this] { model_.Edit1Change(); }); });
  connect(edits_[2].widget, &QLineEdit::textEdited, this,
          [this] { run([this] { model_.Edit2Change(); }); });
  generate_ = new QPushButton(this);
  generate_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setAutoDefault(false);
  buttonRow(layout, generate_, cancel_);
  connect(generate_, &QPushButton::clicked, this,
          [this] { run([this] { model_.Button1Click(); }); });
  connect(cancel_, &QPushButton::clicked, this, [this] { run([this] { model_.Button2Click(); }); });
  platform_.registerView(model_, *this);
  syncFromModel();
}

PointGenerationView::~PointGenerationView() { platform_.unregisterView(model_); }

void PointGenerationView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void PointGenerationView::syncFromModel() {
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  syncAll(edits_);
  syncButton(generate_, model_.Button1);
  syncButton(cancel_, model_.Button2);
}

void PointGenerationView::runModal() {
  syncFromModel();
  adjustSize();
  if (QWidget* owner = parentWidget()) move(owner->geometry().center() - rect().center());
  exec();
}

void PointGenerationView::closeView() {
  if (isVisible()) done(QDialog::Accepted);
}

void PointGenerationView::reject() {
  if (isVisible()) run([this] { model_.Button2Click(); });
  QDialog::reject();
}

// --- Szukaj punktu -------------------------------------------------------------------------------

PointSearchView::PointSearchView(Program& program, QtPlatform& platform, QWidget* parent)
    : QDialog(parent, kDialogFlags),
      program_(program),
      model_(program.Formszukaj_pkt),
      platform_(platform) {
  setModal(true);
  TFormszukaj_pkt& m = model_;
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  QLineEdit* number = fieldFor(this, m.Edit1, platform_);
  QLineEdit* symbol = fieldFor(this, m.Edit4, platform_);
  grid->addWidget(labelFor(this, m.Label1), 0, 0);
  grid->addWidget(number, 0, 1);
  grid->addWidget(labelFor(this, m.Label4), 1, 0);
  grid->addWidget(symbol, 1, 1);
  layout->addLayout(grid);
  auto* box = new QGroupBox(toQt(m.GroupBox1.caption), this);
  auto* heights = new QGridLayout(box);
  QLineEdit* height = fieldFor(box, m.Edit2, platform_);
  QLineEdit* tolerance = fieldFor(box, m.Edit3, platform_);
  heights->addWidget(labelFor(box, m.Label2), 0, 0);
  heights->addWidget(height, 0, 1);
  heights->addWidget(labelFor(box, m.Label3), 1, 0);
  heights->addWidget(tolerance, 1, 1);
  layout->addWidget(box);
  edits_ = {{number, &m.Edit1}, {symbol, &m.Edit4}, {height, &m.Edit2}, {tolerance, &m.Edit3}};
  connect(number, &QLineEdit::textEdited, this,
          [this] { run([this] { model_.Edit1Change(); }); });
  connect(symbol, &QLineEdit::textEdited, this,
          [this] { run([this] { model_.Edit4Change(); }); });
  next_ = new QCheckBox(toQt(m.CheckBox1.caption), this);
  connect(next_, &QCheckBox::toggled, this, [this](bool on) { model_.CheckBox1.checked = on; });
  layout->addWidget(next_);
  search_ = new QPushButton(this);
  search_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setAutoDefault(false);
  buttonRow(layout, search_, cancel_);
  connect(search_, &QPushButton::clicked, this, [this] { run([this] { model_.Button1Click(); }); });
  connect(cancel_, &QPushButton::clicked, this, [this] { run([this] { model_.Button2Click(); }); });
  platform_.registerView(model_, *this);
  syncFromModel();
}

PointSearchView::~PointSearchView() { platform_.unregisterView(model_); }

void PointSearchView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void PointSearchView::syncFromModel() {
  const QString title = toQt(model_.Caption);
  if (windowTitle() != title) setWindowTitle(title);
  syncAll(edits_);
  if (next_->isChecked() != model_.CheckBox1.checked) next_->setChecked(model_.CheckBox1.checked);
  syncButton(search_, model_.Button1);
  syncButton(cancel_, model_.Button2);
}

void PointSearchView::runModal() {
  syncFromModel();
  adjustSize();
  if (QWidget* owner = parentWidget()) move(owner->geometry().center() - rect().center());
  exec();
}

void PointSearchView::closeView() {
  if (isVisible()) done(QDialog::Accepted);
}

}  // namespace merilon::qt
