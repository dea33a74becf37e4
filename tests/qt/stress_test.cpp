// A seeded random user on the real windows: clicks, menu choices, keys (Esc, Enter, F3, Alt+F1
// and others), typing and mouse gestures on whichever window is in front, a modal dialog or a
// popup menu included, also while a long command runs (an import of 200,000 records, the
// cross-section run). The drawing window joins once the sections are made: its tools are armed
// from the toolbar and used on the drawing, its dialogs, the section viewer and the printer
// (answered with a PDF file or a cancel) with it. Message boxes and file dialogs are answered at
// random through the platform's hooks, DXF drawings and LandXML alignments from the corpus
// among them. The program must survive, the point store must hold what the imports reported,
// and every command must be enabled again at the end.
//
// MERILON_STRESS_SEEDS=N runs seeds 1..N (3 unless set), MERILON_STRESS_SEED=S runs seed S
// alone, MERILON_STRESS_ACTIONS=A sets the actions of each seed (150 unless set). A failure
// names its seed.
//
// A new window joins by adding its view to `windows` in StressRun::SetUp (with gestures of its
// own in `StressWindow::gesture` where plain clicks do not reach its tools).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QEventLoop>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "about_view.h"
#include "cross_section_dialog_view.h"
#include "description_view.h"
#include "drawing/drawing_window.h"
#include "drawing_dialogs_view.h"
#include "drawing_window_view.h"
#include "dxf_export_dialog_view.h"
#include "main_window_view.h"
#include "point_dialogs_view.h"
#include "points/coordinate_match.h"
#include "points/numeric_helpers.h"
#include "project_catalogue_view.h"
#include "qt_platform.h"
#include "section_viewer_view.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

constexpr int kBigRecords = 200000;

int envInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// A survey of cross-sections along a straight axis (prosta.TRS, 10 km along +Y): lines 5 m
// apart, 118 points on each, so that every line is one section of the run within its limits.
void writeBigSurvey(const std::filesystem::path& folder) {
  std::ofstream out(folder / "duzy.txt", std::ios::binary);
  for (int k = 0; k < kBigRecords; ++k) {
    const int line = k / 118, across = k % 118;
    out << (across - 59) * 0.4 << ',' << 5 + line * 5 << ',' << 100 + (k % 97) * 0.01 << ",P" << k
        << "\r\n";
  }
  std::ofstream axis(folder / "prosta.TRS", std::ios::binary);
  axis << "TRASA\r\n\"Test\",\"Prosta\",x,0,2\r\n1,0,0,0,0,0,0\r\n2,10000,0,10000,0,0,0\r\n";
}

struct StressWindow {
  const char* name;  // for the tally of moves
  QWidget* window;
  std::function<void(std::mt19937&)> gesture;  // extra moves of this window; may be empty
};

// A use of the drawing: now and then a tool armed from the toolbar first, then a click or a drag
// of the left button (a frame, a move, a pick), the right button (the pop-up menu, or what ends
// a tool), a pan with the middle button, or the wheel. Clicks often land on a point, as the
// point tools want them.
void drawingGesture(DrawingWindowView& view, const PointStore& points, std::mt19937& rng) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  if (pick(100) < 40) {
    QList<QToolButton*> tools;
    for (int n = 1; n <= 40; ++n) {
      QToolButton* b = view.toolButton(n);
      if (b && b->isVisible() && b->isEnabled()) tools << b;
    }
    if (!tools.isEmpty()) tools[pick(static_cast<int>(tools.size()))]->click();
  }
  QPointer<QWidget> surface(view.surface());
  if (!surface || !surface->isVisible() || surface->width() < 2 || surface->height() < 2) return;
  auto at = [&] {
    if (points.pointCount() > 0 && pick(100) < 40) {
      const TGRAFIKA& w = view.model();
      const auto k = static_cast<std::size_t>(1 + pick(points.pointCount()));
      const ViewPoint p = w.view.worldToScreen(points.pointX[k], points.pointY[k]);
      if (std::isfinite(p.u) && std::isfinite(p.v) && std::fabs(p.u) < 1e6 &&
          std::fabs(p.v) < 1e6) {
        return QPoint(static_cast<int>(p.u) + pick(5) - 2,
                      static_cast<int>(w.view.viewHeight - p.v) + pick(5) - 2);
      }
    }
    return QPoint(pick(surface->width()), pick(surface->height()));
  };
  const int kind = pick(100);
  if (kind < 10) {
    QWheelEvent wheel(at(), surface->mapToGlobal(at()), {}, {0, pick(2) ? 120 : -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(surface, &wheel);
    return;
  }
  const Qt::MouseButton button = kind < 20   ? Qt::RightButton
                                 : kind < 30 ? Qt::MiddleButton
                                             : Qt::LeftButton;
  const Qt::KeyboardModifiers mods = pick(100) < 15 ? Qt::ShiftModifier : Qt::NoModifier;
  QPoint last = at();
  QTest::mousePress(surface, button, mods, last);
  const int moves = pick(4);
  for (int k = 0; k < moves && surface; ++k) QTest::mouseMove(surface, last = at());
  if (surface) QTest::mouseRelease(surface, button, mods, last);
}

// Qt's warnings that tell of a fault of the program rather than of the offscreen platform.
std::vector<std::string>* qtFaults = nullptr;
void recordQtFault(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtDebugMsg && qtFaults && text.contains("Recursive")) {
    std::string fault = text.toStdString();
    if (QWidget* modal = QApplication::activeModalWidget()) {
      fault += " (the window in front: \"" + modal->windowTitle().toStdString() + "\")";
    }
    qtFaults->push_back(fault);
  }
}

