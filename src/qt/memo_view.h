// A read-only view of a Memo that draws only the lines on screen, straight from the Memo: a
// preview of a million lines is shown at once and costs no copy of the text. Selection with the
// mouse (Shift extends, a double click takes a word), Ctrl+A and copying (Ctrl+C, the context
// menu) work as in a read-only editor.
#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <cstdint>
#include <memory>

class QMenu;

namespace merilon {
class Memo;
}

namespace merilon::qt {

class MemoView : public QAbstractScrollArea {
 public:
  // A place in the text: a line and a column counted in UTF-16 units of that line.
  struct Position {
    std::size_t line = 0;
    qsizetype column = 0;
    friend bool operator==(const Position&, const Position&) = default;
    friend auto operator<=>(const Position&, const Position&) = default;
  };

  explicit MemoView(const Memo& memo, QWidget* parent = nullptr);

  // Takes in a changed Memo: new scroll ranges; after lines were only appended, the end is shown.
  void syncFromModel();

  bool hasSelection() const { return anchor_ != cursor_; }
  QString selectedText() const;
  void select(Position from, Position to);
  void selectAll();
  // Puts the selected text on the clipboard.
  void copy() const;
  std::size_t firstVisibleLine() const;
  std::size_t visibleLineCount() const;
  // The viewport point at the start of a position's character (for tests and tooltips).
  QPoint pointOf(Position p) const;
  Position positionAt(const QPoint& viewportPoint) const;
  // "Kopiuj" and "Zaznacz wszystko", named by Qt's translation as in the editor's menu.
  std::unique_ptr<QMenu> createContextMenu();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QString lineText(std::size_t line) const;
  // The part of a line that is drawn and measured.
  QString shownText(std::size_t line) const;
  // Width of the part of a line up to a column, with tabs expanded as in the editor.
  qreal columnX(const QString& text, qsizetype column) const;
  qsizetype columnAt(const QString& text, qreal x) const;
  qreal lineWidth(const QString& text) const;
  // Widens the horizontal range to the widest of the lines from `from` on (by their byte
  // length, measured where it matters).
  void measureLines(std::size_t from);
  void updateScrollBars();
  void extendSelectionTo(const QPoint& viewportPoint);
  void autoScroll();
  int lineHeight() const;
  int textLeft() const;

  const Memo& memo_;
  std::uint64_t shownRevision_ = ~std::uint64_t{0};
  std::size_t shownLines_ = 0;
  std::size_t longestBytes_ = 0;
  int contentWidth_ = 0;
  Position anchor_;
  Position cursor_;
  bool selecting_ = false;
  QPoint lastMouse_;
  QTimer scrollTimer_;
};

}  // namespace merilon::qt
