// "Zapisz Punkty" and "Otwórz Punkty" driven through the scripted platform.
#include "points/point_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <csignal>
#include <limits>

#include "platform/text_file.h"
#include "points/no_value.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::readBytes;
using testing::TestProgram;
using testing::writeBytes;

struct PointFileFlow : ::testing::Test {
  TestProgram t;
  TFORM_Main& main = t.main();
  PointStore& points = t.points();

  void add(double x, double y, double z, const std::string& name, int type) {
    ASSERT_TRUE(points.reservePoint());
    points.setPoint(points.pointCount(), x, y, z, PointName::fromText(name), type);
  }
  void save(const std::filesystem::path& chosen) {
    t.platform.saveAnswers = {chosen};
    main.Button5Click();
  }
  void open(const std::filesystem::path& chosen) {
    t.platform.openAnswers = {chosen};
    main.Button3Click();
  }
};

TEST_F(PointFileFlow, WritesTheGoldenPointFile) {
  add(7452101.23, 5602345.5, 112.345, "P00001", 0);
  add(1234.5, 100, 0.125, "P00002", 0);
  add(-0.5, 1e15, NO_VALUE_F, "Łąka \"7\", pas", 9);
  add(0.0000015, 3, 4, "", -12);
  save(t.folder / "golden");
  EXPECT_TRUE(main.pointsSaved);
  const auto file = t.folder / "golden.meri";
  testing::expectGolden(file, "points.meri");
  EXPECT_EQ(readBytes(file).substr(0, 64),
            "@MERI_PUNKT_1.0,\r\n,\r\n7452101.23,5602345.5,112.345,\"P00001\",0,1\r\n");
  EXPECT_EQ(main.pointFileName, file.string());
  EXPECT_EQ(main.baseTitle, "Merilon-[golden]");
  EXPECT_EQ(t.platform.saveRequests[0].filter, "Merilon- punkty|*.meri");
  EXPECT_EQ(t.platform.saveRequests[0].proposedName, "NOWEPUNKTY.MERI");
  EXPECT_EQ(main.StatusBar1.text, "");
  EXPECT_TRUE(main.Button5.enabled);
  EXPECT_FALSE(t.platform.busy);
}

TEST_F(PointFileFlow, RoundTripKeepsEveryValueAndName) {
  add(7452101.23, 5602345.5, 112.345, "A,B", 3);
  add(-1.5, 2.25, NO_VALUE_F, "\"q\"", NO_VALUE);
  add(0.1, 0.2, 0.3, "ŻÓŁW 16 ZNAKÓW!!", 9);
  save(t.folder / "trip.txt");  // the extension is forced
  ASSERT_TRUE(std::filesystem::exists(t.folder / "trip.meri"));
  EXPECT_FALSE(std::filesystem::exists(t.folder / "trip.txt"));
  TestProgram other;
  other.platform.openAnswers = {t.folder / "trip.meri"};
  other.main().Button3Click();
  PointStore& read = other.points();
  ASSERT_EQ(read.pointCount(), 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(read.pointX[i], points.pointX[i]);
    EXPECT_EQ(read.pointY[i], points.pointY[i]);
    EXPECT_EQ(read.pointZ[i], points.pointZ[i]);
    EXPECT_EQ(read.pointName[i].text(), points.pointName[i].text());
    EXPECT_EQ(read.pointType[i], points.pointType[i]);
  }
  EXPECT_TRUE(other.platform.messages.empty());
  EXPECT_EQ(
      other.main().LogMemo.lines(),
      (std::vector<std::string>{"Wczytywanie danych Merilonu", "Liczba wczytanych punktów: 3"}));
  EXPECT_EQ(other.main().baseTitle, "Merilon-[trip]");
  EXPECT_EQ(other.main().PointCountLabel.caption, "Liczba punktów w do analizy: 3");
}

TEST_F(PointFileFlow, RoundTripUnderACommaDecimalLocale) {
  const char* set = nullptr;
  for (const char* l : {"pl_PL.UTF-8", "pl_PL.utf8", "de_DE.UTF-8", "de_DE.utf8"}) {
    if ((set = std::setlocale(LC_ALL, l)) != nullptr) break;
  }
  if (!set) GTEST_SKIP() << "no comma-decimal locale installed";
  add(7452101.23, 5602345.5, 112.345, "P00001", 0);
  add(1234.5, 100, 0.125, "P00002", 0);
  add(-0.5, 1e15, NO_VALUE_F, "Łąka \"7\", pas", 9);
  add(0.0000015, 3, 4, "", -12);
  save(t.folder / "golden");
  std::setlocale(LC_ALL, "C");
  testing::expectGolden(t.folder / "golden.meri", "points.meri");
}

