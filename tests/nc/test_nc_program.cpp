#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "core/text.h"
#include "nc/nc_output_name.h"
#include "nc/nc_program.h"
#include "nc_fixtures.h"
#include "support/files.h"
#include "support/scoped_home.h"

namespace makenc {
namespace {

using test::NcCase;
using test::TempFolder;

using test::ScopedHome;

const std::string kSj = utf8_to_cp932("表示板");  // 表 ends in the byte of "\"

TEST(OutputName, NamedDrawingGoesToZemlakUnderTheHostFolder) {
  const std::filesystem::path host = "/host";
  auto name = nc_output_name(host, "file=C:\\data\\part.jww", "2026/12/06");
  ASSERT_TRUE(name.ok());
  EXPECT_EQ(name->NC_path, "Zemlak\\part.nc");
  EXPECT_EQ(name->shown, name->NC_path);
  EXPECT_EQ(name->file, host / "Zemlak" / "part.nc");
}

TEST(OutputName, TheNameIsTheLastPartWithoutItsExtension) {
  EXPECT_EQ(drawing_name("file=C:\\data\\part.jww"), "part");
  EXPECT_EQ(drawing_name("file=C:\\data\\part"), "part");  // no extension: nothing dropped
  EXPECT_EQ(drawing_name("file=C:/data/part.v2.jww"), "part.v2");
  EXPECT_EQ(drawing_name("file=ab.jww"), "ab");  // no separator: "file=" dropped
  EXPECT_EQ(drawing_name("file="), "");
  EXPECT_EQ(drawing_name("file=C:\\data\\"), "");
  EXPECT_EQ(drawing_name(""), "");
}

TEST(OutputName, SeparatorsAreFoundOnCharacterBoundaries) {
  const std::string line = "file=C:\\" + utf8_to_cp932("図面") + "\\" + utf8_to_cp932("表示") + ".jww";
  EXPECT_EQ(drawing_name(line), utf8_to_cp932("表示"));
  EXPECT_EQ(drawing_name("file=" + kSj + ".jww"), kSj);
  auto name = nc_output_name("/host", "file=D:\\" + kSj + ".jww", "2026/12/06");
  ASSERT_TRUE(name.ok());
  EXPECT_EQ(name->NC_path, "Zemlak\\" + kSj + ".nc");
  EXPECT_EQ(name->file, std::filesystem::path("/host/Zemlak/表示板.nc"));
}

TEST(OutputName, UnnamedDrawingIsNamedByTheDate) {
  TempFolder home;
  ScopedHome scoped(home.path());
  for (const char* line : {"file=", "file=C:\\data\\", "", "file=C:\\data\\.jww"}) {
    auto name = nc_output_name("/host", line, "2026/12/06");
    ASSERT_TRUE(name.ok()) << line;
    EXPECT_EQ(name->NC_path, "C:\\jww\\Zemlak\\2026-12-06.nc");
    EXPECT_EQ(name->file, home.path() / "jww" / "Zemlak" / "2026-12-06.nc");
    EXPECT_EQ(name->shown, name->file.string());
  }
}

TEST(OutputName, NoNameLeadsOutsideTheOutputFolder) {
  const std::filesystem::path host = "/host";
  for (const char* line : {"file=C:\\data\\..", "file=..", "file=C:\\x\\...jww", "file=a/../../b.jww"}) {
    auto name = nc_output_name(host, line, "2026/12/06");
    ASSERT_TRUE(name.ok()) << line;
    EXPECT_EQ(name->file.parent_path(), host / "Zemlak") << line;
    EXPECT_NE(name->file.filename(), "..");
  }
  auto control = nc_output_name(host, std::string("file=C:\\a\0b.jww", 15), "2026/12/06");
  EXPECT_FALSE(control.ok());
  // On Windows these would name a stream of another file or a device.
  for (const char* line :
       {"file=C:\\x\\a:b.jww", "file=C:\\x\\a|b.jww", "file=C:\\x\\a*.jww", "file=C:\\x\\CON.jww",
        "file=C:\\x\\nul.part.jww", "file=C:\\x\\Com1 .jww", "file=C:\\x\\lpt9.jww"})
    EXPECT_FALSE(nc_output_name(host, line, "2026/12/06").ok()) << line;
  EXPECT_TRUE(nc_output_name(host, "file=C:\\x\\CONSOLE.jww", "2026/12/06").ok());
}

// A name with a damaged byte would name one file on disk ("?" for the byte)
// and another in the program's header; a name past what a file system takes
// cannot be written at all. Both are refused before anything is written.
TEST(OutputName, DamagedOrOverlongNamesAreRefused) {
  const std::filesystem::path host = "/host";
  for (const std::string& line :
       {std::string("file=C:\\a\\t\x81.jww"), std::string("file=C:\\a\\t\x81"), std::string("file=t\xFF.jww"),
        std::string("file=\x80t.jww"), std::string("file=C:\\a\\\xA0.jww")}) {
    auto name = nc_output_name(host, line, "2026/12/06");
    ASSERT_FALSE(name.ok()) << cp932_to_utf8(line);
    EXPECT_NE(name.error().message.find("is not code page 932 text"), std::string::npos)
        << name.error().message;
  }
  const std::string longest(252, 'a');  // 255 bytes with ".nc"
  EXPECT_TRUE(nc_output_name(host, "file=C:\\" + longest + ".jww", "2026/12/06").ok());
  auto too_long = nc_output_name(host, "file=C:\\" + longest + "a.jww", "2026/12/06");
  ASSERT_FALSE(too_long.ok());
  EXPECT_NE(too_long.error().message.find("too long to name a file (256 bytes"), std::string::npos)
      << too_long.error().message;
  EXPECT_LT(too_long.error().message.size(), 200u);
  // Double-byte characters count as the bytes they take on disk: 90 of
  // them are 180 bytes in the drawing and 270 in the file name.
  std::string wide;
  for (int i = 0; i < 90; ++i) wide += utf8_to_cp932("表");
  auto wide_name = nc_output_name(host, "file=C:\\" + wide + ".jww", "2026/12/06");
  ASSERT_FALSE(wide_name.ok());
  EXPECT_NE(wide_name.error().message.find("(273 bytes"), std::string::npos) << wide_name.error().message;
}

TEST(Header, PlaceholdersAreReplacedInOrder) {
  const TemplateLines head = {"(DATE dete)", "(Nc_name)", "(WIDExHIGHT)", "", "dete dete", ""};
  const auto lines = fill_header(head, "2026/12/06", "Zemlak\\part.nc", "150 x 80");
  EXPECT_EQ(lines, (std::vector<std::string>{"(DATE 2026/12/06)", "(Zemlak\\part.nc)", "(150 x 80)", "",
                                             "2026/12/06 2026/12/06"}));
}

TEST(Header, ADoubleByteCharacterIsNeverTakenForAPlaceholder) {
  // 0x81 0x64 is one character whose second byte reads as "d".
  const std::string line =
      "\x81"
      "dete";
  EXPECT_EQ(fill_header({line, ""}, "D", "N", "S").front(), line);
}

// The placeholders replaced one after the other, each at the character
// starts of the line as the previous one left it.
std::string filled_by_character_starts(std::string line,
                                       const std::vector<std::pair<std::string, std::string>>& by) {
  for (const auto& [from, to] : by) {
    std::string out;
    const std::vector<std::size_t> starts = char_starts(line);
    std::size_t skip_to = 0;
    for (std::size_t i = 0; i < starts.size(); ++i) {
      const std::size_t at = starts[i];
      if (at < skip_to) continue;
      const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : line.size();
      if (line.compare(at, from.size(), from) == 0) {
        out += to;
        skip_to = at + from.size();
      } else {
        out.append(line, at, end - at);
      }
    }
    line = out;
  }
  return line;
}

TEST(Header, PlaceholdersAreFoundAtCharacterStartsInAnyLine) {
  // Pieces of placeholders, lead bytes with and without their second byte,
  // and a date, path and size that hold placeholders themselves.
  const std::vector<std::string> pieces = {"dete", "Nc_name", "WIDExHIGHT", "de",   "te",   "Nc_",
                                           "name", "WIDE",    "x",          "\x81", "\x82", "\x9f",
                                           "\xe0", "e",       " ",          kSj};
  const std::string date = "Nc_name/12", path = "C:\\dete\\WIDExHIGHT.nc", size = "dete x 1";
  std::mt19937 random(20261208);
  std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1), count(0, 12);
  for (int n = 0; n < 3000; ++n) {
    std::string line;
    for (std::size_t k = count(random); k > 0; --k) line += pieces[piece(random)];
    const std::string expected =
        filled_by_character_starts(line, {{"dete", date}, {"Nc_name", path}, {"WIDExHIGHT", size}});
    ASSERT_EQ(fill_header({line, ""}, date, path, size), std::vector<std::string>{expected}) << line;
  }
}

TEST(Header, SizeIsDoubleWidthTimesSingleHeight) {
  Drawing d;
  d.X_min = 10.0, d.X_max = 160.0, d.Y_min = "20", d.Y_max = "100";
  EXPECT_EQ(drawing_size_text(d).value(), "150 x 80");
  d.X_max = 1244.56789, d.Y_max = 1254.56789;
  EXPECT_EQ(drawing_size_text(d).value(), "1234.56789 x 1234.568");
  d.Y_max = "12abc";
  EXPECT_FALSE(drawing_size_text(d).ok());
  EXPECT_EQ(drawing_size_text(Drawing{}).value(), "0 x 0");
}

// A size beyond what its precision holds has no text: "0" in the header
// would tell the operator the sheet is empty.
TEST(Header, SizeBeyondItsPrecisionIsAnErrorNotZero) {
  Drawing d;
  d.X_min = "0", d.X_max = "10", d.Y_min = "0", d.Y_max = "1E39";
  EXPECT_FALSE(drawing_size_text(d).ok());  // too tall for a single
  d.Y_max = "10", d.X_min = "-1E308", d.X_max = "1E308";
  EXPECT_FALSE(drawing_size_text(d).ok());  // wider than a double
  d.X_min = "0", d.X_max = "3E38", d.Y_max = "3E38";
  EXPECT_TRUE(drawing_size_text(d).ok());
}

struct HostCase {
  TempFolder host;
  NcCase c = test::worked_example();
  HostCase() {
    c.folder = host.path();
    test::write_host_templates(host.path());
  }
  std::filesystem::path nc_file() const { return host.path() / "Zemlak" / "part.nc"; }
};

TEST(MakeNcData, WritesHeaderBodyAndFooterWithCrLf) {
  HostCase h;
  auto written = make_nc_data(h.c.input());
  ASSERT_TRUE(written.ok()) << written.error().message;
  EXPECT_EQ(written->file, h.nc_file());
  EXPECT_EQ(written->message, "Zemlak\\part.nc" + utf8_to_cp932("に出力しました。"));
  const std::string expected =
      "%\r\n(DATE 2026/12/06)\r\n(Zemlak\\part.nc)\r\n(100 x 60)\r\n"
      "G00X30.Y25.G40\r\nM07\r\n(CUT)\r\nK1\r\nG01X30.Y20.G41\r\nG03J10.\r\nM09\r\n"
      "G00X60.Y20.G40\r\nM08\r\nKM\r\nG01X80.Y20.\r\nM09\r\nM99\r\n"
      "G00X50.Y65.G40\r\nM07\r\n(CUT)\r\nK2\r\nG01X50.Y60.G41\r\n"
      "G01X100.Y60.\r\nG01X100.Y0.\r\nG01X0.Y0.\r\nG01X0.Y60.\r\nG01X50.Y60.\r\nM09\r\n"
      "M30\r\n(Nc_name)\r\n%\r\n";
  EXPECT_EQ(test::file_bytes(h.nc_file()), expected);
}

TEST(MakeNcData, DoubleByteNameIsBytesInTheHeaderAndUtf8OnDisk) {
  HostCase h;
  h.c.drawing.File_lin = "file=C:\\" + kSj + ".jww";
  auto written = make_nc_data(h.c.input());
  ASSERT_TRUE(written.ok()) << written.error().message;
  const auto file = h.host.path() / "Zemlak" / "表示板.nc";
  EXPECT_EQ(written->file, file);
  EXPECT_NE(test::file_bytes(file).find("(Zemlak\\" + kSj + ".nc)\r\n"), std::string::npos);
  EXPECT_EQ(written->message.rfind("Zemlak\\" + kSj + ".nc", 0), 0u);
}

TEST(MakeNcData, UnnamedDrawingGoesToTheHomeFolder) {
  HostCase h;
  TempFolder home;
  ScopedHome scoped(home.path());
  h.c.drawing.File_lin = "file=";
  std::filesystem::create_directories(home.path() / "jww" / "Zemlak");
  auto written = make_nc_data(h.c.input());
  ASSERT_TRUE(written.ok()) << written.error().message;
  const std::filesystem::path file = home.path() / "jww" / "Zemlak" / "2026-12-06.nc";
  ASSERT_TRUE(std::filesystem::is_regular_file(file));
  // The header keeps the host's name; the message names the file written.
  EXPECT_NE(test::file_bytes(file).find("(C:\\jww\\Zemlak\\2026-12-06.nc)\r\n"), std::string::npos);
  EXPECT_EQ(written->message, file.string() + utf8_to_cp932("に出力しました。"));
}

TEST(MakeNcData, OuterContourIsLeftOutOnlyWhenItIsTheOutline) {
  HostCase h;
  h.c.options.skip_outline = true;
  ASSERT_TRUE(make_nc_data(h.c.input()).ok());
  std::string nc = test::file_bytes(h.nc_file());
  EXPECT_EQ(nc.find("G00X50.Y65.G40"), std::string::npos);
  EXPECT_NE(nc.find("G00X60.Y20.G40"), std::string::npos);
  h.c.assignment.last_is_outline = false;
  ASSERT_TRUE(make_nc_data(h.c.input()).ok());
  nc = test::file_bytes(h.nc_file());
  EXPECT_NE(nc.find("G00X50.Y65.G40"), std::string::npos);
}

// Settings that would cut wrong are refused before the program is written;
// the old program stays for the machine as it was.
TEST(MakeNcData, LeadInsPlacedWithAnApproachThatCannotBeCutAreRefused) {
  HostCase h;
  test::write_file(h.nc_file(), "OLD PROGRAM\r\n");
  h.c.settings.ini_Apr = h.c.assignment.ini_Apr = "-5";
  auto written = make_nc_data(h.c.input());
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().message,
            "Zemlak/Bin/set.ini line 2: the approach length \"-5\" is not a number above 0");
  EXPECT_EQ(test::file_bytes(h.nc_file()), "OLD PROGRAM\r\n");
  // Corrected in the dialog since: the lead-ins of the cut list are still
  // the ones placed with the old value.
  h.c.settings.ini_Apr = "5";
  written = make_nc_data(h.c.input());
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().message,
            "Zemlak/Bin/set.ini line 2: the approach length \"-5\" is not a number above 0; the lead-ins "
            "were placed with it: press アプローチ自動割付 again");
  EXPECT_EQ(test::file_bytes(h.nc_file()), "OLD PROGRAM\r\n");
  // A value spoilt since does not touch lead-ins placed with a good one.
  h.c.assignment.ini_Apr = "5";
  h.c.settings.ini_Apr = "abc";
  EXPECT_TRUE(make_nc_data(h.c.input()).ok());
}

