// The two reads of the interchange file: header, layers, colours, the
// bounding box and the stored records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/text.h"
#include "import/dump_tables.h"
#include "import/reader.h"
#include "import/startup.h"
#include "support/host_folder.h"

namespace makenc {
namespace {

using test::cell;
using test::HostFolder;

// Both reads without measurement and chaining, as the reader leaves them.
Drawing read_only(const std::vector<std::string>& lines) {
  Reader rd;
  Drawing d;
  EXPECT_TRUE(first_read(rd, d, lines).ok());
  between_reads(rd, d);
  EXPECT_TRUE(second_read(rd, d, lines).ok());
  return d;
}

// Number forms the reading takes, plain and with exponents of either
// letter, a sign, a tab, more digits than a double holds.
const std::vector<std::string> kNumberTexts{"1.5E1",  "+2",
                                            "3D0",    "\t4",
                                            "0.000",  "7.",
                                            ".25",    "12345678901234567890",
                                            "0.1e-3", "99999999999999999.5"};

// The second read stores each coordinate as the value of its text, moved by
// the box's corner (the origin here), as the first read found it.
TEST(ReadingNumbers, StoredCoordinatesAreTheValuesOfTheirTexts) {
  const std::vector<std::string>& f = kNumberTexts;
  std::vector<std::string> lines{"#", "ly0", " 0 0 1 0"};
  for (std::size_t i = 0; i + 3 < f.size(); ++i)
    lines.push_back(" " + f[i] + " " + f[i + 1] + " " + f[i + 2] + " " + f[i + 3]);
  for (std::size_t i = 0; i + 1 < f.size(); ++i) lines.push_back("pt " + f[i] + " " + f[i + 1]);
  const Drawing d = read_only(lines);
  const Table& t = d.layer(0);
  std::size_t row = 1;
  for (std::size_t i = 0; i + 3 < f.size(); ++i, ++row)
    for (int c = 1; c <= 4; ++c)
      EXPECT_EQ(t.at(row, c).number(), numeric_value(f[i + c - 1])) << lines[row + 2];
  for (std::size_t i = 0; i + 1 < f.size(); ++i, ++row)
    for (int c = 1; c <= 2; ++c)
      EXPECT_EQ(t.at(row, c).number(), numeric_value(f[i + c - 1])) << lines[row + 2];
  EXPECT_EQ(row, t.last_row());
}

// The lines as strings and as views of the file's bytes read alike.
TEST(ReadingNumbers, LinesAsStringsOrAsViewsReadAlike) {
  std::vector<std::string> lines{"hq",          "#",        "ly0", "lc2",   " 0 0 10 0",
                                 " 10 0 10 10", "ci 5 5 2", "ly1", "pt 1 2"};
  for (std::size_t i = 0; i + 1 < kNumberTexts.size(); ++i)
    lines.push_back("ci " + kNumberTexts[i] + " " + kNumberTexts[i + 1] + " 1 0 90 1 0");
  const std::string bytes = join_crlf(lines);
  const std::vector<std::string_view> views = line_views(bytes);
  const Settings settings;
  auto as_strings = read_drawing(lines, settings);
  auto as_views = read_drawing(std::span<const std::string_view>(views), settings);
  ASSERT_TRUE(as_strings.ok() && as_views.ok());
  EXPECT_EQ(dump_tables(as_views->drawing), dump_tables(as_strings->drawing));
  EXPECT_EQ(as_views->working_copy, as_strings->working_copy);
}

// Asked for no warnings, start-up chains the same tables and names
// nothing: not the element drawn twice, not the lines overlapping in part.
TEST(ReadingNumbers, ContoursAloneAreTheTablesWithoutWarnings) {
  const std::vector<std::string> lines{"hq",          "#",           "ly0",       "lc2",       " 0 0 10 0",
                                       " 10 0 10 10", " 10 10 0 10", " 0 10 0 0", " 0 0 10 0", " 20 0 30 0",
                                       " 25 0 40 0",  "ci 50 5 2",   "ly1",       "pt 1 2"};
  const Settings settings;
  auto named = read_drawing(lines, settings);
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  auto bare = read_drawing(std::span<const std::string_view>(views), settings, {}, StartWarnings::none);
  ASSERT_TRUE(named.ok() && bare.ok());
  EXPECT_EQ(dump_tables(bare->drawing), dump_tables(named->drawing));
  EXPECT_EQ(named->warnings.size(), 2u);
  EXPECT_TRUE(bare->warnings.empty());
}

class Reading : public ::testing::Test {
 protected:
  HostFolder host;
};

TEST_F(Reading, HeaderGoesToTheWorkingCopyWithoutHq) {
  host.drawing(
      {"hq", "hk 0", "hs 250 250", "file=C:\\jww\\data\\a.jww", "ly0", "lc2", "#", "ly0", " 0 0 1 0"});
  StartUp s = host.started();
  const std::vector<std::string> header{"hk 0", "hs 250 250", "file=C:\\jww\\data\\a.jww", "ly0", "lc2", "#"};
  EXPECT_EQ(s.working_copy, header);
  EXPECT_EQ(host.read("Zemlak/Bin/makeNC.txt"), join_crlf(header));
  EXPECT_EQ(s.drawing.File_lin, "file=C:\\jww\\data\\a.jww");
}

TEST_F(Reading, WorkingCopyIsRewrittenFromScratch) {
  host.write("Zemlak/Bin/makeNC.txt", "old header\r\nold check drawing\r\n");
  host.drawing({"hk 0", "#"});
  host.started();
  EXPECT_EQ(host.read("Zemlak/Bin/makeNC.txt"), "hk 0\r\n#\r\n");
}

// A drawing refused before its header is read still leaves the working
// copy empty; one refused after it leaves the header.
TEST_F(Reading, ARefusedDrawingLeavesTheWorkingCopyEmptyOrWithItsHeader) {
  host.write("Zemlak/Bin/makeNC.txt", "old header\r\n");
  host.drawing({"hk 0", "#", "ly0", " 0 0 100 0", "ci 5 5 -1"});
  ASSERT_FALSE(host.start().ok());
  EXPECT_EQ(host.read("Zemlak/Bin/makeNC.txt"), "");
  host.drawing({"hk 0", "#", "ly0", " 0 0 1 0"});
  host.started();
  EXPECT_EQ(host.read("Zemlak/Bin/makeNC.txt"), "hk 0\r\n#\r\n");
}

TEST_F(Reading, WithoutHashEveryLineButHqIsHeader) {
  host.drawing({"hq", "hk 0", "ly0", " 0 0 1 1"});
  StartUp s = host.started();
  EXPECT_EQ(s.working_copy, (std::vector<std::string>{"hk 0", "ly0", " 0 0 1 1"}));
  EXPECT_FALSE(s.drawing.has_layer(0));
}

TEST_F(Reading, HeaderLayerSelectsTheFirstRecordsOfTheBody) {
  host.drawing({"hq", "ly3", "lc4", "#", " 0 0 1 0", "ly1", " 0 0 0 1"});
  StartUp s = host.started();
  ASSERT_TRUE(s.drawing.has_layer(3));
  ASSERT_TRUE(s.drawing.has_layer(1));
  EXPECT_EQ(s.drawing.LY_cnt[3], 1);
  EXPECT_EQ(cell(s.drawing, 3, 0, 0), "li");
  EXPECT_EQ(cell(s.drawing, 3, 0, 11), "4");  // the header's colour
  EXPECT_EQ(s.working_copy, (std::vector<std::string>{"ly3", "lc4", "#"}));
}

TEST_F(Reading, HeaderLinesSelectOnlyTheSixLayersAndNineColours) {
  host.drawing({"ly7", "lc9", "#", " 0 0 1 0"});
  StartUp s = host.started();
  for (int k = 0; k < kLayerCount; ++k) EXPECT_FALSE(s.drawing.has_layer(k));
  EXPECT_EQ(s.working_copy, (std::vector<std::string>{"ly7", "lc9", "#"}));
}

TEST_F(Reading, OtherLayersAreIgnoredUntilASixLayerIsSelectedAgain) {
  host.drawing({"#", "ly2", "lc2", " 0 0 1 0", "ly8", " 5 5 6 6", "ci 100 100 50", "lya", " 9 9 9 9", "ly2",
                " 1 0 1 1"});
  StartUp s = host.started();
  ASSERT_TRUE(s.drawing.has_layer(2));
  EXPECT_EQ(s.drawing.LY_cntAll, 2);
  EXPECT_EQ(s.drawing.layer(2).last_row(), 2u);
  EXPECT_EQ(s.drawing.X_max.text_form(), "1");  // records of ly8 do not widen the box
  EXPECT_EQ(s.drawing.Y_max.text_form(), "1");
}

TEST_F(Reading, HashInTheBodyIsIgnoredButHashWithMoreIsARecord) {
  host.drawing({"#", "ly0", "lc2", "#", " 0 0 1 0", "#x 1 2"});
  StartUp s = host.started();
  ASSERT_TRUE(s.drawing.has_layer(0));
  EXPECT_EQ(s.drawing.LY_cnt[0], 2);
  EXPECT_EQ(s.drawing.LY_cntAll, 2);
  EXPECT_EQ(s.working_copy, (std::vector<std::string>{"#"}));
}

TEST_F(Reading, AttributeLinesAreNotRecords) {
  host.drawing({"#", "ly0", "lt1", "pn3", "pl", "lc2", " 0 0 1 0", "l"});
  EXPECT_EQ(host.started().drawing.LY_cntAll, 2);
  // The one-letter line "l" is a record of its own kind.
  EXPECT_EQ(cell(read_only({"#", "ly0", "lt1", "pn3", "pl", "lc2", " 0 0 1 0", "l"}), 0, 1, 0), "l");
}

TEST_F(Reading, LastFileLineNamesTheDrawing) {
  host.drawing({"file=C:\\a.jww", "#", "ly0", " 0 0 1 0", "file=C:\\b.jww"});
  EXPECT_EQ(host.started().drawing.File_lin, "file=C:\\b.jww");
}

TEST_F(Reading, LineAloneIsMovedToTheOriginAndMarkedOutline) {
  host.drawing({"#", "ly0", "lc2", " 5 7 9 7"});
  StartUp s = host.started();
  const Drawing& d = s.drawing;
  EXPECT_EQ(d.X_min.text_form(), "5");
  EXPECT_EQ(d.Y_min.text_form(), "7");
  EXPECT_EQ(d.X_max.text_form(), "9");
  EXPECT_EQ(d.Y_max.text_form(), "7");
  EXPECT_TRUE(d.X_min.is_text());  // the box keeps the host's text
  EXPECT_EQ(cell(d, 0, 0, 0), "li");
  EXPECT_EQ(cell(d, 0, 0, 1), "0");
  EXPECT_EQ(cell(d, 0, 0, 2), "0");
  EXPECT_EQ(cell(d, 0, 0, 3), "4");
  EXPECT_EQ(cell(d, 0, 0, 4), "0");
  EXPECT_EQ(d.layer(0).at(0, 3).tag(), Cell::Tag::Double);
  EXPECT_EQ(cell(d, 0, 0, 11), "2");
  EXPECT_EQ(cell(d, 0, 0, 15), "G");
  EXPECT_EQ(cell(d, 0, 0, 12), "4");
}

TEST_F(Reading, CircleAloneKeepsItsRadiusText) {
  host.drawing({"#", "ly0", "lc2", "ci 10 10 5.0"});
  StartUp s = host.started();
  const Drawing& d = s.drawing;
  EXPECT_EQ(d.X_min.text_form(), "5");
  EXPECT_EQ(d.Y_min.text_form(), "5");
  EXPECT_EQ(d.X_max.text_form(), "15");
  EXPECT_EQ(d.Y_max.text_form(), "15");
  EXPECT_EQ(cell(d, 0, 0, 0), "ci");
  EXPECT_EQ(cell(d, 0, 0, 5), "5");
  EXPECT_EQ(cell(d, 0, 0, 6), "5");
  EXPECT_EQ(cell(d, 0, 0, 7), "5.0");
  EXPECT_TRUE(d.layer(0).at(0, 7).is_text());
  EXPECT_EQ(cell(d, 0, 0, 15), "G");
}

TEST_F(Reading, OnlyEntitiesTouchingTheLeftOrBottomEdgeAreOutline) {
  host.drawing({"#", "ly0", "lc2", " 0 0 10 0", " 10 0 10 10", " 10 10 3 10", "ci 5 5 1", "ci 5 5 5",
                "pt 0 4", "pt 4 4"});
  StartUp s = host.started();
  const Drawing& d = s.drawing;
  std::vector<std::string> marks;  // kind, length and outline mark of each row
  for (std::size_t r = 0; r != d.layer(0).last_row(); ++r)
    marks.push_back(cell(d, 0, r, 0) + " " + cell(d, 0, r, 12) + " " + cell(d, 0, r, 15));
  std::sort(marks.begin(), marks.end());
  EXPECT_EQ(marks, (std::vector<std::string>{"ci 31.4159265358979 G", "ci 6.28318530717958 ", "li 10 G",
                                             "li 10 G", "li 7 ", "pt  ", "pt  G"}));
}

TEST_F(Reading, TranslationUsesTheFifteenDigitTextOfTheBox) {
  // -X_min is 0.1234567890123456789, whose text form keeps 15 digits.
  host.drawing({"#", "ly0", " 0.1234567890123456789 0 1 1"});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.layer(0).at(0, 1).number(), 0.1234567890123456789 - 0.123456789012346);
  EXPECT_NE(cell(s.drawing, 0, 0, 1), "0");
  EXPECT_EQ(cell(s.drawing, 0, 0, 15), "G");  // the bottom edge
}

TEST_F(Reading, ArcAcrossZeroDegreesTakesTheRightmostPoint) {
  host.drawing({"#", "ly0", "ci 0 0 10 350 10 1 0"});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.X_max.text_form(), "10");
  // The end points are computed with the system's π, not the exact one.
  auto at = [](double deg, double (*f)(double)) { return Cell(10 * f(deg * kPi / 180)).text_form(); };
  EXPECT_EQ(s.drawing.X_min.text_form(), at(350, std::cos));
  EXPECT_EQ(s.drawing.Y_min.text_form(), at(350, std::sin));
  EXPECT_EQ(s.drawing.Y_max.text_form(), at(370, std::sin));
  EXPECT_EQ(at(350, std::sin), "-1.73648177666936");
}