TEST_F(PointFileFlow, EmptyStoreLeavesNoFile) {
  writeBytes(t.folder / "old.meri", "old");
  t.platform.answers = {DialogResult::Yes};
  save(t.folder / "old.meri");
  EXPECT_FALSE(std::filesystem::exists(t.folder / "old.meri"));
  EXPECT_EQ(t.platform.messages[0].text,
            "Plik: " + (t.folder / "old.meri").string() + " istnieje. Czy mimo to zapisywać?");
  EXPECT_EQ(t.platform.messages[0].title, "Zapis do pliku");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t.folder.path()),
                          std::filesystem::directory_iterator()),
            1);  // MERI_PARAM.knf only
}

TEST_F(PointFileFlow, DecliningTheOverwriteWritesNothing) {
  add(1, 2, 3, "A", 0);
  writeBytes(t.folder / "keep.meri", "old");
  t.platform.answers = {DialogResult::No};
  save(t.folder / "keep.meri");
  EXPECT_EQ(readBytes(t.folder / "keep.meri"), "old");
  EXPECT_FALSE(main.pointsSaved);
  // Cancelling the dialog changes nothing at all.
  main.pointsSaved = true;
  t.platform.saveAnswers = {std::nullopt};
  main.Button5Click();
  EXPECT_TRUE(main.pointsSaved);
  EXPECT_EQ(main.StatusBar1.text, "");
}

TEST_F(PointFileFlow, AFailedWriteIsReportedAndKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  add(1, 2, 3, "A", 0);
  const auto dir = t.folder / "ro";
  std::filesystem::create_directory(dir);
  writeBytes(dir / "p.meri", "old");
  std::filesystem::permissions(
      dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  t.platform.answers = {DialogResult::Yes};
  save(dir / "p.meri");
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
  EXPECT_EQ(readBytes(dir / "p.meri"), "old");
  EXPECT_FALSE(main.pointsSaved);
  ASSERT_EQ(t.platform.messages.size(), 2u);
  EXPECT_EQ(t.platform.messages[1].title, "Błąd zapisu pliku");
  EXPECT_NE(t.platform.messages[1].text.find((dir / "p.meri").string()), std::string::npos);
}

TEST_F(PointFileFlow, AFileThatCannotBeReplacedIsReportedAndStaysAsItWas) {
  // A folder in the way of the new file: even a superuser cannot rename a file over it.
  add(1, 2, 3, "A", 0);
  std::filesystem::create_directory(t.folder / "busy.meri");
  writeBytes(t.folder / "busy.meri" / "inside.txt", "keep");
  save(t.folder / "busy.meri");
  EXPECT_FALSE(main.pointsSaved);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Błąd zapisu pliku");
  EXPECT_EQ(readBytes(t.folder / "busy.meri" / "inside.txt"), "keep");
  for (const auto& entry : std::filesystem::directory_iterator(t.folder.path())) {
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << "temporary file left";
  }
}

TEST_F(PointFileFlow, AFileThatCannotBeCreatedIsReported) {
  add(1, 2, 3, "A", 0);
  save(t.folder / "no-such-folder" / "p.meri");
  EXPECT_FALSE(main.pointsSaved);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Błąd zapisu pliku");
  EXPECT_TRUE(main.Button5.enabled);
}

TEST_F(PointFileFlow, OldFilesWithoutHeaderAndOddNames) {
  writeBytes(t.folder / "old.meri",
             crlf({"1,2,3,\"AB\",4,1", "5,6,7,ABCD,0,2", "8,9,10,\"X\"", "bad,line"}));
  open(t.folder / "old.meri");
  ASSERT_EQ(points.pointCount(), 4);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Wersja programu");
  EXPECT_EQ(t.platform.messages[0].text,
            "Dane nie są dla aktualnej wersji programu, zostaną do niej zaimportowane");
  EXPECT_EQ(points.pointName[1].text(), "AB");
  EXPECT_EQ(points.pointType[1], 4);
  EXPECT_EQ(points.pointName[2].text(), "BC");
  EXPECT_EQ(points.pointType[3], NO_VALUE);
  EXPECT_EQ(points.pointX[4], NO_VALUE_F);
  EXPECT_EQ(points.pointY[4], NO_VALUE_F);
  EXPECT_TRUE(main.pointsSaved);  // opening leaves it as it was
}

// Trailing commas (another program's export) make empty fields that are no part of the name.
TEST_F(PointFileFlow, TrailingEmptyFieldsDoNotShiftTheNameAndType) {
  writeBytes(t.folder / "t.meri",
             crlf({"@MERI_PUNKT_1.0,", ",", "1,2,3,\"A\",0,1,", "4,5,6,\"B,C\",7,2,,,",
                   "7,8,9,\"D\",5,3", "1,1,1,\"E\",6,", "2,2,2,\"F\",8,4,x"}));
  open(t.folder / "t.meri");
  ASSERT_EQ(points.pointCount(), 5);
  const std::vector<std::pair<std::string, int>> expected = {
      {"A", 0}, {"B,C", 7}, {"D", 5}, {"E", 6}, {"F", 8}};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(points.pointName[i].text(), expected[i - 1].first) << i;
    EXPECT_EQ(points.pointType[i], expected[i - 1].second) << i;
  }
}

