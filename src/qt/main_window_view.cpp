#include "main_window_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>
#include <utility>

#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

namespace merilon::qt {

MainWindowView::MainWindowView(Program& program, QtPlatform& platform)
    : program_(program), model_(program.main), platform_(platform) {
  setWindowTitle(toQt(model_.baseTitle));
  setAcceptDrops(true);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 3);
  layout->setSpacing(3);

  // Command panel.
  auto* panel = new QWidget(central);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  const std::vector<std::pair<Button*, void (TFORM_Main::*)()>> commands = {
      {&model_.Button8, &TFORM_Main::Button8Click},
      {&model_.Button1, &TFORM_Main::Button1Click},
      {&model_.Button14, &TFORM_Main::Button14Click},
      {&model_.Button2, &TFORM_Main::Button2Click},
      {&model_.Button3, &TFORM_Main::Button3Click},
      {&model_.Button5, &TFORM_Main::Button5Click},
      {&model_.Button15, &TFORM_Main::Button15Click},
      {&model_.Button23, &TFORM_Main::Button23Click},
      {&model_.Button20, &TFORM_Main::Button20Click},
      {&model_.Button17, &TFORM_Main::Button17Click},
      {&model_.Button10, &TFORM_Main::Button10Click},
      {&model_.Button7, &TFORM_Main::Button7Click},
      {&model_.Button19, &TFORM_Main::Button19Click},
      {&model_.Button9, &TFORM_Main::Button9Click},
      {&model_.Button16, &TFORM_Main::Button16Click},
      {&model_.Button18, &TFORM_Main::Button18Click},
      {&model_.Button13, &TFORM_Main::Button13Click},
  };
  int k = 0;
  for (const auto& [control, handler] : commands) {
    QPushButton* b = addButton(*control, handler);
    b->setParent(panel);
    grid->addWidget(b, k / 4, k % 4);
    ++k;
  }
  layout->addWidget(panel);

  previewLabel_ = new QLabel(central);
  layout->addWidget(previewLabel_);
  preview_ = new PreviewPane(model_.PreviewMemo, central);
  QFont previewFont("Arial");
  previewFont.setPixelSize(12);
  preview_->setFont(previewFont);
  preview_->setMinimumHeight(60);
  layout->addWidget(preview_, 3);

  auto* info = new QWidget(central);
  auto* infoLayout = new QHBoxLayout(info);
  infoLayout->setContentsMargins(0, 0, 0, 0);
  pointCount_ = new QLabel(info);
  info2_ = new QLabel(info);
  info3_ = new QLabel(info);
  info4_ = new QLabel(info);
  infoLayout->addWidget(pointCount_, 3);
  infoLayout->addWidget(info2_, 1);
  infoLayout->addWidget(info3_, 1);
  infoLayout->addWidget(info4_, 1);
  layout->addWidget(info);

  logLabel_ = new QLabel(central);
  layout->addWidget(logLabel_);
  // The log draws the lines on screen straight from its Memo: a long command appending
  // thousands of lines costs no copy of them into a text document.
  log_ = new MemoView(model_.LogMemo, central);
  log_->setMinimumHeight(40);
  layout->addWidget(log_, 2);

  layout->addWidget(buildRecordGroup());

  status_ = new QStatusBar(central);
  status_->setSizeGripEnabled(false);
  layout->addWidget(status_);
  progress_ = new QProgressBar(central);
  progress_->setTextVisible(false);
  progress_->setMaximumHeight(14);
  layout->addWidget(progress_);
  setCentralWidget(central);

  buildMenus();
  setFixedSize(546, 639 + menuBar()->sizeHint().height());
  qApp->installEventFilter(this);
  platform_.registerView(model_, *this);
  platform_.setMainWidget(this);
  syncFromModel();
}

MainWindowView::~MainWindowView() {
  qApp->removeEventFilter(this);
  platform_.unregisterView(model_);
}

QPushButton* MainWindowView::addButton(Button& control, void (TFORM_Main::*handler)()) {
  auto* b = new QPushButton(toQt(control.caption));
  b->setToolTip(toQt(control.hint));
  b->setAutoDefault(false);
  b->setFocusPolicy(Qt::TabFocus);
  // The handler is bound once: in the AddressSanitizer build (GCC 12) a member-function pointer
  // captured again by a nested lambda gave the inner one a wrong `this`.
  std::function<void()> action = [model = &model_, handler] { (model->*handler)(); };
  connect(b, &QPushButton::clicked, this, [this, action] { run(action); });
  buttons_.emplace_back(b, &control);
  return b;
}

