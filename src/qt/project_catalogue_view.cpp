#include "project_catalogue_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "application_setup.h"
#include "control_binding.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

namespace merilon::qt {

ProjectCatalogueView::ProjectCatalogueView(Program& program, QtPlatform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      program_(program),
      model_(program.FormProjekty),
      platform_(platform) {
  setWindowTitle(toQt(model_.Caption));
  setModal(true);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);

  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setFixedWidth(190);
  tree_->installEventFilter(this);
  layout->addWidget(tree_);

  auto* right = new QVBoxLayout;
  QFont bold = font();
  bold.setBold(true);
  descriptionLabel_ = new QLabel(this);
  description_ = new QLabel(this);
  description_->setFont(bold);
  description_->setWordWrap(true);
  pathLabel_ = new QLabel(this);
  path_ = new QLabel(this);
  path_->setFont(bold);
  path_->setWordWrap(true);
  path_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  right->addWidget(descriptionLabel_);
  right->addWidget(description_);
  right->addWidget(pathLabel_);
  right->addWidget(path_, 1);
  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton(this);
  cancel_ = new QPushButton(this);
  ok_->setAutoDefault(false);
  cancel_->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  right->addLayout(buttons);
  layout->addLayout(right, 1);

  connect(ok_, &QPushButton::clicked, this, [this] { run([this] { model_.Button1Click(); }); });
  connect(cancel_, &QPushButton::clicked, this, [this] { run([this] { model_.Button2Click(); }); });
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (syncing_) return;
    model_.TreeView1.selected = indexOf(item);
    run([this] { model_.TreeView1Click(); });
  });
  // Keys the form does not walk the tree with (PageDown, type-ahead letters) move Qt's own
  // selection; the form takes it over, so the next mirroring does not undo it.
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (syncing_ || !item) return;
    model_.TreeView1.selected = indexOf(item);
    run([this] { model_.TreeView1Click(); });
  });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    model_.TreeView1.selected = indexOf(item);
    run([this] { model_.TreeView1DblClick(); });
  });

  setFixedSize(509, 206);
  platform_.registerView(model_, *this);
  syncFromModel();
}

ProjectCatalogueView::~ProjectCatalogueView() { platform_.unregisterView(model_); }

void ProjectCatalogueView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void ProjectCatalogueView::reject() {
  run([this] { model_.Button2Click(); });
}

int ProjectCatalogueView::indexOf(QTreeWidgetItem* item) const {
  if (!item) return -1;
  if (!item->parent()) return tree_->indexOfTopLevelItem(item) == 0 ? 0 : -1;
  return item->parent()->indexOfChild(item) + 1;
}

QTreeWidgetItem* ProjectCatalogueView::itemAt(int index) const {
  QTreeWidgetItem* root = tree_->topLevelItem(0);
  if (!root || index < 0) return nullptr;
  return index == 0 ? root : root->child(index - 1);
}

bool ProjectCatalogueView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_ &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
    auto* key = static_cast<QKeyEvent*>(event);
    TreeKey k = TreeKey::Other;
    switch (key->key()) {
      case Qt::Key_Up:
        k = TreeKey::Up;
        break;
      case Qt::Key_Down:
        k = TreeKey::Down;
        break;
      case Qt::Key_Home:
        k = TreeKey::Home;
        break;
      case Qt::Key_End:
        k = TreeKey::End;
        break;
      default:
        break;
    }
    if (event->type() == QEvent::KeyPress && k != TreeKey::Other) {
      run([this, k] { model_.TreeView1KeyDown(k); });
      return true;
    }
    if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat() && isVisible()) {
      // The release of a key shows the selected project again, as the press did (not after the
      // key closed the dialog: Esc must leave the restored folder alone).
      run([this] { model_.TreeView1KeyDown(TreeKey::Other); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ProjectCatalogueView::syncFromModel() {
  syncing_ = true;
  const TreeView& t = model_.TreeView1;
  if (t.revision != shownRevision_ || tree_->topLevelItemCount() != (t.Items.empty() ? 0 : 1)) {
    shownRevision_ = t.revision;
    tree_->clear();
    if (!t.Items.empty()) {
      auto* root = new QTreeWidgetItem(tree_, QStringList(toQt(t.Items[0])));
      for (std::size_t k = 1; k < t.Items.size(); ++k) {
        new QTreeWidgetItem(root, QStringList(toQt(t.Items[k])));
      }
    }
  }
  if (t.expanded) tree_->expandAll();
  QTreeWidgetItem* selected = itemAt(t.selected);
  if (tree_->currentItem() != selected) tree_->setCurrentItem(selected);
  descriptionLabel_->setText(toQt(model_.Label1.caption));
  pathLabel_->setText(toQt(model_.Label3.caption));
  syncLabel(description_, model_.Label2);
  syncLabel(path_, model_.Label4);
  syncButton(ok_, model_.Button1);
  syncButton(cancel_, model_.Button2);
  syncing_ = false;
}

void ProjectCatalogueView::runModal() {
  syncFromModel();
  if (const QWidget* owner = parentWidget()) centreOnOwner(*this, *owner);
  exec();
}

void ProjectCatalogueView::showModeless() {
  syncFromModel();
  show();
}

void ProjectCatalogueView::closeView() {
  if (isVisible()) done(QDialog::Accepted);
}

}  // namespace merilon::qt