// The writer's 15 digits take a coordinate next to the largest number just beyond it
// ("1.79769313486232E308"); that text reads back as the largest number, anything larger is no
// number as before, and such points survive a save and a reopening.
TEST_F(PointFileFlow, CoordinatesNextToTheLargestNumberReadBack) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const struct {
    const char* text;
    double read;
  } cases[] = {{"1.79769313486232E308", kMax},      {"-1.79769313486232E308", -kMax},
               {"1.7976931348623157E308", kMax},    {" +1.79769313486232e308 ", kMax},
               {"1.797693134862321E308", NO_VALUE_F}, {"1.8E308", NO_VALUE_F},
               {"1E400", NO_VALUE_F},               {"-INF", NO_VALUE_F}};
  std::vector<std::string> lines = {"@MERI_PUNKT_1.0,", ","};
  for (const auto& c : cases) lines.push_back(std::string(c.text) + ",1,2,\"A\",0,1");
  writeBytes(t.folder / "max.meri", crlf(lines));
  open(t.folder / "max.meri");
  ASSERT_EQ(points.pointCount(), static_cast<int>(std::size(cases)));
  for (int i = 1; i <= points.pointCount(); ++i) {
    EXPECT_EQ(points.pointX[i], cases[i - 1].read) << cases[i - 1].text;
  }

  points.clearPoints();
  add(kMax, -kMax, 1.7976931348623155E308, "M", 0);
  add(std::nextafter(kMax, 0.0), 1, 2, "N", 0);
  save(t.folder / "again.meri");
  const std::vector<std::string> saved = {pointFileLine(points, 1), pointFileLine(points, 2)};
  EXPECT_EQ(saved[0], "1.79769313486232E308,-1.79769313486232E308,1.79769313486232E308,\"M\",0,1");
  open(t.folder / "again.meri");
  ASSERT_EQ(points.pointCount(), 2);
  EXPECT_EQ(points.pointX[1], kMax);
  EXPECT_EQ(points.pointY[1], -kMax);
  EXPECT_EQ(pointFileLine(points, 1), saved[0]);
  EXPECT_EQ(pointFileLine(points, 2), saved[1]);
}

TEST_F(PointFileFlow, TheTitleKeepsEveryDotOfTheName) {
  add(1, 2, 3, "A", 0);
  save(t.folder / "pomiar.v2.meri");
  EXPECT_EQ(main.baseTitle, "Merilon-[pomiar.v2]");
  main.setDocumentTitle("x");
  open(t.folder / "pomiar.v2.meri");
  EXPECT_EQ(main.baseTitle, "Merilon-[pomiar.v2]");
  EXPECT_EQ(main.Caption, "Merilon-[pomiar.v2]");
}