TEST(MakeNcData, ACutListWithoutLeadInsIsCutWhateverTheApproachLength) {
  HostCase h;
  h.c.assignment.Ord_dat = test::cut_list({{"ly1", 3, 1, 60, 20, 80, 20, "mark", "line"}});
  h.c.assignment.last_is_outline = false;
  h.c.settings.ini_Apr = h.c.assignment.ini_Apr = "0";
  ASSERT_TRUE(make_nc_data(h.c.input()).ok());
  EXPECT_NE(test::file_bytes(h.nc_file()).find("G01X80.Y20."), std::string::npos);
  // With one lead-in it is asked.
  h.c.assignment.Ord_dat = test::cut_list(
      {{"ly1", 3, 1, 60, 20, 80, 20, "mark", "line"}, {"ly0", 2, 1, 30, 25, 30, 20, "cut", "circle"}});
  EXPECT_FALSE(make_nc_data(h.c.input()).ok());
}

TEST(MakeNcData, AJointBelowZeroIsRefusedOnlyWhenJointsAreLeft) {
  HostCase h;
  h.c.settings.ini_joint = -2.0f;
  h.c.settings.ini_joint_text = "-2";
  h.c.options.joints = false;
  ASSERT_TRUE(make_nc_data(h.c.input()).ok());
  test::write_file(h.nc_file(), "OLD PROGRAM\r\n");
  h.c.options.joints = true;
  auto written = make_nc_data(h.c.input());
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().message,
            "Zemlak/Bin/set.ini line 8: the joint length \"-2\" is not a number of 0 or above");
  EXPECT_EQ(test::file_bytes(h.nc_file()), "OLD PROGRAM\r\n");
  h.c.settings.ini_joint = 0.0f;  // no joint
  EXPECT_TRUE(make_nc_data(h.c.input()).ok());
}