TEST_F(Reading, ArcFrom200To190PassesTheLeftmostPointOnce) {
  host.drawing({"#", "ly0", "ci 0 0 10 200 190 1 0"});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.X_min.text_form(), "-10");
  EXPECT_EQ(s.drawing.X_max.text_form(), "10");
  EXPECT_EQ(s.drawing.Y_min.text_form(), "-10");
  EXPECT_EQ(s.drawing.Y_max.text_form(), "10");
}

TEST_F(Reading, ArcTiltTurnsBothAngles) {
  // 0..90 turned by 90 is the second quadrant: its box is -10..0 x 0..10.
  host.drawing({"#", "ly0", "ci 0 0 10 0 90 1 90"});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.X_min.text_form(), "-10");
  EXPECT_EQ(s.drawing.Y_max.text_form(), "10");
  EXPECT_NEAR(s.drawing.X_max.number(), 0, 1e-12);
  EXPECT_NEAR(s.drawing.Y_min.number(), 0, 1e-12);
}

TEST_F(Reading, ArcBoxIsItsExtentNotItsCentre) {
  // A quarter arc far from its centre: no direction lies strictly between
  // 0 and 90, and the centre (100, 100) is not part of the drawing.
  host.drawing({"#", "ly0", "ci 100 100 10 0 90 1 0"});
  StartUp s = host.started();
  EXPECT_NEAR(s.drawing.X_min.number(), 100, 1e-12);
  EXPECT_EQ(s.drawing.X_max.text_form(), "110");
  EXPECT_EQ(s.drawing.Y_min.text_form(), "100");
  EXPECT_EQ(s.drawing.Y_max.text_form(), "110");
}