class Monkey : public QObject {
 public:
  Monkey(std::uint32_t seed, int actions, std::vector<StressWindow> windows, QWidget* main)
      : rng_(seed), left_(actions), windows_(std::move(windows)), main_(main) {}

  int actionsDone = 0;
  int actionsDuringCommands = 0;
  // Moves made on the drawing window, its dialogs or its pop-up menu.
  QWidget* drawingWindow = nullptr;
  int actionsOnDrawing = 0;
  // Random moves by the window in front, to see where the user went.
  std::map<std::string, int> movesByWindow;
  // The random moves are used up and the scripted ones made.
  bool windingDown() const { return left_ <= 0 && script.empty(); }
  // True while a command's loop is processing pending events (the front window is not the
  // one that started the action).
  std::function<bool()> commandRunning;
  // Moves every seed makes in this order, each as soon as its window is in front; random moves
  // fill the time until then and run inside the long commands they start.
  struct ScriptedMove {
    std::function<bool()> ready;
    std::function<void()> move;
  };
  std::deque<ScriptedMove> script;
  QEventLoop* loop = nullptr;

  void start() {
    QTimer::singleShot(0, this, [this] { tick(); });
  }

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool chance(int percent) { return pick(100) < percent; }
  std::mt19937& rng() { return rng_; }

 private:
  // One move. The next one is scheduled first, so that it also fires inside the modal loop or
  // the long command this move may start.
  void tick() {
    QTimer::singleShot(windingDown() ? 5 : 0, this, [this] { tick(); });
    if (depth_ > 0 && commandRunning && commandRunning()) ++actionsDuringCommands;
    ++depth_;
    if (!windingDown() && !script.empty() && script.front().ready()) {
      const auto move = std::move(script.front().move);
      script.pop_front();
      move();
    } else if (windingDown() || depth_ > 6) {
      windDown();
    } else {
      if (left_ > 0) --left_;
      ++actionsDone;
      act();
    }
    --depth_;
  }