QWidget* MainWindowView::buildRecordGroup() {
  auto* group = new QGroupBox(toQt(model_.RecordGroupLabel.caption));
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(1);
  auto addCombo = [&](const char* label, ComboBox& control, int row, int column, int width) {
    auto* l = new QLabel(QString::fromUtf8(label), group);
    auto* c = new QComboBox(group);
    c->setFixedWidth(width);
    bindCombo(c, control, platform_);
    grid->addWidget(l, row, column);
    grid->addWidget(c, row + 1, column);
    combos_.emplace_back(c, &control);
  };
  auto addEdit = [&](const char* label, Edit& control, int row, int column) {
    auto* l = new QLabel(QString::fromUtf8(label), group);
    auto* e = new QLineEdit(group);
    e->setFixedWidth(60);
    bindEdit(e, control, platform_);
    grid->addWidget(l, row, column);
    grid->addWidget(e, row + 1, column);
    edits_.emplace_back(e, &control);
  };
  addCombo("Znak rozdzielający", model_.SeparatorCombo, 0, 0, 110);
  addCombo("X(E)", model_.PositionXCombo, 0, 1, 48);
  addCombo("Y(N)", model_.PositionYCombo, 0, 2, 48);
  addCombo("Z", model_.PositionZCombo, 0, 3, 48);
  addCombo("Symbol", model_.PositionSymbolCombo, 0, 4, 48);
  addCombo("Typ", model_.PositionTypeCombo, 0, 5, 48);
  addEdit("Symbole: Osi", model_.AxisCodeEdit, 2, 0);
  addEdit("Nawierzchni 1", model_.Pavement1CodeEdit, 2, 1);
  addEdit("Nawierzchni 2", model_.Pavement2CodeEdit, 2, 2);
  addEdit("Humusu 1", model_.Humus1CodeEdit, 2, 3);
  addEdit("Humusu 2", model_.Humus2CodeEdit, 2, 4);
  // The thickness labels are long: each takes the width of one and a half code columns.
  auto* thickness = new QWidget(group);
  auto* row = new QGridLayout(thickness);
  row->setContentsMargins(0, 0, 0, 0);
  row->setVerticalSpacing(1);
  auto addThickness = [&](const char* label, Edit& control, int column) {
    auto* l = new QLabel(QString::fromUtf8(label), thickness);
    auto* e = new QLineEdit(thickness);
    e->setFixedWidth(60);
    bindEdit(e, control, platform_);
    row->addWidget(l, 0, column);
    row->addWidget(e, 1, column);
    edits_.emplace_back(e, &control);
  };
  addThickness("Grubość nawierzchni 1", model_.Pavement1ThicknessEdit, 0);
  addThickness("Grubość nawierzchni 2", model_.Pavement2ThicknessEdit, 1);
  addThickness("Grubość humusu 1", model_.Humus1ThicknessEdit, 2);
  addThickness("Grubość humusu 2", model_.Humus2ThicknessEdit, 3);
  grid->addWidget(thickness, 4, 0, 2, 6);
  QFont small = group->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  for (QWidget* w : group->findChildren<QWidget*>()) w->setFont(small);
  return group;
}

