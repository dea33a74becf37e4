// The description viewer (search walking the matches, the size it springs back to) and the
// about box (its timer periods and everything that closes it).
#include <gtest/gtest.h>

#include "help/about_box.h"
#include "help/description_viewer.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::TestProgram;
using testing::writeBytes;

TEST(DescriptionViewer, SearchWalksTheMatchesIgnoringCase) {
  TestProgram t;
  TFormtrojpomoc& v = t.program->Formtrojpomoc;
  // Without the file the viewer is empty and finds nothing.
  v.FindDialog1.FindText = "a";
  v.FindDialog1Find();
  EXPECT_TRUE(v.RichEdit1.text.empty());
  EXPECT_EQ(v.RichEdit1.focusRequests, 0u);

  writeBytes(t.folder / "MERI_OPIS.rtf",
             "{\\rtf1\\ansi {\\b \\'a3\\'b9cznik} drogi\\par Drugi \\'b3\\'b9cznik.\\par}");
  v.FormCreate();
  v.Button3Click();
  EXPECT_TRUE(v.FindDialog1.open);
  EXPECT_TRUE(v.FindDialog1.matchCaseHidden && v.FindDialog1.wholeWordHidden);
  v.FindDialog1.FindText = "ŁĄCZNIK";
  std::vector<int> starts;
  for (int k = 0; k < 3; ++k) {
    v.FindDialog1Find();
    starts.push_back(v.RichEdit1.selStart);
    EXPECT_EQ(v.RichEdit1.selLength, 7);
  }
  // "Łącznik drogi\nDrugi łącznik.": the second match is at character 20; a third search
  // keeps it selected.
  EXPECT_EQ(starts, (std::vector<int>{0, 20, 20}));
  EXPECT_EQ(v.RichEdit1.focusRequests, 2u);

  showDescription(*t.program);
  EXPECT_TRUE(v.visible);
  v.Button1Click();
  EXPECT_FALSE(v.visible);
  EXPECT_FALSE(v.FindDialog1.open);
}

TEST(DescriptionViewer, ResizeSpringsBackAndLaysOutThePanel) {
  TestProgram t;
  TFormtrojpomoc& v = t.program->Formtrojpomoc;
  v.Width = 500;
  v.ClientHeight = 300;
  v.FormResize();
  EXPECT_EQ(v.Width, 640);
  EXPECT_EQ(v.ClientHeight, 400);
  EXPECT_EQ(v.RichEdit1.height, 400 - 41 - 8);
  EXPECT_EQ(v.button1Left, (640 - 75) / 2);
  v.Width = 901;
  v.FormResize();
  EXPECT_EQ(v.button1Left, 413);
}

TEST(AboutBox, StartUpDisplayThenTheLongerPeriod) {
  TestProgram t;
  TFormMERIInfo& box = t.program->FormMERIInfo;
  int shown = 0;
  t.platform.onModal = [&](Form& f) {
    ASSERT_EQ(&f, &box);
    ++shown;
    EXPECT_EQ(box.Timer1.interval, shown == 1 ? 5000 : 25000);
    EXPECT_EQ(box.Label1.caption, aboutText());
    box.FormActivate();  // the activation that comes with showing it
    EXPECT_TRUE(box.visible);
    box.FormActivate();  // activated again after another window had the focus
    EXPECT_FALSE(box.visible);
  };
  showAboutAtStartup(*t.program);
  EXPECT_EQ(box.Timer1.interval, 25000);
  box.Label1.caption.clear();
  showAbout(*t.program);
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(box.Caption, "Program MERILON - podstawowe informacje");
}

TEST(AboutBox, AnyKeyTheTimerOrZamknijClosesIt) {
  TestProgram t;
  TFormMERIInfo& box = t.program->FormMERIInfo;
  for (int way = 0; way < 3; ++way) {
    t.platform.onModal = [&](Form&) {
      box.FormActivate();
      if (way == 0) box.FormKeyPress(U'q');
      if (way == 1) box.Timer1Timer();
      if (way == 2) box.SpeedButton1Click();
      EXPECT_FALSE(box.visible) << way;
    };
    showAbout(*t.program);
  }
  EXPECT_EQ(t.platform.modalForms.size(), 3u);
}

}  // namespace
}  // namespace merilon