  // Closes whatever is open and stops what runs; ends the run once nothing is left.
  void windDown() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
    } else if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      for (QAbstractButton* b : modal->findChildren<QAbstractButton*>()) {
        if (b->isVisible() && b->isEnabled() && b->text() == "Przerwij") b->click();
      }
      modal->reject();
    } else if (commandRunning && commandRunning()) {
      QTest::keyClick(main_, Qt::Key_Escape);
    } else if (QWidget* open = openSecondaryWindow()) {
      open->close();  // as the user leaves: the drawing window and the tool windows
    } else if (depth_ == 1 && loop) {
      loop->quit();
    }
  }

  // A window of the list by its name; a dialog or a menu by what it shows.
  std::string nameOf(QWidget* front) const {
    if (const StressWindow* w = entryOf(front)) return w->name;
    if (front->windowType() == Qt::Popup) return "(a pop-up menu or list)";
    return "dialog \"" + front->windowTitle().toStdString() + "\"";
  }

  // The list's entry of a window; null for a dialog or a menu of its own.
  const StressWindow* entryOf(QWidget* window) const {
    for (const auto& w : windows_) {
      if (w.window == window) return &w;
    }
    return nullptr;
  }

  QWidget* openSecondaryWindow() const {
    for (const auto& w : windows_) {
      if (w.window != main_ && w.window->isVisible()) return w.window;
    }
    return nullptr;
  }

  QWidget* frontWindow() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    std::vector<QWidget*> shown;
    for (const auto& w : windows_) {
      if (w.window->isVisible() && !w.window->isModal()) shown.push_back(w.window);
    }
    if (shown.empty()) {
      main_->show();  // "Zamknij program" closed it; the user starts again
      return main_;
    }
    return shown[static_cast<std::size_t>(pick(static_cast<int>(shown.size())))];
  }

  template <class T>
  T* anyOf(const QList<T*>& all) {
    QList<T*> usable;
    for (T* w : all) {
      if (w->isVisible() && w->isEnabled()) usable << w;
    }
    return usable.isEmpty() ? nullptr : usable[pick(static_cast<int>(usable.size()))];
  }

  void act() {
    QWidget* front = frontWindow();
    if (drawingWindow && (front == drawingWindow || front->parentWidget() == drawingWindow)) {
      ++actionsOnDrawing;
    }
    ++movesByWindow[nameOf(front)];
    if (auto* menu = qobject_cast<QMenu*>(front)) {
      if (chance(30)) {
        menu->close();
      } else if (QAction* a = anyAction(menu->actions())) {
        menu->close();
        a->trigger();
      }
      return;
    }
    // A window with moves of its own (the drawing) gets them often: that is what it is used for.
    const StressWindow* entry = entryOf(front);
    if (entry && entry->gesture && chance(40)) return entry->gesture(rng_);
    const int kind = pick(100);
    if (kind < 35) {
      if (QAbstractButton* b = anyOf(front->findChildren<QAbstractButton*>())) b->click();
    } else if (auto* window = qobject_cast<QMainWindow*>(front); kind < 50 && window) {
      QList<QAction*> items;
      for (QAction* top : window->menuBar()->actions()) {
        if (top->menu()) items << top->menu()->actions();
      }
      if (QAction* a = anyAction(items)) a->trigger();
    } else if (kind < 75) {
      pressKey(front);
    } else if (kind < 85) {
      if (QLineEdit* e = anyOf(front->findChildren<QLineEdit*>())) {
        static const char* const kTexts[] = {"",    "0",   "1", "2", "3", "4",   "5",  "-3",
                                             "0.5", "abc", ",", ";", " ", "999", "1e9"};
        e->selectAll();
        QTest::keyClicks(e, kTexts[pick(15)]);
      }
    } else {
      gesture(front);
    }
  }

  QAction* anyAction(const QList<QAction*>& all) {
    QList<QAction*> usable;
    for (QAction* a : all) {
      if (!a->isSeparator() && a->isEnabled() && !a->menu()) usable << a;
    }
    return usable.isEmpty() ? nullptr : usable[pick(static_cast<int>(usable.size()))];
  }

  void pressKey(QWidget* front) {
    static const std::pair<Qt::Key, Qt::KeyboardModifiers> kKeys[] = {
        {Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Enter, Qt::NoModifier},  {Qt::Key_F3, Qt::NoModifier},
        {Qt::Key_F1, Qt::AltModifier},    {Qt::Key_F1, Qt::AltModifier | Qt::ControlModifier},
        {Qt::Key_Tab, Qt::NoModifier},    {Qt::Key_Down, Qt::NoModifier},
        {Qt::Key_Up, Qt::NoModifier},     {Qt::Key_PageDown, Qt::NoModifier},
        {Qt::Key_Home, Qt::NoModifier},   {Qt::Key_Space, Qt::NoModifier},
        {Qt::Key_2, Qt::NoModifier},      {Qt::Key_A, Qt::NoModifier},
    };
    const auto& [key, mods] = kKeys[pick(14)];
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != front->window()) target = front;
    QTest::keyClick(target, key, mods);
  }

  // A press, a drag of a few steps and a release (or a double click, or the wheel) somewhere in
  // a widget of the window.
  void gesture(QWidget* front) {
    const StressWindow* entry = entryOf(front);
    if (entry && entry->gesture && chance(50)) return entry->gesture(rng_);
    QList<QWidget*> all = front->findChildren<QWidget*>();
    all << front;
    QWidget* w = anyOf(all);
    if (!w || w->width() < 2 || w->height() < 2) return;
    auto at = [&] { return QPoint(pick(w->width()), pick(w->height())); };
    const Qt::MouseButton button = chance(80) ? Qt::LeftButton : Qt::RightButton;
    QPointer<QWidget> guard(w);
    if (chance(20)) {
      QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, at());
      return;
    }
    if (chance(15)) {
      QWheelEvent wheel(at(), w->mapToGlobal(at()), {}, {0, chance(50) ? 120 : -120}, Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(w, &wheel);
      return;
    }
    QTest::mousePress(w, button, Qt::NoModifier, at());
    for (int k = 0; k < 3 && guard; ++k) QTest::mouseMove(w, at());
    if (guard) QTest::mouseRelease(w, button, Qt::NoModifier, at());
  }

  std::mt19937 rng_;
  int left_;
  int depth_ = 0;
  std::vector<StressWindow> windows_;
  QWidget* main_;
};