TEST_F(Reading, BoxStartsAtTheFirstGeometricRecord) {
  // Texts, solids and line widths carry no coordinates of the drawing.
  host.drawing({"#", "ly0", "lw8", "BL", "ch 900 900 1 0 text", "sl -50 -50 0 0 1 1", "pt 5 6", " 7 8 9 9"});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.X_min.text_form(), "5");
  EXPECT_EQ(s.drawing.Y_min.text_form(), "6");
  EXPECT_EQ(s.drawing.X_max.text_form(), "9");
  EXPECT_EQ(s.drawing.Y_max.text_form(), "9");
  EXPECT_EQ(s.drawing.LY_cnt[0], 6);
}

TEST(ReaderCells, OtherKeywordsAreStoredAsTextUntranslated) {
  const Drawing d = read_only({"#", "ly0", "lc3", " 1 1 2 2", "ch 900 900 1 0 text"});
  EXPECT_EQ(cell(d, 0, 1, 0), "ch");
  EXPECT_EQ(cell(d, 0, 1, 1), "900");
  EXPECT_TRUE(d.layer(0).at(1, 1).is_text());
  EXPECT_EQ(cell(d, 0, 1, 5), "text");
  EXPECT_EQ(cell(d, 0, 1, 11), "3");
  EXPECT_TRUE(d.layer(0).at(1, 15).is_empty());
}

