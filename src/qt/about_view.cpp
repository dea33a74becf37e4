#include "about_view.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

#include "application_setup.h"
#include "control_binding.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

// The picture is a resource of the static view library; the linker keeps it only when asked.
static void initAboutResource() { Q_INIT_RESOURCE(about); }

namespace merilon::qt {

AboutView::AboutView(Program& program, QtPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      program_(program),
      model_(program.FormMERIInfo),
      platform_(platform) {
  setWindowTitle(toQt(model_.Caption));
  setModal(true);
  initAboutResource();
  picture_.load(toQt(model_.Image1));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 8);
  label1_ = new QLabel(this);
  label1_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  QFont bold = font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.1);
  label1_->setFont(bold);
  label1_->setStyleSheet("color: #ffff00; background: transparent;");
  layout->addWidget(label1_);
  layout->addSpacing(6);
  label2_ = new QLabel(this);
  label2_->setAlignment(Qt::AlignCenter);
  QFont boldItalic = bold;
  boldItalic.setItalic(true);
  label2_->setFont(boldItalic);
  label2_->setStyleSheet("color: #00ff00; background: transparent;");
  layout->addWidget(label2_);
  layout->addStretch(1);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  close_ = new QPushButton(this);
  close_->setFlat(true);
  close_->setAutoDefault(false);
  close_->setStyleSheet("color: #ffffff;");
  row->addWidget(close_);
  layout->addLayout(row);
  connect(close_, &QPushButton::clicked, this,
          [this] { run([this] { model_.SpeedButton1Click(); }); });

  // The timer runs all the time, from creation on, whether or not the box is shown.
  timer_.setInterval(model_.Timer1.interval);
  connect(&timer_, &QTimer::timeout, this, [this] { run([this] { model_.Timer1Timer(); }); });
  timer_.start();

  setFixedSize(480, 300);
  platform_.registerView(model_, *this);
  syncFromModel();
}

AboutView::~AboutView() { platform_.unregisterView(model_); }

void AboutView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void AboutView::syncFromModel() {
  // A new period starts the timer afresh.
  if (timer_.interval() != model_.Timer1.interval) timer_.start(model_.Timer1.interval);
  syncLabel(label1_, model_.Label1);
  syncLabel(label2_, model_.Label2);
  syncButton(close_, model_.SpeedButton1);
}

void AboutView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!picture_.isNull()) {
    painter.drawPixmap(rect(), picture_);
  } else {
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(11, 26, 58));
    sky.setColorAt(1, QColor(44, 90, 58));
    painter.fillRect(rect(), sky);
  }
}

void AboutView::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const char32_t key = text.isEmpty() ? U'\0' : text.toUcs4().value(0);
  run([this, key] { model_.FormKeyPress(key); });
}

bool AboutView::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && isVisible()) {
    run([this] { model_.FormActivate(); });
  }
  return QDialog::event(e);
}

void AboutView::reject() {
  // The window's close box.
  run([this] { model_.SpeedButton1Click(); });
}

void AboutView::runModal() {
  syncFromModel();
  centreOnScreen(*this);
  exec();
}

void AboutView::showModeless() {
  syncFromModel();
  show();
}

void AboutView::closeView() {
  if (isVisible()) done(QDialog::Accepted);
}

}  // namespace merilon::qt