class MissingTemplate : public ::testing::TestWithParam<const char*> {};

TEST_P(MissingTemplate, IsAnErrorNamingItAndNothingIsWritten) {
  HostCase h;
  test::write_file(h.nc_file(), "OLD PROGRAM\r\n");
  const auto file = h.host.path() / "Zemlak" / "Bin" / GetParam();
  std::filesystem::remove(file);
  auto written = make_nc_data(h.c.input());
  ASSERT_FALSE(written.ok());
  EXPECT_NE(written.error().message.find(GetParam()), std::string::npos);
  EXPECT_EQ(test::file_bytes(h.nc_file()), "OLD PROGRAM\r\n");
  // A folder in the template's place cannot be read either, and is named
  // as what it is.
  std::filesystem::create_directory(file);
  auto folder = make_nc_data(h.c.input());
  ASSERT_FALSE(folder.ok());
  EXPECT_NE(folder.error().message.find(std::string(GetParam()) + ": it is a folder, not a file"),
            std::string::npos)
      << folder.error().message;
  EXPECT_EQ(test::file_bytes(h.nc_file()), "OLD PROGRAM\r\n");
}

INSTANTIATE_TEST_SUITE_P(EachTemplate, MissingTemplate,
                         ::testing::Values("sta_cut.ini", "end.ini", "sta_mark.ini", "head.ini", "foot.ini"));