// The first point from index `from` on that the import's duplicate test should have refused, or
// 0: the first earlier point at its X and Y (within 0.01) has its height too (within 0.01). The
// point tools may place a point over another on purpose; the test starts after the points that
// were there before the import.
int firstRefusablePoint(const PointStore& points, int from) {
  auto cell = [&](int i, int dx, int dy) {
    const auto k = static_cast<std::size_t>(i);
    return std::pair(std::llround(points.pointX[k] * 100) + dx,
                     std::llround(points.pointY[k] * 100) + dy);
  };
  std::map<std::pair<long long, long long>, std::vector<int>> byCell;
  for (int i = 1; i <= points.pointCount(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (i >= from) {
      int first = 0;  // the earliest point within 0.01 lies in this cell or a neighbour
      for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
          const auto found = byCell.find(cell(i, dx, dy));
          if (found == byCell.end()) continue;
          for (int j : found->second) {
            const auto m = static_cast<std::size_t>(j);
            if ((first == 0 || j < first) &&
                sameXY(points.pointX[m], points.pointY[m], points.pointX[k], points.pointY[k])) {
              first = j;
              break;
            }
          }
        }
      }
      if (first && sameHeight(points.pointZ[static_cast<std::size_t>(first)], points.pointZ[k])) {
        return i;
      }
    }
    byCell[cell(i, 0, 0)].push_back(i);
  }
  return 0;
}

struct StressRun {
  explicit StressRun(std::uint32_t seed, const std::filesystem::path& bigSurvey)
      : seed_(seed), rng_(seed ^ 0x9e3779b9u), bigSurvey_(bigSurvey) {}

  std::uint32_t seed_;
  std::mt19937 rng_;
  std::filesystem::path bigSurvey_;
  testing::TempFolder folder;
  QtPlatform platform;
  std::unique_ptr<Program> program;
  // The imports' own account: the store's size when the import began and what it added.
  int importBase = 0;
  bool forceBig = false;        // the next open dialog picks the large survey
  bool forceAlignment = false;  // the next open dialog picks the alignment
  int sectionRuns = 0;          // cross-section runs that came as far as saving
  std::vector<std::string> failures;

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  DialogResult answer(const MessageRequest& r, bool windingDown) {
    PointStore& points = program->points;
    if (r.title == "Operacja dodawania punktów") {
      // "Liczba dopisanych punktów: N Zapisać punkty?"
      const std::string prefix = "Liczba dopisanych punktów: ";
      const int added = std::atoi(r.text.substr(prefix.size()).c_str());
      if (points.pointCount() != importBase + added) {
        failures.push_back("the import reported " + std::to_string(added) + " points added to " +
                           std::to_string(importBase) + ", the store holds " +
                           std::to_string(points.pointCount()));
      } else if (const int twice = firstRefusablePoint(points, importBase + 1)) {
        failures.push_back("the import added point " + std::to_string(twice) +
                           ", which repeats an earlier one");
      }
      importBase = 0;
    }
    if (r.title == "Błąd" && r.text.find("struktura, separator") != std::string::npos) {
      importBase = 0;  // the import refused the record structure
    }
    if (r.buttons == MessageButtons::Ok) return DialogResult::Ok;
    DialogResult a;
    if (windingDown) {
      a = r.title == "Zatrzymano proces wczytywania danych" ? DialogResult::Yes : DialogResult::No;
    } else if (r.title.rfind("Wybieranie", 0) == 0) {
      // A point tool's "is this the point?": mostly Yes, so that a generation gets as far as
      // its dialog.
      a = pick(5) ? DialogResult::Yes : DialogResult::No;
    } else if (r.buttons == MessageButtons::YesNo) {
      a = pick(2) ? DialogResult::Yes : DialogResult::No;
    } else {
      const DialogResult three[] = {DialogResult::Yes, DialogResult::No, DialogResult::Cancel};
      a = three[pick(3)];
    }
    if (r.title == "Wpisywanie punktów") {
      // Cancel ends the import there; No starts the store afresh.
      importBase = a == DialogResult::Yes ? points.pointCount() : 0;
    }
    // The import ends without its summary.
    if ((r.title == "Zatrzymano proces wczytywania danych" || r.title == "Brak danych w linii") &&
        a == DialogResult::Yes) {
      importBase = 0;
    }
    return a;
  }

