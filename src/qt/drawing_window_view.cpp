#include "drawing_window_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QWheelEvent>
#include <map>

#include "drawing/drawing_window.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

// The icons live in the views' static library; its resources are registered explicitly.
static void initDrawingResources() { Q_INIT_RESOURCE(drawing); }

namespace merilon::qt {
namespace {

MouseButton toButton(Qt::MouseButton b) {
  if (b == Qt::RightButton) return MouseButton::Right;
  if (b == Qt::MiddleButton) return MouseButton::Middle;
  return MouseButton::Left;
}

Qt::CursorShape toCursor(CursorShape c) {
  switch (c) {
    case CursorShape::PointingHand:
      return Qt::PointingHandCursor;
    case CursorShape::SizeAll:
      return Qt::SizeAllCursor;
    case CursorShape::Help:
      return Qt::WhatsThisCursor;
    case CursorShape::Cross:
      return Qt::CrossCursor;
    case CursorShape::Wait:
      return Qt::WaitCursor;
    case CursorShape::Default:
      break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

DrawingSurface::DrawingSurface(DrawingWindowView& view)
    : QWidget(&view), view_(view), canvas_(640, 400, view.devicePixelRatioF()) {
  setObjectName("EKRAN");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  canvas_.onPresent = [this] { update(); };
}

void DrawingSurface::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, canvas_.image());
}

void DrawingSurface::resizeEvent(QResizeEvent*) {
  canvas_.resize(width(), height(), devicePixelRatioF());
  view_.run([this] {
    int w = view_.width(), h = view_.height();
    view_.model().FormResize(w, h);
  });
}

void DrawingSurface::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const MouseButton b = toButton(e->button());
  const bool popup = view_.model().popupWanted(b);
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  view_.run([&] { view_.model().EKRANMouseDown(b, shift, p.x(), p.y()); });
  if (popup) view_.popupMenu()->popup(e->globalPosition().toPoint());
}

void DrawingSurface::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  view_.run([&] { view_.model().EKRANMouseMove(shift, p.x(), p.y()); });
}

void DrawingSurface::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  view_.run([&] { view_.model().EKRANMouseUp(toButton(e->button()), shift, p.x(), p.y()); });
}

void DrawingSurface::wheelEvent(QWheelEvent* e) {
  // One step per notch (120 units); touchpads send smaller parts that add up.
  wheelRemainder_ += e->angleDelta().y();
  const int steps = wheelRemainder_ / 120;
  wheelRemainder_ -= steps * 120;
  const QPoint p = e->position().toPoint();
  if (steps != 0) view_.run([&] { view_.model().EKRANMouseWheel(steps, p.x(), p.y()); });
}

DrawingWindowView::DrawingWindowView(Program& program, QtPlatform& platform, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      program_(program),
      model_(program.GRAFIKA),
      platform_(platform) {
  initDrawingResources();
  setObjectName("GRAFIKA");
  setMinimumSize(640, 400);
  resize(1000, 700);
  surface_ = new DrawingSurface(*this);
  setCentralWidget(surface_);
  model_.setSurface(&surface_->canvas());
  buildToolbar();
  buildMenus();
  status_ = new QLabel(this);
  statusBar()->addWidget(status_, 1);
  platform_.registerView(model_, *this);
  syncFromModel();
}

DrawingWindowView::~DrawingWindowView() {
  platform_.unregisterView(model_);
  model_.setSurface(nullptr);
}

void DrawingWindowView::buildToolbar() {
  auto* bar = new QToolBar(this);
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setIconSize(QSize(24, 24));
  addToolBar(Qt::TopToolBarArea, bar);
  for (int n = 1; n <= 40; ++n) {
    auto* b = new QToolButton(bar);
    b->setObjectName(QString("ToolButton%1").arg(n));
    b->setIcon(QIcon(QString(":/drawing/tool%1.svg").arg(n)));
    b->setCheckable(true);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this,
            [this, n] { run([this, n] { model_.ToolButtonClick(n); }); });
    tools_[static_cast<std::size_t>(n)] = b;
    // The toolbar keeps its own action per widget; visibility goes through it.
    bar->addWidget(b)->setObjectName(QString("ToolButton%1Action").arg(n));
    if (n == 9 || n == 18 || n == 26 || n == 30) bar->addSeparator();
  }
}

