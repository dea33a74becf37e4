// Flows of the point tools driven through the drawing window on the scripted platform: picking,
// editing and inserting, generating, searching, measuring, projecting, undo and redo.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "drawing_fixture.h"
#include "points/point_history.h"

namespace merilon {
namespace {

using testing::CanvasOp;
using testing::DrawingProgram;
constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;
constexpr auto Yes = DialogResult::Yes;
constexpr auto No = DialogResult::No;

// Points on a drawing of one pixel per metre with the world origin at the lower-left corner.
struct PointTools : DrawingProgram {
  PointTools() {
    addPoint(100, 300, 10, "A1");     // 1
    addPoint(300, 300, 11, "B");      // 2
    addPoint(330, 300, 12, "A2");     // 3
    addPoint(100, 100, 10, "K1", 2);  // 4
    addPoint(110, 100, 20, "K2", 3);  // 5
    addPoint(100, 140, 30, "K3");     // 6
    open();
    main().FormActivate();
    ViewTransform& v = w().view;
    v.originX = v.originY = 0;
    v.scaleX = v.scaleY = 1;
    w().redraw();
    platform.messages.clear();
  }
  TGRAFIKA& w() { return window(); }
  Program& p() { return *program; }
  // The surface pixel of a world position.
  int px(double x) const { return static_cast<int>(x); }
  int py(double y) const { return 600 - static_cast<int>(y); }
  void click(double x, double y, std::deque<DialogResult> answers = {}) {
    platform.answers = std::move(answers);
    w().EKRANMouseDown(L, false, px(x), py(y));
    w().EKRANMouseUp(L, false, px(x), py(y));
    EXPECT_TRUE(platform.answers.empty()) << "questions left unasked";
  }
  std::string lastText() const {
    return platform.messages.empty() ? "" : platform.messages.back().title + ": " +
                                                platform.messages.back().text;
  }
  PointRecord point(int i) const { return PointRecord::of(program->points, i); }
  // A straight alignment along +X through Y = 100, chainage = X.
  void straightAlignment() {
    ASSERT_TRUE(p().alignment.setRecords(
        platform, {{0, 0, 100, std::numbers::pi / 2, 0, 0}, {1000, 1000, 100, std::numbers::pi / 2, 0, 0}}));
  }
  // Generation between two points with the dialog filled by `fill`.
  void generate(int first, int second, const std::function<void(TFormGenerpkt&)>& fill,
                std::deque<DialogResult> extra = {}) {
    platform.onModal = [&](Form& f) {
      if (&f == &p().FormGenerpkt) fill(p().FormGenerpkt);
    };
    w().ToolButton36Click();
    const PointRecord a = point(first), b = point(second);
    click(a.x, a.y, {Yes});
    ASSERT_EQ(w().toolMode, 3636);
    std::deque<DialogResult> answers{Yes};
    answers.insert(answers.end(), extra.begin(), extra.end());
    click(b.x, b.y, answers);
    platform.onModal = nullptr;
  }
};

TEST(PointToolsTest, NearestPointWithinTwentyPixelsLowestIndexOnATie) {
  PointTools t;
  const struct {
    double x, y;
    int index;
  } cases[] = {
      {119, 300, 1},        // 19 pixels away
      {100, 319, 1},
      {121, 300, kNoPoint},  // 21 pixels away
      {100, 280, kNoPoint},  // exactly 20: not below the radius
      {315, 300, 2},        // 15 from points 2 and 3: the lower index
      {316, 300, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(t.p().pointTools.nearestToPixel(t.px(c.x), t.py(c.y)).index, c.index)
        << c.x << "," << c.y;
  }
  // The radius is 20 pixels whatever the scale: at 2 pixels per metre 10.5 m is too far.
  t.w().view.scaleX = t.w().view.scaleY = 2;
  const ViewPoint s = t.w().view.worldToScreen(110.5, 300);
  EXPECT_EQ(t.p().pointTools.nearestToPixel(static_cast<int>(s.u), 600 - static_cast<int>(s.v)).index,
            kNoPoint);
}

TEST(PointToolsTest, EditFlowAsksAndHighlightsWithoutRedrawing) {
  PointTools t;
  t.w().ToolButton23Click();
  // No point near: the status says so and nothing opens.
  t.click(500, 500, {Yes});
  EXPECT_EQ(t.w().StatusBar1.text, " ");  // the release clears it, as after every tool click
  EXPECT_FALSE(t.p().FormZmienpkt.visible);
  // Point 1 declined: the highlight goes as it came, with nothing else drawn.
  t.w().ToolButton23Click();
  const std::size_t before = t.canvas.ops.size();
  const int presents = t.canvas.presents;
  t.click(110, 300, {Yes, No});
  EXPECT_EQ(t.lastText(),
            "Zmiana parametrów punktu: Czy chcesz poddać edycji punkt numer 1 o symbolu:\"A1\"?");
  const std::vector<CanvasOp> drawn(t.canvas.ops.begin() + static_cast<std::ptrdiff_t>(before),
                                    t.canvas.ops.end());
  ASSERT_EQ(drawn.size(), 18u);  // two octagons of 8 sides and two markers
  for (std::size_t k = 0; k < drawn.size(); ++k) {
    const bool marker = k == 8 || k == 17;
    EXPECT_EQ(drawn[k].kind, marker ? CanvasOp::Rectangle : CanvasOp::Line) << k;
    if (!marker) {
      EXPECT_EQ(drawn[k].mode, PenMode::NotXor);
      EXPECT_EQ(drawn[k].penWidth, 2);
    }
  }
  EXPECT_EQ(drawn[8].pen, t.w().target.colours[7]);
  EXPECT_EQ(drawn[17].pen, t.w().target.colours[12]);
  EXPECT_EQ(drawn[3].x1, drawn[12].x1);  // the same octagon drawn twice
  EXPECT_EQ(t.canvas.presents, presents + 2);
  EXPECT_FALSE(t.p().FormZmienpkt.visible);
}

TEST(PointToolsTest, EditMovesOfMoreThanHalfACentimetreAsk) {
  const struct {
    const char* x;
    bool asks;
    DialogResult answer;
    double stored;
  } cases[] = {
      {"100.004", false, Yes, 100.004},
      {"100.005", false, Yes, 100.005},
      {"100.006", true, Yes, 100.006},
      {"100.006", true, No, 100},
      {"99.994", true, Yes, 99.994},
  };
  for (const auto& c : cases) {
    PointTools t;
    t.w().ToolButton23Click();
    t.click(100, 300, {Yes, Yes});
    TFormZmienpkt& d = t.p().FormZmienpkt;
    ASSERT_TRUE(d.visible);
    EXPECT_EQ(d.Button1.caption, "Zmień");
    EXPECT_EQ(d.Label4.caption, "Punkt numer: 1");
    EXPECT_EQ(d.Edit1.text, "100.00");
    EXPECT_EQ(d.Edit4.text, "A1");
    EXPECT_FALSE(d.Edit6.visible);  // no alignment: no chainage
    d.Edit1.text = c.x;
    d.Edit3.text = "12.5";
    t.platform.messages.clear();
    if (c.asks) t.platform.answers = {c.answer};
    d.Button1Click();
    EXPECT_EQ(t.platform.messages.size(), c.asks ? 1u : 0u) << c.x;
    if (c.asks) {
      EXPECT_EQ(t.platform.messages[0].title, "Zmiana współrzędnych punktu");
      EXPECT_EQ(t.platform.messages[0].text,
                std::string("Współrzędne stare: 100.00, 300.00 nowe: ") +
                    (c.stored < 100 ? "99.99" : "100.01") + ", 300.00, Czy zmienić?");
    }
    EXPECT_EQ(t.point(1).x, c.stored) << c.x;
    EXPECT_EQ(t.point(1).z, c.answer == Yes ? 12.5 : 10);
    EXPECT_EQ(t.main().pointsSaved, c.answer == No);
    EXPECT_FALSE(d.visible);
    EXPECT_EQ(t.w().toolMode, 0);
  }
}

TEST(PointToolsTest, InsertTakesItsCoordinatesFromAClickInTheDrawing) {
  PointTools t;
  t.w().ToolButton23Click();
  t.click(400, 200, {No});
  TFormZmienpkt& d = t.p().FormZmienpkt;
  ASSERT_TRUE(d.visible);
  EXPECT_EQ(d.Button1.caption, "Wprowadź");
  EXPECT_EQ(d.Edit1.text, "400.00");
  EXPECT_EQ(d.Edit2.text, "200.00");
  EXPECT_EQ(d.Edit3.text, "0.00");
  EXPECT_EQ(d.Edit5.text, "0");
  EXPECT_FALSE(d.Label4.visible);
  d.WskawsprzedneXiY1Click();
  EXPECT_TRUE(t.w().toolBusy);
  EXPECT_EQ(t.w().toolMode, 9001);
  EXPECT_EQ(t.w().StatusBar1.text, "Wskaż punkt do pobrania współrzędnych");
  t.w().ToolButton34Click();  // refused while the pick waits
  EXPECT_EQ(t.lastText(), "Działanie nie zakończone: Nie można wybrać nowej funkcji, przed "
                          "zakończeniem poprzedniej");
  t.click(450, 250);
  EXPECT_EQ(t.w().toolMode, 90019001);
  EXPECT_EQ(d.Edit1.text, "450.00");
  EXPECT_EQ(d.Edit2.text, "250.00");
  t.click(460, 260);  // presses do nothing until the dialog ends
  EXPECT_EQ(d.Edit1.text, "450.00");
  d.Edit4.text = "NOWY-PUNKT-O-DLUGIEJ-NAZWIE";
  d.Edit3.text = "";
  d.Button1Click();  // an empty height is refused, the window stays
  EXPECT_EQ(t.lastText(), "Dane punktu: Błędna lub brakująca współrzędna punktu");
  EXPECT_EQ(t.points().pointCount(), 6);
  d.Edit3.text = "7.25";
  d.Button1Click();
  ASSERT_EQ(t.points().pointCount(), 7);
  const PointRecord n = t.point(7);
  EXPECT_EQ(n.x, 450);
  EXPECT_EQ(n.y, 250);
  EXPECT_EQ(n.z, 7.25);
  EXPECT_EQ(n.name.text(), "NOWY-PUNKT-O-DLU");
  EXPECT_FALSE(t.w().toolBusy);
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_FALSE(t.main().pointsSaved);
  // "Rezygnuj" of a new point leaves no slot behind.
  t.w().ToolButton23Click();
  t.click(400, 200, {No});
  d.Button2Click();
  EXPECT_EQ(t.points().pointCount(), 7);
}

TEST(PointToolsTest, GenerationByProportionDistanceAndChainage) {
  const struct {
    const char *proportion, *distance, *chainage;
    bool alignment;
    std::deque<DialogResult> extra;
    const char* message;  // empty: generated
    double x, y, z;
  } cases[] = {
      {"", "2.5", "", false, {}, "", 102.5, 100, 12.5},
      {"0.75", "", "", false, {}, "", 107.5, 100, 17.5},
      {"", "", "", false, {}, "", 105, 100, 15},  // first asks for data, then 0.5 is typed
      {"", "", "104", true, {}, "", 104, 100, 14},
      {"", "", "120", true, {No, Yes}, "", 120, 100, 30},  // outside: asked twice
      {"", "", "104", false, {},
       "Generowanie punktu:  Nie można wygenerować punktu w zadanym pikietażu, ponieważ nie "
       "wczytano trasy",
       0, 0, 0},
  };
  for (const auto& c : cases) {
    PointTools t;
    if (c.alignment) t.straightAlignment();
    int presses = 0;
    t.generate(4, 5, [&](TFormGenerpkt& g) {
      EXPECT_EQ(g.Edit6.text, "0.50000");  // the main window's first activation
      EXPECT_EQ(g.Edit1.text, "");
      EXPECT_EQ(g.Edit4.text, "K1-K2");
      EXPECT_EQ(g.Edit5.text, "2");
      g.Edit6.text = c.proportion;
      g.Edit1.text = c.distance;
      g.Edit2.text = c.chainage;
      g.Button1Click();
      ++presses;
      if (g.visible && std::string(c.chainage) == "120") {
        g.Button1Click();  // the second answer
        ++presses;
      }
      if (g.visible && *c.proportion == 0 && *c.distance == 0 && *c.chainage == 0) {
        EXPECT_EQ(t.lastText(),
                  "Generowanie punktu: Nie można generować punktu, ponieważ nie podano danych");
        g.Edit6.text = "0.5";
        g.Button1Click();
      }
      EXPECT_FALSE(g.visible);
    }, c.extra);
    if (std::string(c.chainage) == "120") {
      EXPECT_EQ(t.platform.messages[t.platform.messages.size() - 2].text,
                "Pikietaż 120.00 nie leży pomiędzy pikietażami rzutów punktów 110.00 i 100.00 "
                "mimo to generować?");
    }
    EXPECT_EQ(t.w().toolMode, 0);
    if (*c.message) {
      EXPECT_EQ(t.lastText(), c.message);
      EXPECT_EQ(t.points().pointCount(), 6);
      continue;
    }
    ASSERT_EQ(t.points().pointCount(), 7) << c.distance << c.chainage;
    const PointRecord n = t.point(7);
    EXPECT_NEAR(n.x, c.x, 1e-9);
    EXPECT_NEAR(n.y, c.y, 1e-9);
    EXPECT_NEAR(n.z, c.z, 1e-9);
    EXPECT_EQ(n.name.text(), "K1-K2");
    EXPECT_EQ(n.type, 2);
    EXPECT_FALSE(t.main().pointsSaved);
  }
}

TEST(PointToolsTest, GenerationRefusalsAndCancelLeaveNoSlot) {
  PointTools t;
  t.straightAlignment();
  // K1-K3 runs along Y, parallel to the section at any chainage of this alignment (and both
  // points project to about the same chainage, so the range is asked about first).
  t.generate(4, 6, [](TFormGenerpkt& g) {
    g.Edit2.text = "105";
    g.Edit2Change();
    EXPECT_EQ(g.Edit6.text, "");
    g.Button1Click();
  }, {Yes});
  EXPECT_EQ(t.lastText(),
            "Generowanie punktu: Linia punktów jest równoległa do przekroju w zadanym pikietażu");
  EXPECT_EQ(t.points().pointCount(), 6);
  t.generate(4, 5, [](TFormGenerpkt& g) { g.Button2Click(); });
  EXPECT_EQ(t.points().pointCount(), 6);
  EXPECT_EQ(t.w().toolMode, 0);
  EXPECT_TRUE(t.main().pointsSaved);
  // A declined first point with "pick another": the tool waits; a miss asks to try again.
  t.w().ToolButton36Click();
  t.click(100, 100, {No, Yes});
  EXPECT_EQ(t.lastText(), "Wybieranie pierwszego punktu: Chcesz wskazać inny punkt?");
  EXPECT_EQ(t.w().toolMode, 36);
  t.click(700, 500, {No});
  EXPECT_EQ(t.lastText(),
            "Wybieranie pierwszego punktu: Nie znaleziono punktu w pobliżu miejsca wskazania. "
            "Chcesz sprobować jeszcze raz?");
  t.click(100, 100, {Yes});
  EXPECT_EQ(t.platform.messages.back().text,
            "Czy punkt numer 4 o symbolu:\"K1\"  miał być wybrany?");
  t.click(110, 100, {No, No});
  EXPECT_EQ(t.platform.messages[t.platform.messages.size() - 2].text,
            "Czy punkt numer 5 o symbolu:\"K2\" miał być wybrany?");
  EXPECT_EQ(t.w().toolMode, 3636);
}

TEST(PointToolsTest, SearchBySymbolNumberAndHeight) {
  PointTools t;
  TFormszukaj_pkt& s = t.p().Formszukaj_pkt;
  EXPECT_EQ(s.Edit1.text, "1");
  EXPECT_EQ(s.Edit2.text, "0.00");
  EXPECT_EQ(s.Edit3.text, "0.01");
  auto search = [&](const std::function<void()>& fill) {
    t.platform.onModal = [&](Form& f) {
      if (&f != &s) return;
      fill();
      s.Button1Click();
      if (s.visible) s.Button2Click();
    };
    t.w().ToolButton35Click();
    return s.foundPoint;
  };
  // "Szukaj kolejnego" by symbol to the end, then from the start again.
  s.Edit4.text = " A ";
  s.Edit4Change();
  EXPECT_EQ(s.Edit1.text, "");
  s.CheckBox1.checked = true;
  for (int expected : {1, 3, 0, 1}) {
    t.platform.messages.clear();
    EXPECT_EQ(search([] {}), expected);
    EXPECT_EQ(t.platform.messages.empty(), expected != 0);
  }
  EXPECT_EQ(s.searchIndex, 2);
  // The view shows 100 m across with the point in the middle, ringed once.
  const ViewPoint c = t.w().view.worldToScreen(100, 300);
  EXPECT_NEAR(c.u, 500, 1e-9);
  EXPECT_NEAR(c.v, 300, 1e-9);
  EXPECT_EQ(t.w().view.scaleX, 10);
  EXPECT_FALSE(t.w().searchMarkPending);
  search([&] { s.Edit4.text = "Q"; });
  EXPECT_EQ(t.lastText(), "Szukanie punktu:  Nie znaleziono punktu o zadanych warunkach");
  // By number.
  EXPECT_EQ(search([&] {
              s.Edit4.text = "";
              s.Edit1.text = "5";
            }),
            5);
  // By height: the window of 0.01 around 100.00 holds 99.995 and 100.005.
  for (double z : {99.994, 99.995, 100.005, 100.006}) t.addPoint(0, 0, z);
  s.Edit1.text = "";
  s.Edit2.text = "100.00";
  t.platform.messages.clear();
  for (int expected : {8, 9, 0}) EXPECT_EQ(search([] {}), expected);
  EXPECT_TRUE(t.platform.messages.empty());
  s.CheckBox1.checked = false;
  s.Edit3.text = "2000";  // too coarse: 0.01 instead
  EXPECT_EQ(search([] {}), 8);
  s.Edit2.text = "10.5";
  s.Edit3.text = "-1";
  EXPECT_EQ(search([] {}), 1);
}

TEST(PointToolsTest, DistanceWithItsRubberLine) {
  PointTools t;
  t.w().ToolButton34Click();
  t.click(100, 300, {No});  // the place, not the point
  EXPECT_EQ(t.w().StatusBar1.text, "Wskaż drugi punkt do zmierzenia odległości");
  t.w().EKRANMouseMove(false, t.px(130), t.py(340));
  EXPECT_EQ(t.w().StatusBar1.text, "Odległość punktów=50.00");
  const CanvasOp rubber = t.canvas.ops.back();
  EXPECT_EQ(rubber.mode, PenMode::NotXor);
  t.click(305, 300, {Yes, Yes});  // snapped to point 2
  EXPECT_EQ(t.lastText(), "Wybór punktu: Czy chcesz wybrać punkt numer 2 o symbolu:\"B\"?");
  EXPECT_EQ(t.w().StatusBar1.text, "Odległość punktów=200.00");
  EXPECT_EQ(t.w().toolMode, 20046);
  // Nothing near with the nearest point asked for: try again or give up.
  t.click(700, 500, {Yes, No});
  EXPECT_EQ(t.lastText(), "Wybór punktu: Uwaga, brak punktu, Czy chcesz spróbować jeszcze raz?");
  EXPECT_EQ(t.w().toolMode, 0);
  // With "only the nearest" the first question is not asked.
  t.w().Wskazujpunkttylkonajbliszy1Click();
  t.w().ToolButton34Click();
  t.click(100, 300, {Yes});
  t.w().EKRANMouseDown(R, false, 0, 0);
  EXPECT_EQ(t.w().toolMode, 0);
}

TEST(PointToolsTest, ProjectingAClickOntoTheAlignment) {
  PointTools t;
  t.w().ToolButton24Click();
  t.click(150, 130);
  EXPECT_EQ(t.lastText(),
            "Brak danych: Nie wczytana trasa (łącznica), nie można rzutować punktu");
  EXPECT_EQ(t.w().toolMode, 0);
  t.straightAlignment();
  t.w().ToolButton24Click();
  t.click(150, 130);
  EXPECT_EQ(t.w().StatusBar1.text,
            "Współrzędne wskazanego punktu X=150.00, Y=130.00, odległość=-30.00, pikietaż "
            "rzutu=150.00");
  EXPECT_EQ(*t.platform.clipboard, "150.00, odl=-30.00 x=150.00 y=130.00");
  t.w().EKRANMouseMove(false, t.px(200), t.py(90));
  EXPECT_EQ(t.w().StatusBar1.text,
            "Współrzędne wskazanego punktu X=200.00, Y=90.00, odległość=10.00, pikietaż "
            "rzutu=200.00");
  t.click(105, 305, {Yes, Yes});  // point 1
  EXPECT_EQ(t.w().StatusBar1.text,
            "Współrzędne wskazanego punktu X=100.00, Y=300.00, odległość=-200.00, pikietaż "
            "rzutu=100.00");
  EXPECT_EQ(t.w().surfaceCursor, CursorShape::Default);
}

TEST(PointToolsTest, UndoAndRedoAcrossEditInsertAndGeneration) {
  PointTools t;
  const PointRecord original = t.point(1);
  t.w().ToolButton23Click();
  t.click(100, 300, {Yes, Yes});
  t.p().FormZmienpkt.Edit3.text = "99.5";
  t.p().FormZmienpkt.Button1Click();
  t.w().ToolButton23Click();
  t.click(500, 500, {No});
  t.p().FormZmienpkt.Button1Click();
  t.generate(4, 5, [](TFormGenerpkt& g) { g.Button1Click(); });
  ASSERT_EQ(t.points().pointCount(), 8);
  // The menu offers what can be done: greyed "Ponów" with nothing undone, and so on.
  const auto offered = [&t] {
    return std::pair{t.w().commandAvailable(DrawingCommand::Undo),
                     t.w().commandAvailable(DrawingCommand::Redo)};
  };
  EXPECT_EQ(offered(), std::pair(true, false));
  const PointRecord generated = t.point(8);
  EXPECT_FALSE(t.main().pointsSaved);
  const std::size_t drawnBefore = t.canvas.ops.size();
  for (int count : {7, 6, 6}) {
    t.w().Cofnij1Click();
    EXPECT_EQ(t.points().pointCount(), count);
  }
  EXPECT_GT(t.canvas.ops.size(), drawnBefore);  // redrawn
  EXPECT_EQ(t.point(1).z, original.z);
  EXPECT_TRUE(t.main().pointsSaved);  // back at the state of start
  EXPECT_EQ(offered(), std::pair(false, true));
  t.w().Cofnij1Click();  // nothing more (the menu item is greyed): a beep
  EXPECT_EQ(t.platform.beeps, 1);
  for (int count : {6, 7, 8}) {
    t.w().Ponow1Click();
    EXPECT_EQ(t.points().pointCount(), count);
    EXPECT_FALSE(t.main().pointsSaved);
  }
  EXPECT_EQ(offered(), std::pair(true, false));
  EXPECT_EQ(t.point(1).z, 99.5);
  EXPECT_EQ(t.point(7).x, 500);
  EXPECT_EQ(t.point(8).x, generated.x);
  EXPECT_EQ(t.point(8).z, generated.z);
  // A save in the middle: undoing past it and coming back makes the store saved again.
  t.main().pointsSaved = true;
  t.w().Cofnij1Click();
  EXPECT_FALSE(t.main().pointsSaved);
  t.w().Ponow1Click();
  EXPECT_TRUE(t.main().pointsSaved);
  // The shortcuts sit in the window's menu.
  int shortcuts = 0;
  for (const MenuItem& m : t.w().mainMenu) {
    if (m.command == DrawingCommand::Undo || m.command == DrawingCommand::Redo) {
      EXPECT_EQ(m.menu, "Edycja");
      EXPECT_EQ(m.caption + " " + m.shortcut,
                m.command == DrawingCommand::Undo ? "Cofnij Ctrl+Z" : "Ponów Ctrl+Y");
      ++shortcuts;
    }
  }
  EXPECT_EQ(shortcuts, 2);
}

TEST(PointToolsTest, HistoryHoldsMoreThanAHundredStepsAndImportClearsIt) {
  PointTools t;
  TFormZmienpkt& d = t.p().FormZmienpkt;
  for (int k = 1; k <= 150; ++k) {
    t.w().ToolButton23Click();
    t.click(100, 300, {Yes, Yes});
    d.Edit3.text = std::to_string(k);
    d.Button1Click();
  }
  EXPECT_EQ(t.point(1).z, 150);
  for (int k = 0; k < 150; ++k) t.w().run(DrawingCommand::Undo);
  EXPECT_EQ(t.point(1).z, 10);
  EXPECT_TRUE(t.main().pointsSaved);
  for (int k = 0; k < 120; ++k) t.w().run(DrawingCommand::Redo);
  EXPECT_EQ(t.point(1).z, 120);
  // An import starts the history again.
  t.main().PreviewMemo.setLines({"500.00,500.00,1.00"});
  t.main().PositionXCombo.text = "1";
  t.main().PositionYCombo.text = "2";
  t.main().PositionZCombo.text = "3";
  t.main().PositionSymbolCombo.text = "0";
  t.platform.answers = {Yes, No};
  t.main().Button2Click();
  ASSERT_EQ(t.points().pointCount(), 7);
  EXPECT_FALSE(t.p().pointHistory.canUndo());
  EXPECT_FALSE(t.p().pointHistory.canRedo());
  t.w().Cofnij1Click();
  EXPECT_EQ(t.points().pointCount(), 7);
  EXPECT_EQ(t.point(1).z, 120);
}

// A long command of the main window processes events, and the drawing window beside it stays
// clickable. What there would change the points or open the cross-section dialog waits for it,
// with a beep: the import ends with exactly its own points added, and the command set stays
// disabled to its end (the cross-section command's guard used to enable it under the import).
TEST(PointToolsTest, PointChangesAndTheSectionDialogWaitForARunningImport) {
  // The point window on point 1 with a new height typed, and that height applied.
  const auto typeHeightOfPointOne = [](PointTools& t) {
    t.w().ToolButton23Click();
    t.click(100, 300, {Yes, Yes});
    t.p().FormZmienpkt.Edit3.text = "99.5";
  };
  const auto editPointOne = [&](PointTools& t) {
    typeHeightOfPointOne(t);
    t.p().FormZmienpkt.Button1Click();
  };
  const struct {
    const char* what;
    std::function<void(PointTools&)> before, during;
    int toolModeAfter;
  } cases[] = {
      {"Generuj przekroje poprzeczne", nullptr,
       [](PointTools& t) { t.w().run(DrawingCommand::GenerateSections); }, 0},
      {"Dane trasy i przekrojów", nullptr,
       [](PointTools& t) { t.w().run(DrawingCommand::SectionData); }, 0},
      {"Zapisz punkty", nullptr, [](PointTools& t) { t.w().run(DrawingCommand::SavePoints); }, 0},
      {"Cofnij", editPointOne, [](PointTools& t) { t.w().run(DrawingCommand::Undo); }, 0},
      {"the edit tool's button", nullptr, [](PointTools& t) { t.w().ToolButtonClick(23); }, 0},
      {"a click of the edit tool armed before", [](PointTools& t) { t.w().ToolButton23Click(); },
       [](PointTools& t) { t.w().EKRANMouseDown(L, false, 500, 100); }, 13},
      {"a click of the generation tool armed before",
       [](PointTools& t) { t.w().ToolButton36Click(); },
       [](PointTools& t) { t.w().EKRANMouseDown(L, false, t.px(100), t.py(300)); }, 36},
      // The point window is no dialog of its own: it stays open beside the main window.
      {"\"Zmień\" of the point window opened before", typeHeightOfPointOne,
       [](PointTools& t) { t.p().FormZmienpkt.Button1Click(); }, 0},
      {"\"Wprowadź\" of the point window opened before",
       [](PointTools& t) {
         t.w().ToolButton23Click();
         t.click(500, 500, {No});
       },
       [](PointTools& t) { t.p().FormZmienpkt.Button1Click(); }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PointTools t;
    if (c.before) c.before(t);
    const double z1 = t.point(1).z;
    const std::size_t dialogs = t.platform.modalForms.size();
    std::vector<std::string> records;
    for (int k = 0; k < 300; ++k) records.push_back(std::to_string(1000 + k) + ",2000,5,P");
    t.main().PreviewMemo.setLines(std::move(records));
    bool acted = false;
    t.platform.onPendingEvents = [&](int) {
      if (acted || !t.main().commandRunning()) return;
      acted = true;
      for (auto command : {DrawingCommand::EditPoint, DrawingCommand::GeneratePoint,
                           DrawingCommand::GenerateSections, DrawingCommand::Undo}) {
        EXPECT_FALSE(t.w().commandAvailable(command));
      }
      EXPECT_TRUE(t.w().commandAvailable(DrawingCommand::ZoomIn));
      const int beeps = t.platform.beeps;
      c.during(t);
      EXPECT_EQ(t.platform.beeps, beeps + 1);
      EXPECT_TRUE(t.main().commandRunning()) << "the command set was enabled under the import";
      EXPECT_EQ(t.w().toolMode, c.toolModeAfter);
    };
    t.platform.answers = {Yes, No};  // append to the 6 points; do not save
    t.main().Button2Click();
    ASSERT_TRUE(acted);
    EXPECT_TRUE(t.platform.answers.empty()) << "questions left unasked";
    EXPECT_EQ(t.platform.modalForms.size(), dialogs) << "a dialog opened under the import";
    EXPECT_EQ(t.points().pointCount(), 6 + 300);
    EXPECT_EQ(t.point(306).x, 1299);
    EXPECT_EQ(t.point(1).z, z1);
    EXPECT_FALSE(t.main().commandRunning());
    EXPECT_TRUE(t.w().commandAvailable(DrawingCommand::GenerateSections));
  }
}

}  // namespace
}  // namespace merilon