TEST(ReaderCells, BlLeavesItsRowEmpty) {
  const Drawing d = read_only({"#", "ly0", "lc3", "BL", " 1 1 2 2"});
  ASSERT_EQ(d.layer(0).cols(), static_cast<std::size_t>(kLastKeptColumn) + 1);
  for (std::size_t c = 0; c < d.layer(0).cols(); ++c) EXPECT_TRUE(d.layer(0).at(0, c).is_empty()) << c;
  EXPECT_EQ(cell(d, 0, 1, 0), "li");
}

TEST(ReaderCells, ArcsKeepTheirAnglesAsTextUntilMeasured) {
  const Drawing d = read_only({"#", "ly0", "ci 10 20 5 30 60 1 0"});
  EXPECT_EQ(cell(d, 0, 0, 0), "cci");
  EXPECT_EQ(cell(d, 0, 0, 4), "30");
  EXPECT_TRUE(d.layer(0).at(0, 4).is_text());
  EXPECT_EQ(d.layer(0).at(0, 1).tag(), Cell::Tag::Double);
}

TEST_F(Reading, NoRecordOnTheSixLayersLeavesNoTablesAndNoBox) {
  host.drawing({"hq", "#", "ly8", " 0 0 1 1", "ly9", "ci 1 1 1"});
  StartUp s = host.started();
  for (int k = 0; k < kLayerCount; ++k) EXPECT_FALSE(s.drawing.has_layer(k));
  EXPECT_TRUE(s.drawing.X_min.is_empty());
  EXPECT_FALSE(s.drawing.has_bounding_box());
  EXPECT_EQ(s.drawing.Cnt_total, 0);
  EXPECT_EQ(s.drawing.LY_cntAll, 0);
}