void MainWindowView::buildMenus() {
  auto menuItem = [this](QMenu* menu, const char* caption, MenuCommand command) {
    menu->addAction(QString::fromUtf8(caption), this,
                    [this, command] { run([this, command] { model_.MenuClick(command); }); });
  };
  QMenu* file = menuBar()->addMenu("Plik");
  menuItem(file, "Projekt", MenuCommand::Project);
  menuItem(file, "Otwórz plik TXT", MenuCommand::OpenText);
  menuItem(file, "Otwórz  plik DXF", MenuCommand::OpenDxf);
  menuItem(file, "Wczytaj do Punktów", MenuCommand::ImportPoints);
  menuItem(file, "Otwórz Punkty", MenuCommand::OpenPoints);
  menuItem(file, "Podczytaj dxf", MenuCommand::LoadUnderlay);
  file->addSeparator();
  menuItem(file, "Zapisz Punkty", MenuCommand::SavePoints);
  menuItem(file, "Zapisz dane TXT", MenuCommand::SaveText);
  file->addSeparator();
  menuItem(file, "Odłącz DXF", MenuCommand::DetachUnderlay);
  menuItem(file, "Zakończ", MenuCommand::Exit);
  file->addSeparator();
  for (const auto& caption : model_.recentMenuCaptions) {
    QString shown = toQt(caption);
    shown.replace("&", "&&");  // a name's "&" is no accelerator
    file->addAction(shown, this,
                    [this, caption] { run([this, caption] { model_.MyMenuHandler(caption); }); });
  }
  QMenu* generate = menuBar()->addMenu("Generowanie");
  menuItem(generate, "Generuj DXF 3D", MenuCommand::GenerateDxf3d);
  menuItem(generate, "Generuj poprzeczki", MenuCommand::GenerateSections);
  QAction* drawing = menuBar()->addAction("Rysunek");
  connect(drawing, &QAction::triggered, this,
          [this] { run([this] { model_.MenuClick(MenuCommand::Drawing); }); });
  QMenu* other = menuBar()->addMenu("Inne");
  menuItem(other, "O programie", MenuCommand::About);
  menuItem(other, "Opis programu", MenuCommand::Description);
}

void MainWindowView::run(const std::function<void()>& handler) {
  preview_->pullEdits();
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void MainWindowView::syncFromModel() {
  for (auto& [widget, control] : buttons_) syncButton(widget, *control);
  for (auto& [widget, control] : combos_) syncCombo(widget, *control);
  for (auto& [widget, control] : edits_) syncEdit(widget, *control);
  syncLabel(previewLabel_, model_.PreviewLabel);
  syncLabel(pointCount_, model_.PointCountLabel);
  syncLabel(info2_, model_.InfoLabel2);
  syncLabel(info3_, model_.InfoLabel3);
  syncLabel(info4_, model_.InfoLabel4);
  syncLabel(logLabel_, model_.LogLabel);
  preview_->syncFromModel();
  log_->syncFromModel();
  if (status_->currentMessage() != toQt(model_.StatusBar1.text)) {
    status_->showMessage(toQt(model_.StatusBar1.text));
  }
  syncProgress(progress_, model_.ProgressBar1);
}

void MainWindowView::closeView() {
  closeApproved_ = true;
  close();
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  if (closeApproved_) {
    event->accept();
    return;
  }
  bool mayClose = false;
  run([&] { mayClose = model_.FormCloseQuery(); });
  if (mayClose) {
    closeApproved_ = true;
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindowView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    const bool minimized = isMinimized();
    if (minimized != model_.appMinimized) {
      run([&] { minimized ? model_.PROGMINI() : model_.PROGMAXI(); });
    }
  }
  QMainWindow::changeEvent(event);
}

void MainWindowView::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindowView::dropEvent(QDropEvent* event) {
  std::vector<std::string> files;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) files.push_back(fromQt(url.toLocalFile()));
  }
  event->acceptProposedAction();
  run([&] { model_.FilesDropped(files); });
}

bool MainWindowView::event(QEvent* e) {
  // The first showing counts as the first activation: without a window manager (or when the
  // desktop keeps focus elsewhere) no activation may ever arrive.
  if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) && !activated_) {
    activated_ = true;
    // The first activation shows the about box; it must not run inside the activation itself.
    QMetaObject::invokeMethod(
        this,
        [this] {
          run([this] { model_.FormActivate(); });
          if (!startFiles_.empty()) {
            const auto files = std::exchange(startFiles_, {});
            run([&] { model_.FilesDropped(files); });
          }
        },
        Qt::QueuedConnection);
  }
  return QMainWindow::event(e);
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* e) {
  // The window sees keys before its controls.
  if (e->type() == QEvent::KeyPress && QApplication::activeWindow() == this) {
    auto* key = static_cast<QKeyEvent*>(e);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    const bool alt = key->modifiers() & Qt::AltModifier;
    if (key->key() == Qt::Key_Escape) {
      run([&] { model_.FormKeyDown(WindowKey::Escape, ctrl, alt); });
      return true;
    }
    if (key->key() == Qt::Key_F1 && alt) {
      run([&] { model_.FormKeyDown(WindowKey::F1, ctrl, alt); });
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, e);
}

QPushButton* MainWindowView::button(const QString& caption) const {
  for (const auto& [widget, control] : buttons_) {
    if (widget->text() == caption) return widget;
  }
  return nullptr;
}

}  // namespace merilon::qt