// A save killed half-way (the program killed, the power gone) leaves the old file as it was, and
// what it left behind does not disturb the next save of that file.
TEST_F(PointFileFlow, ASaveKilledHalfWayKeepsTheOldFile) {
  const auto file = t.folder / "duzy.meri";
  const std::string old = crlf({"@MERI_PUNKT_1.0,", ",", "1,2,3,\"STARY\",0,1"});
  writeBytes(file, old);
  const int n = 200000;
  for (int i = 1; i <= n; ++i) {
    add(5600000 + i * 0.01, 7450000 - i * 0.01, 100 + i % 1000 * 0.001, "P" + std::to_string(i), 1);
  }
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    t.platform.answers = {DialogResult::Yes};
    t.platform.onPendingEvents = [&](int) {
      if (main.ProgressBar1.maximum == n && main.ProgressBar1.position == n / 2) {
        // Half the points are written: the parent kills this process now.
        if (write(ready[1], "x", 1) != 1) _exit(3);
        for (;;) pause();
      }
    };
    save(file);
    _exit(2);  // the save ran to its end: the test failed to kill it
  }
  close(ready[1]);
  char signal = 0;
  ASSERT_EQ(read(ready[0], &signal, 1), 1);
  close(ready[0]);
  const auto temp = temporaryFileFor(file);
  EXPECT_GT(std::filesystem::file_size(temp), 1000000u);  // the save was well under way
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(readBytes(file), old);

  t.platform.answers = {DialogResult::Yes};
  save(file);
  EXPECT_TRUE(main.pointsSaved);
  EXPECT_FALSE(std::filesystem::exists(temp));
  const std::string written = readBytes(file);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), n + 2);
  EXPECT_TRUE(written.ends_with(",\"P200000\",1,200000\r\n"));
}

TEST_F(PointFileFlow, TenThousandPointsGrowTheStoreOnce) {
  std::string bytes = "@MERI_PUNKT_1.0,\r\n,\r\n";
  for (int i = 1; i <= 10000; ++i) {
    bytes +=
        std::to_string(i) + ".5,2,3,\"P" + std::to_string(i) + "\",0," + std::to_string(i) + "\r\n";
  }
  writeBytes(t.folder / "big.meri", bytes);
  int lastPosition = 0;
  bool monotonic = true;
  t.platform.onPendingEvents = [&](int) {
    if (main.ProgressBar1.position > 0 && main.ProgressBar1.position < lastPosition)
      monotonic = false;
    if (main.ProgressBar1.position > 0) lastPosition = main.ProgressBar1.position;
  };
  open(t.folder / "big.meri");
  EXPECT_EQ(points.pointCount(), 10000);
  EXPECT_EQ(points.pointCapacity(), 11000);
  EXPECT_EQ(points.pointX[10000], 10000.5);
  EXPECT_TRUE(monotonic);
  // Progress counts bytes: the last point reaches the file size.
  EXPECT_EQ(lastPosition, static_cast<int>(bytes.size()));
  EXPECT_EQ(main.ProgressBar1.position, 0);
}

TEST_F(PointFileFlow, AMissingOrCancelledFileChangesNothing) {
  add(1, 2, 3, "A", 0);
  open(t.folder / "none.meri");
  EXPECT_EQ(points.pointCount(), 1);
  EXPECT_TRUE(t.platform.messages.empty());
  t.platform.openAnswers = {std::nullopt};
  main.Button3Click();
  EXPECT_EQ(points.pointCount(), 1);
  EXPECT_TRUE(main.Button3.enabled);
  EXPECT_EQ(t.platform.openRequests[0].title, "Otwórz plik punktów Merilonu");
  EXPECT_EQ(t.platform.openRequests[0].filter, "Pliki Merilon |*.meri");
}

TEST_F(PointFileFlow, OnlyAHeaderMakesNoPoint) {
  writeBytes(t.folder / "h.meri", crlf({"@MERI_PUNKT_1.0,", ","}));
  open(t.folder / "h.meri");
  EXPECT_EQ(points.pointCount(), 0);
}

TEST_F(PointFileFlow, OpeningRestoresTheRememberedCodes) {
  add(1, 2, 3, "A", 0);
  main.AxisCodeEdit.text = "OS";
  main.Humus2ThicknessEdit.text = "0.15";
  save(t.folder / "kody");
  main.AxisCodeEdit.text = "S";
  main.Humus2ThicknessEdit.text = "0.30";
  open(t.folder / "kody.meri");
  EXPECT_EQ(main.AxisCodeEdit.text, "OS");
  EXPECT_EQ(main.Humus2ThicknessEdit.text, "0.15");
}

}  // namespace
}  // namespace merilon
