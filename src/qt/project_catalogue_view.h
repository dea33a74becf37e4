// The Qt view of the project catalogue (TFormProjekty): the tree, the description and path
// texts and the two buttons. Keys that move the selection go to the form, which walks the tree.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdint>
#include <functional>

#include "form_view.h"

namespace merilon {
class Program;
class TFormProjekty;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

class ProjectCatalogueView : public QDialog, public FormView {
 public:
  ProjectCatalogueView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~ProjectCatalogueView() override;

  void syncFromModel() override;
  void runModal() override;
  void showModeless() override;
  void closeView() override;

  QTreeWidget* tree() const { return tree_; }
  QLabel* descriptionText() const { return description_; }
  QLabel* pathText() const { return path_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 protected:
  // Esc and the close box are "Rezygnuj".
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void run(const std::function<void()>& handler);
  // The index of an item in the form's item list: 0 for the root, k for its k-th child.
  int indexOf(QTreeWidgetItem* item) const;
  QTreeWidgetItem* itemAt(int index) const;

  Program& program_;
  TFormProjekty& model_;
  QtPlatform& platform_;
  QTreeWidget* tree_ = nullptr;
  QLabel* descriptionLabel_ = nullptr;
  QLabel* description_ = nullptr;
  QLabel* pathLabel_ = nullptr;
  QLabel* path_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  std::uint64_t shownRevision_ = ~std::uint64_t{0};
  bool syncing_ = false;
};

}  // namespace merilon::qt