TEST_F(Reading, BlRowsStayEmpty) {
  host.drawing({"#", "ly1", "lc2", " 0 0 1 0", "BL", " 1 0 1 1"});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.LY_cntAll, 3);
  // The empty row is kept out of the contours; it is not in the rebuilt table.
  const Table& t = s.drawing.layer(1);
  ASSERT_EQ(t.last_row(), 3u);
  EXPECT_EQ(t.at(0, 0).text_form(), "li");
  EXPECT_EQ(t.at(1, 0).text_form(), "li");
  for (std::size_t c = 0; c < t.cols(); ++c) EXPECT_TRUE(t.at(2, c).is_empty());
}

TEST_F(Reading, SecondReadStartsWithTheFirstReadsColour) {
  // The body starts without an "lc" line; the record must not take the
  // colour of the last "lc" line of the file.
  host.drawing({"#", "ly0", " 0 0 1 0", "lc5", " 1 0 1 1"});
  StartUp s = host.started();
  EXPECT_TRUE(s.drawing.layer(0).at(0, 11).is_empty());
  EXPECT_EQ(cell(s.drawing, 0, 1, 11), "5");
}

TEST_F(Reading, HeaderColourCarriesIntoTheSecondRead) {
  host.drawing({"lc3", "#", "ly0", " 0 0 1 0", "lc5", " 1 0 1 1"});
  StartUp s = host.started();
  EXPECT_EQ(cell(s.drawing, 0, 0, 11), "3");
}