  // Files written by other programs; without the corpus beside the sources, the example of the
  // same kind stands in.
  static constexpr const char* kCorpusDrawings[] = {"dxf/ezdxf/ASCII_R12.dxf",
                                                    "dxf/binary/bin_dxf_r12.BINARY.dxf",
                                                    "dxf/libredwg/example_r12.dxf",
                                                    "dxf/gdal/3d.dxf",
                                                    "dxf/ezdxf/uncommon.dxf",
                                                    "dxf/dxf-parser/polylines.dxf",
                                                    "dxf/ezdxf/R12_with_trash_beyond_EOF.dxf"};
  static constexpr const char* kCorpusAlignments[] = {
      "alignments/landxml/Alignment-Aplitop-2.XML",
      "alignments/landxml/PR_Twin_Branch_section_alignment.xml",
      "alignments/landxml/TOI-M14334-0000A.XML", "alignments/landxml/UT-Alignment-Aplitop-1.xml"};

  template <std::size_t N>
  std::filesystem::path fromCorpus(const char* const (&files)[N], const char* example) {
    const auto corpus = std::filesystem::path(MERILON_SOURCE_DIR) / ".." / "shared" / "corpus";
    const auto file = corpus / files[pick(static_cast<int>(N))];
    if (std::filesystem::exists(file)) return file;
    return std::filesystem::path(MERILON_SOURCE_DIR) / "examples" / example;
  }

  std::optional<std::filesystem::path> chooseFile(const FileDialogRequest& r, bool save) {
    if (r.title == "Zapis Przekrojów poprzecznych") ++sectionRuns;
    if (forceBig && !save) {
      forceBig = false;
      return bigSurvey_;
    }
    if (forceAlignment && !save) {
      forceAlignment = false;
      return bigSurvey_.parent_path() / "prosta.TRS";
    }
    const int p = pick(100);
    if (p < 15) return std::nullopt;
    const std::string filter = r.filter;
    auto offers = [&](const char* pattern) { return filter.find(pattern) != std::string::npos; };
    if (save) {
      if (p < 22) return folder / "brak" / "zapis.txt";  // a folder that does not exist
      const std::string name = "zapis" + std::to_string(pick(3));
      // Now and then a file of one kind over a file of another, as a hurried user saves it.
      if (p < 75 && offers("*.dxf")) return folder / (name + ".dxf");
      if (p < 75 && offers("*.TER")) return folder / (name + ".TER");
      return folder / (name + (pick(2) ? ".meri" : ".txt"));
    }
    if (offers("*.meri")) {
      if (p < 60) return folder / ("zapis" + std::to_string(pick(3)) + ".meri");
      return std::filesystem::path(MERILON_TEST_DATA) / "golden" / "points.meri";
    }
    if (offers("*.dxf")) {
      if (p < 25) return std::filesystem::path(MERILON_SOURCE_DIR) / "examples" / "droga_mapa.dxf";
      if (p < 35) return folder / ("zapis" + std::to_string(pick(3)) + ".dxf");  // written here
      if (p < 40) return folder / "brak.dxf";
      return fromCorpus(kCorpusDrawings, "droga_mapa.dxf");
    }
    if (offers("*.TRS")) {
      if (p < 25) return folder / "brak.TRS";
      if (p < 50) return bigSurvey_.parent_path() / "prosta.TRS";
      if (p < 65) return fromCorpus(kCorpusAlignments, "droga_trasa.TRS");
      return std::filesystem::path(MERILON_TEST_DATA) / "alignment" / "prosta_luk.TRS";
    }
    if (p < 55) return bigSurvey_;
    if (p < 80) return std::filesystem::path(MERILON_SOURCE_DIR) / "examples" / "pomiar.txt";
    return folder / "brak.txt";
  }
};

class StressTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    bigSurvey_ = new testing::TempFolder;
    writeBigSurvey(bigSurvey_->path());
  }
  static void TearDownTestSuite() {
    delete bigSurvey_;
    bigSurvey_ = nullptr;
  }
  static testing::TempFolder* bigSurvey_;

  void runSeed(std::uint32_t seed, int actions);
};

testing::TempFolder* StressTest::bigSurvey_ = nullptr;
// Every seed's moves by window, printed after the last seed.
std::map<std::string, int> movesByWindowOfAllSeeds;

void StressTest::runSeed(std::uint32_t seed, int actions) {
  SCOPED_TRACE("stress seed " + std::to_string(seed) +
               " (rerun with MERILON_STRESS_SEED=" + std::to_string(seed) + ")");
  // The clipboard outlives the program; each seed starts with an empty one, as it does alone.
  QApplication::clipboard()->clear();
  StressRun run(seed, *bigSurvey_ / "duzy.txt");
  Monkey* monkeyPtr = nullptr;
  run.platform.messageHook = [&](const MessageRequest& r) {
    return run.answer(r, monkeyPtr && monkeyPtr->windingDown());
  };
  run.platform.fileDialogHook = [&](const FileDialogRequest& r, bool save) {
    return run.chooseFile(r, save);
  };
  ProgramOptions options;
  options.programFolder = run.folder.path();
  options.userSettingsFolder = run.folder.path() / "user";
  run.program = std::make_unique<Program>(run.platform, options);
  ASSERT_TRUE(run.program->start());
  Program& program = *run.program;
  TFORM_Main& model = program.main;

  // The windows in the program's order of creation, as the desktop program makes them.
  MainWindowView mainView(program, run.platform);
  ProjectCatalogueView catalogueView(program, run.platform, &mainView);
  DescriptionView descriptionView(program, run.platform);
  CrossSectionDialogView crossSectionView(program, run.platform, &mainView);
  AboutView aboutView(program, run.platform, &mainView);
  DrawingWindowView drawingView(program, run.platform);
  DrawingParamsView drawingParamsView(program, run.platform, &drawingView);
  PointDataView pointDataView(program, run.platform, &drawingView);
  RotationDialogView rotationView(program, run.platform, &drawingView);
  PointSearchView pointSearchView(program, run.platform, &drawingView);
  DxfExportDialogView dxfExportView(program, run.platform, &mainView);
  PointGenerationView pointGenerationView(program, run.platform, &drawingView);
  SectionViewerView sectionViewerView(program, run.platform);
  mainView.show();
  // The print dialog is answered as a user would: a PDF file, or a cancel.
  int printsSent = 0;
  run.platform.qtPrinter().printDialogHook = [&](QPrinter& printer) {
    if (run.pick(3) == 0) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((run.folder / "wydruk.pdf").string()));
    ++printsSent;
    return true;
  };
  run.platform.qtPrinter().setupDialogHook = [&](QPrinter& printer) {
    printer.setPageOrientation(run.pick(2) ? QPageLayout::Landscape : QPageLayout::Portrait);
  };

  std::vector<StressWindow> windows = {
      {"main window", &mainView, {}},
      {"description viewer", &descriptionView, {}},
      {"drawing window", &drawingView,
       [&](std::mt19937& rng) { drawingGesture(drawingView, program.points, rng); }},
      {"point window", &pointDataView, {}},
      {"drawing parameters", &drawingParamsView, {}},
      {"rotation", &rotationView, {}},
      {"point search", &pointSearchView, {}},
      {"point generation", &pointGenerationView, {}},
      {"section viewer", &sectionViewerView, {}},
      {"DXF export", &dxfExportView, {}}};
  Monkey monkey(seed, actions, windows, &mainView);
  monkeyPtr = &monkey;
  monkey.drawingWindow = &drawingView;
  monkey.commandRunning = [&] { return model.commandRunning(); };
  // Every seed imports the large survey and runs the cross-sections over it, under the random
  // user; the opening dialog of the program is answered first.
  auto front = [] { return QApplication::activeModalWidget(); };
  auto idle = [&] { return !front() && model.Button10.enabled; };
  auto inDialog = [&] { return front() == &crossSectionView; };
  monkey.script = {
      {idle,
       [&] {
         run.forceBig = true;
         mainView.button("Otwórz plik tekstowy")->click();
       }},
      {idle, [&] { mainView.button("Wczytaj do Punktów")->click(); }},
      {idle, [&] { mainView.button("Generuj poprzeczki")->click(); }},
      {inDialog,
       [&] {
         run.forceAlignment = true;
         crossSectionView.chooseAlignmentButton()->click();
       }},
      {[&] { return inDialog() && crossSectionView.generateButton()->isEnabled(); },
       [&] { crossSectionView.generateButton()->click(); }},
      // Then the drawing of what is there, where the random user goes on.
      {[&] { return idle() && model.Button19.enabled; },
       [&] { mainView.button("Rysuj")->click(); }},
  };
  QEventLoop loop;
  monkey.loop = &loop;
  qtFaults = &run.failures;
  const QtMessageHandler previousHandler = qInstallMessageHandler(recordQtFault);
  QTimer watchdog;
  bool timedOut = false;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    timedOut = true;
    loop.quit();
  });
  watchdog.start(600000);
  monkey.start();
  loop.exec();
  qInstallMessageHandler(previousHandler);
  qtFaults = nullptr;
  ASSERT_FALSE(timedOut) << "the run did not end";

  for (const auto& f : run.failures) ADD_FAILURE() << f;
  for (Button* b : model.commandSet()) {
    EXPECT_TRUE(b->enabled) << b->caption << " stays disabled";
    if (QPushButton* w = mainView.button(QString::fromStdString(b->caption))) {
      EXPECT_TRUE(w->isEnabled()) << b->caption << " stays disabled on screen";
    }
  }
  EXPECT_TRUE(program.FormPoprzeczka.Button5.enabled);
  // The drawing window closed leaves no tool half-way and no print armed.
  const TGRAFIKA& drawing = drawingView.model();
  EXPECT_FALSE(drawing.visible);
  EXPECT_FALSE(drawing.toolBusy);
  EXPECT_FALSE(drawing.printAtScaleArmed());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor stays";
  const PointStore& points = program.points;
  EXPECT_EQ(model.PointCountLabel.caption,
            points.pointCount() > 0
                ? "Liczba punktów w do analizy: " + std::to_string(points.pointCount())
                : std::string("..."));
  EXPECT_EQ(mainView.pointCountLabel()->text().toStdString(), model.PointCountLabel.caption);
  for (const auto& [title, n] : monkey.movesByWindow) movesByWindowOfAllSeeds[title] += n;
  std::printf(
      "stress seed %u: %d actions, %d of them while a command ran, %d on the drawing window, %d "
      "cross-section runs, %d prints, %d points\n",
      seed, monkey.actionsDone, monkey.actionsDuringCommands, monkey.actionsOnDrawing,
      run.sectionRuns, printsSent, points.pointCount());
}

TEST_F(StressTest, RandomUserOnTheRealWindows) {
  QApplication::setQuitOnLastWindowClosed(false);
  const int actions = envInt("MERILON_STRESS_ACTIONS", 150);
  const int one = envInt("MERILON_STRESS_SEED", 0);
  const int first = one > 0 ? one : 1, last = one > 0 ? one : envInt("MERILON_STRESS_SEEDS", 3);
  for (int s = first; s <= last && !HasFatalFailure(); ++s) {
    runSeed(static_cast<std::uint32_t>(s), actions);
  }
  std::printf("moves by the window in front:\n");
  for (const auto& [title, n] : movesByWindowOfAllSeeds) std::printf("%6d  %s\n", n, title.c_str());
}

}  // namespace
}  // namespace merilon::qt