void DrawingWindowView::buildMenus() {
  std::map<std::string, QMenu*> menus;
  for (const MenuItem& item : model_.mainMenu) {
    QMenu*& menu = menus[item.menu];
    if (!menu) menu = menuBar()->addMenu(toQt(item.menu));
    if (item.caption == "-") {
      menu->addSeparator();
      continue;
    }
    QAction* a = menu->addAction(toQt(item.caption));
    a->setCheckable(item.checkable);
    if (!item.shortcut.empty()) a->setShortcut(QKeySequence(toQt(item.shortcut)));
    const DrawingCommand command = item.command;
    const int layer = item.layer;
    connect(a, &QAction::triggered, this, [this, command, layer] {
      run([this, command, layer] { model_.run(command, layer); });
    });
    actions_.emplace_back(a, &item);
  }
  popup_ = new QMenu(this);
  for (const MenuItem& item : model_.popupMenu) {
    if (item.caption == "-") {
      popup_->addSeparator();
      continue;
    }
    QAction* a = popup_->addAction(toQt(item.caption));
    const DrawingCommand command = item.command;
    const int layer = item.layer;
    connect(a, &QAction::triggered, this, [this, command, layer] {
      run([this, command, layer] { model_.run(command, layer); });
    });
  }
}

void DrawingWindowView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

QString DrawingWindowView::statusText() const { return status_->text(); }

void DrawingWindowView::syncFromModel() {
  const QString caption = toQt(model_.Caption);
  if (windowTitle() != caption) setWindowTitle(caption);
  for (int n = 1; n <= 40; ++n) {
    QToolButton* b = tools_[static_cast<std::size_t>(n)];
    const ToolButton& c = model_.ToolButtonN(n);
    const QString hint = toQt(c.hint);
    if (b->toolTip() != hint) b->setToolTip(hint);
    if (b->isChecked() != c.down) b->setChecked(c.down);
    const bool available = model_.commandAvailable(TGRAFIKA::toolCommand(n));
    if (b->isEnabled() != available) b->setEnabled(available);
    // Hiding a widget on a toolbar goes through its action.
    for (QAction* a : b->parentWidget()->actions()) {
      if (a->objectName() == b->objectName() + "Action" && a->isVisible() != c.visible) {
        a->setVisible(c.visible);
      }
    }
  }
  for (auto& [action, item] : actions_) {
    if (action->isChecked() != item->checked) action->setChecked(item->checked);
    const bool available = model_.commandAvailable(item->command);
    if (action->isEnabled() != available) action->setEnabled(available);
  }
  const QString status = toQt(model_.StatusBar1.text);
  if (status_->text() != status) status_->setText(status);
  const Qt::CursorShape cursor = toCursor(model_.surfaceCursor);
  if (surface_->cursor().shape() != cursor) surface_->setCursor(cursor);
  if (model_.maximizeRequested && isVisible()) {
    model_.maximizeRequested = false;
    showMaximized();
  }
}

void DrawingWindowView::showModeless() {
  show();
  raise();
  activateWindow();
}

void DrawingWindowView::closeView() {
  if (isVisible()) close();
}

void DrawingWindowView::closeEvent(QCloseEvent* event) {
  run([this] {
    if (model_.setupDone || model_.visible) model_.FormClose();
  });
  event->accept();
}

bool DrawingWindowView::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && !model_.setupDone && isVisible()) {
    const bool result = QMainWindow::event(e);
    run([this] { model_.FormActivate(); });
    return result;
  }
  return QMainWindow::event(e);
}

void DrawingWindowView::keyPressEvent(QKeyEvent* e) {
  DrawingKey key = DrawingKey::Other;
  if (e->key() == Qt::Key_F1) key = DrawingKey::F1;
  if (e->key() == Qt::Key_F3) key = DrawingKey::F3;
  if (e->key() == Qt::Key_Escape) key = DrawingKey::Escape;
  if (key == DrawingKey::Other) return QMainWindow::keyPressEvent(e);
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const bool alt = e->modifiers() & Qt::AltModifier;
  run([&] { model_.FormKeyDown(key, ctrl, alt); });
}

void DrawingWindowView::keepFrame() {
  const QRect g = frameGeometry();
  model_.windowLeft = g.left();
  model_.windowTop = g.top();
  model_.windowWidth = g.width();
  model_.windowHeight = g.height();
}

void DrawingWindowView::moveEvent(QMoveEvent* e) {
  keepFrame();
  QMainWindow::moveEvent(e);
}

void DrawingWindowView::resizeEvent(QResizeEvent* e) {
  keepFrame();
  QMainWindow::resizeEvent(e);
}

}  // namespace merilon::qt