TEST_F(Reading, BodyColourIsTheLastCharacterOfTheLine) {
  host.drawing({"#", "ly0", "lc12", " 0 0 1 0", std::string("lc\x95\x5C"), " 1 0 1 1"});
  StartUp s = host.started();
  EXPECT_EQ(cell(s.drawing, 0, 0, 11), "2");
  EXPECT_EQ(cell(s.drawing, 0, 1, 11), "\x95\x5C");
}

std::string many_fields(const std::string& start, int fields) {
  std::string s = start;
  for (int i = 0; i < fields; ++i) s += " 1";
  return s;
}

// An empty line, and a record with fewer fields than its kind uses or more
// than a row holds, cannot be represented: left out and not counted, never
// read as a shorter record.
TEST_F(Reading, RecordsThatDoNotFitAreSkipped) {
  host.drawing({"#", "ly0", " 0 0 1 0", "", many_fields("sl", 21), many_fields("", 21), " 10 10 20", " ",
                "ci 1 1", "ci 0 0 1 0 90", "ci 0 0 1 0 90 1", "pt 3", "BL", "pt 2 2"});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.LY_cntAll, 3);  // the line, "BL" and the point
  EXPECT_EQ(cell(s.drawing, 0, 1, 0), "pt");
}

// A text is carried as the host wrote it, even with a byte that is not code
// page 932: it is never cut.
TEST_F(Reading, ADamagedByteInATextIsCarried) {
  host.drawing({"#", "ly0", " 0 0 1 0", "ch 1 1 1 0 \xFE", "ch 1 1 1 0 \xE0\x3F"});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.LY_cntAll, 3);
}

TEST(ReaderCells, SkippedRecordsAreKeptWithTheirLines) {
  Reader rd;
  Drawing d;
  ASSERT_TRUE(
      first_read(rd, d, {"#", "ly0", " 0 0 1 0", "", "ch 1 1 1 0" + std::string(40, ' ') + "x"}).ok());
  ASSERT_EQ(rd.skipped.size(), 2u);
  EXPECT_EQ(rd.skipped[0].number, 4);
  EXPECT_EQ(rd.skipped[1].number, 5);
  EXPECT_EQ(d.LY_cnt[0], 1);
}

// A line, circle, arc or point whose numbers cannot be read would be cut
// somewhere else: start-up stops and names the line.
struct DamagedRecord {
  std::string record;
  std::string reason;  // part of the message after the line
};

class DamagedGeometry : public ::testing::TestWithParam<DamagedRecord> {};