TEST(MakeNcData, MissingOutputFolderIsAnErrorNamingTheFile) {
  // A named drawing's folder holds the templates, so only the unnamed
  // drawing's folder can be missing.
  HostCase h;
  TempFolder home;
  ScopedHome scoped(home.path());
  h.c.drawing.File_lin = "file=";
  auto written = make_nc_data(h.c.input());
  ASSERT_FALSE(written.ok());
  EXPECT_NE(written.error().message.find("2026-12-06.nc"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(home.path() / "jww"));
}

TEST(MakeNcData, AFileInThePlaceOfTheOutputFolderIsNamed) {
  HostCase h;
  TempFolder home;
  ScopedHome scoped(home.path());
  test::write_file(home.path() / "jww" / "Zemlak", "not a folder");
  h.c.drawing.File_lin = "file=";
  auto written = make_nc_data(h.c.input());
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().message,
            "the NC program was not written: " + (home.path() / "jww" / "Zemlak").string() +
                " is a file, not a folder");
  EXPECT_EQ(test::file_bytes(home.path() / "jww" / "Zemlak"), "not a folder");
}

TEST(ShortDate, IsYearMonthDayWithSlashes) {
  const std::string d = short_date_today();
  ASSERT_EQ(d.size(), 10u);
  EXPECT_EQ(d[4], '/');
  EXPECT_EQ(d[7], '/');
  for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) EXPECT_TRUE(d[i] >= '0' && d[i] <= '9') << d;
  EXPECT_GE(std::stoi(d.substr(0, 4)), 2024);
}

}  // namespace
}  // namespace makenc