TEST_P(DamagedGeometry, StopsStartUpNamingTheLine) {
  HostFolder host;
  host.drawing({"hq", "#", "ly0", "lc2", " 0 0 100 0", GetParam().record, " 100 0 100 50"});
  const std::string before = host.read("JWC_TEMP.TXT");
  auto r = host.start();
  ASSERT_FALSE(r.ok()) << GetParam().record;
  const std::string& message = r.error().message;
  EXPECT_EQ(message.rfind("JWC_TEMP.TXT line 6 \"", 0), 0u) << message;
  EXPECT_NE(message.find(GetParam().reason), std::string::npos) << message;
  EXPECT_EQ(host.read("JWC_TEMP.TXT"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Records, DamagedGeometry,
    ::testing::Values(DamagedRecord{" 10 10 abc 20", "field 3 \"abc\" is not a number"},
                      DamagedRecord{" 10 10 nan 20", "field 3 \"nan\" is not a number"},
                      DamagedRecord{" inf 10 20 20", "field 1 \"inf\" is not a number"},
                      DamagedRecord{" 10 10 20 20x", "field 4 \"20x\" is not a number"},
                      DamagedRecord{"pt 1  2", "field 2 \"\" is not a number"},
                      DamagedRecord{"ci 5 5 r5", "field 3 \"r5\" is not a number"},
                      DamagedRecord{"ci 0 0 5 0 90 1 tilt", "field 7 \"tilt\" is not a number"},
                      DamagedRecord{" 10 10 1e400 20", "the number \"1e400\" is too large to compute with"},
                      DamagedRecord{"ci 5 5 -5", "the radius \"-5\" is below 0"},
                      DamagedRecord{"ci 5 5 -0.5 0 90 1 0", "the radius \"-0.5\" is below 0"},
                      DamagedRecord{" 10 10 20 20\x81",
                                    "byte 0x81 at column 13 is not a character of code page 932"},
                      DamagedRecord{" 10\x81 10 20 20", "byte 0x81 at column 4"},
                      DamagedRecord{" 10 10 20 \x80\x32\x30", "byte 0x80 at column 11"},
                      DamagedRecord{" \xA0\x31\x30 10 20 20", "byte 0xA0 at column 2"},
                      DamagedRecord{"ci 5 5 5\xFD", "byte 0xFD"}, DamagedRecord{"pt 1 1 \xFF", "byte 0xFF"},
                      DamagedRecord{"lc2\x81", "byte 0x81 at column 4"}));

// A text as long as any the host could write is read whole; a message
// quotes only its start.
TEST_F(Reading, VeryLongLinesAreReadAndQuotedShort) {
  const std::string digits(70000, '1');
  host.drawing({"#", "ly0", " 0 0 100 0", "ch 1 1 1 0 " + digits, " 0 0 0 " + digits});
  auto r = host.start();
  ASSERT_FALSE(r.ok());
  const std::string& message = r.error().message;
  EXPECT_EQ(message.rfind("JWC_TEMP.TXT line 5 \" 0 0 0 1111", 0), 0u) << message.substr(0, 200);
  EXPECT_NE(message.find("...\""), std::string::npos);
  EXPECT_LT(message.size(), 300u);
  EXPECT_NE(message.find("too large to compute with"), std::string::npos) << message.substr(0, 300);
  // A radius just below 0 is named, in short.
  host.drawing({"#", "ly0", " 0 0 100 0", "ci 5 5 -0." + std::string(300, '0') + "1"});
  auto radius = host.start();
  ASSERT_FALSE(radius.ok());
  EXPECT_NE(radius.error().message.find("the radius \"-0.000"), std::string::npos);
  EXPECT_NE(radius.error().message.find("...\" is below 0"), std::string::npos);
  EXPECT_LT(radius.error().message.size(), 300u);
  host.drawing({"#", "ly0", " 0 0 100 0", "ch 1 1 1 0 " + digits});
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.LY_cntAll, 2);
}

TEST(ReaderCells, FieldsAfterTwelveAreNotStored) {
  std::string many = "sl";
  for (int i = 1; i <= 20; ++i) {  // 21 fields
    many += ' ';
    many += std::to_string(i);
  }
  const Drawing d = read_only({"#", "ly0", "lc2", many});
  const Table& t = d.layer(0);
  EXPECT_EQ(t.at(0, 10).text_form(), "10");
  EXPECT_EQ(t.at(0, 11).text_form(), "2");  // the colour, not field 11
  EXPECT_EQ(t.at(0, 12).text_form(), "12");
  for (std::size_t c = 13; c <= 20; ++c) EXPECT_TRUE(t.at(0, c).is_empty()) << c;
}

TEST_F(Reading, CountsAreNotLimitedTo16Bits) {
  std::vector<std::string> lines{"#", "ly5"};
  for (int i = 0; i < 33000; ++i) lines.push_back("pt " + std::to_string(i % 100) + " 1");
  host.drawing(lines);
  StartUp s = host.started();
  EXPECT_EQ(s.drawing.LY_cntAll, 33000);
  EXPECT_EQ(s.drawing.Cnt_total, 33000);
  EXPECT_EQ(cell(s.drawing, 5, 32999, 13), "33000");
}

}  // namespace
}  // namespace makenc
