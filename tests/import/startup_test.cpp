// Start-up as a whole: settings, both reads, measurement and chaining, and
// the failures that stop it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "import/dump_tables.h"
#include "support/files.h"
#include "support/host_folder.h"

namespace makenc {
namespace {

using test::cell;
using test::file_bytes;
using test::HostFolder;

class StartingUp : public ::testing::Test {
 protected:
  // Start-up that must fail; the interchange file must be as it was.
  std::string failure() {
    const std::string before = host.read("JWC_TEMP.TXT");
    auto r = host.start();
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(host.read("JWC_TEMP.TXT"), before);
    return r.ok() ? "" : r.error().message;
  }
  HostFolder host;
};

TEST_F(StartingUp, MissingInterchangeFileIsNamed) {
  const std::string message = failure();
  EXPECT_NE(message.find("JWC_TEMP.TXT"), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(host.path() / "JWC_TEMP.TXT"));
}

TEST_F(StartingUp, MissingSystemFolderIsNamed) {
  host.drawing({"#", "ly0", " 0 0 1 0"});
  std::filesystem::remove_all(host.path() / "Zemlak");
  const std::string message = failure();
  EXPECT_NE(message.find("Zemlak"), std::string::npos) << message;
  EXPECT_NE(message.find("Bin"), std::string::npos) << message;
}

TEST_F(StartingUp, BoxThatIsNotANumberNamesItsLine) {
  host.drawing({"hq", "#", "ly0", " 1 1 2 2", " abc 1 2 3"});
  const std::string message = failure();
  EXPECT_NE(message.find("line 5"), std::string::npos) << message;
  EXPECT_NE(message.find(" abc 1 2 3"), std::string::npos) << message;
}

TEST_F(StartingUp, BottomThatIsNotANumberNamesItsLine) {
  host.drawing({"#", "ly0", "pt 1 -x"});
  const std::string message = failure();
  EXPECT_NE(message.find("line 3"), std::string::npos) << message;
  EXPECT_NE(message.find("-x"), std::string::npos) << message;
}

TEST_F(StartingUp, EllipticalArcStopsWithItsLine) {
  host.drawing({"#", "ly2", "ci 0 0 10 0 90 1 0", "ci 0 0 10 0 90 0.5 0"});
  const std::string message = failure();
  EXPECT_NE(message.find("line 4"), std::string::npos) << message;
  EXPECT_NE(message.find("ellipse"), std::string::npos) << message;
}

TEST_F(StartingUp, EllipticalArcOnAnotherLayerIsNotRead) {
  host.drawing({"#", "ly7", "ci 0 0 10 0 90 0.5 0", "ly0", " 0 0 1 0"});
  EXPECT_TRUE(host.start().ok());
}

TEST_F(StartingUp, RadiusThatIsNotANumberNamesItsLine) {
  host.drawing({"#", "ly0", " 0 0 9 9", "ci 5 5 r5"});
  const std::string message = failure();
  EXPECT_NE(message.find("line 4"), std::string::npos) << message;
  EXPECT_NE(message.find("r5"), std::string::npos) << message;
}

// The preview's fit and the program's size line subtract the box's edges,
// so the right and top edges must be numbers as much as the left and bottom;
// a coordinate that is not a number stops start-up wherever it stands.
TEST_F(StartingUp, RightOrTopEdgeThatIsNotANumberNamesItsLine) {
  host.drawing({"#", "ly0", " 0 0 5 5", " 0 0 10x 5"});
  std::string message = failure();
  EXPECT_NE(message.find("line 4"), std::string::npos) << message;
  EXPECT_NE(message.find("\"10x\" is not a number"), std::string::npos) << message;
  host.drawing({"#", "ly0", "pt 1 2", "pt 0 7y"});
  message = failure();
  EXPECT_NE(message.find("line 4"), std::string::npos) << message;
  EXPECT_NE(message.find("\"7y\" is not a number"), std::string::npos) << message;
}

// A number too large for a double would leave infinite or undefined
// coordinates in the tables; the record is named instead.
TEST_F(StartingUp, NumberTooLargeToComputeWithNamesItsLine) {
  const std::vector<std::string> records{" 0 0 1E999 0",           "pt 3 -1D999",
                                         "ci 5 5 1E999",           "ci 5 5 1 0 1E999 1 0",
                                         "ci 5 5 1 -1E999 90 1 0", "ci 5 5 1 0 90 1 1E999"};
  for (const std::string& record : records) {
    host.drawing({"#", "ly0", " 0 0 10 0", record});
    const std::string message = failure();
    EXPECT_NE(message.find("line 4 \"" + record + "\""), std::string::npos) << message;
    EXPECT_NE(message.find("too large"), std::string::npos) << message;
  }
}

TEST_F(StartingUp, BoxThatOverflowsNamesItsLine) {
  // Each number fits a double, the extent of the drawing does not.
  for (const std::string& record : {std::string(" 1E308 0 -1E308 0"), std::string("ci 1E308 0 1E308"),
                                    std::string("ci 0 0 1.7E308 180 0 1 0")}) {
    host.drawing({"#", "ly0", record});
    const std::string message = failure();
    EXPECT_NE(message.find("line 3 \"" + record + "\""), std::string::npos) << message;
    EXPECT_NE(message.find("too far"), std::string::npos) << message;
  }
}

// The NC program holds coordinates in single precision: a drawing wider or
// higher than a single holds stops start-up, naming the record of the edge
// farther out.
TEST_F(StartingUp, BoxBeyondSinglePrecisionNamesItsLine) {
  for (const std::string& far : {std::string(" 0 0 1E39 0"), std::string(" -1E300 0 -1E300 0"),
                                 std::string("pt 0 3.5E38"), std::string("ci 0 -1E39 1")}) {
    host.drawing({"#", "ly0", " 0 0 100 50", far, "pt 5 5"});
    const std::string message = failure();
    EXPECT_NE(message.find("line 4 \"" + far + "\""), std::string::npos) << message;
    EXPECT_NE(message.find("too far out"), std::string::npos) << message;
  }
  host.drawing({"#", "ly0", " 0 0 1E38 0", " 0 0 0 1E38"});
  EXPECT_TRUE(host.start().ok());
}

TEST_F(StartingUp, EmptyInterchangeFileIsAnError) {
  host.write("JWC_TEMP.TXT", "");
  const std::string message = failure();
  EXPECT_NE(message.find("JWC_TEMP.TXT is empty"), std::string::npos) << message;
}

TEST_F(StartingUp, InterchangeFileIsNeverChanged) {
  host.drawing({"hq", "hk 0", "#", "ly0", "lc2", " 0 0 1 0", " 1 0 0 0"});
  const std::string before = host.read("JWC_TEMP.TXT");
  host.started();
  EXPECT_EQ(host.read("JWC_TEMP.TXT"), before);
}

TEST_F(StartingUp, ReadsTheSettingsFirst) {
  host.write("Zemlak/Bin/set.ini", "0\r\n5\r\n1000\r\n");
  host.drawing({"#", "ly0", "pt 0 0", " 2 2 0.1 0.1", " 0.1 0.1 2 3"});
  StartUp s = host.started();
  EXPECT_EQ(host.settings.ini_GOSA, "0");
  EXPECT_EQ(s.drawing.Cnt_total, 3);  // with tolerance 0 the ends at 0.1 do not meet
}

TEST_F(StartingUp, RecordsOnlyOnLy2) {
  host.drawing({"#", "ly2", "lc2", " 0 0 10 0", " 10 0 10 10", " 10 10 0 0"});
  StartUp s = host.started();
  for (int k = 0; k < kLayerCount; ++k) EXPECT_EQ(s.drawing.has_layer(k), k == 2) << k;
  EXPECT_EQ(s.drawing.Cnt_total, 1);
}

TEST_F(StartingUp, ContourNumbersRunOverAllLayers) {
  host.drawing({"#", "ly0", " 0 0 1 0", "ci 5 5 1", "ly3", "pt 3 3"});
  StartUp s = host.started();
  EXPECT_EQ(cell(s.drawing, 0, 0, 13), "1");
  EXPECT_EQ(cell(s.drawing, 0, 1, 13), "2");
  EXPECT_EQ(cell(s.drawing, 3, 0, 13), "3");
  EXPECT_EQ(s.drawing.Cnt_total, 3);
}

// Every real file the host wrote must be read, with LF as stored and with
// the host's own CR LF.
class RealFiles : public ::testing::TestWithParam<std::string> {};

std::string with_crlf(const std::string& lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST_P(RealFiles, AreReadWithEitherLineEnd) {
  const std::filesystem::path sample =
      std::filesystem::path(MAKENC_SOURCE_DIR) / "tests/data/real" / GetParam();
  const std::string lf = file_bytes(sample);
  ASSERT_FALSE(lf.empty()) << sample;
  std::string dumps[2];
  for (int i = 0; i < 2; ++i) {
    HostFolder host;
    host.write("JWC_TEMP.TXT", i == 0 ? lf : with_crlf(lf));
    auto r = host.start();
    ASSERT_TRUE(r.ok()) << r.error().message;
    dumps[i] = dump_tables(r->drawing);
    EXPECT_EQ(r->working_copy.back(), "#");
    EXPECT_EQ(r->working_copy.front() == "hq", false);
  }
  EXPECT_EQ(dumps[0], dumps[1]);
}

INSTANTIATE_TEST_SUITE_P(Samples, RealFiles,
                         ::testing::Values("host_coordfile_coord.txt", "host_coordfile_coord2.txt",
                                           "parcel_jwc_temp1_ly0.txt", "parcel_jwc_temp2_hs1e06.txt",
                                           "parcel_jwc_temp2_ly7.txt"),
                         [](const ::testing::TestParamInfo<std::string>& sample) {
                           return sample.param.substr(0, sample.param.find('.'));
                         });

TEST(RealFile, CoordinateFileKeepsOnlyGeometryInItsContours) {
  HostFolder host;
  host.write("JWC_TEMP.TXT", file_bytes(std::filesystem::path(MAKENC_SOURCE_DIR) /
                                        "tests/data/real/host_coordfile_coord.txt"));
  StartUp s = host.started();
  const Drawing& d = s.drawing;
  ASSERT_TRUE(d.has_layer(0));
  // Four lines, three arcs, a circle and two points make ten contours; the
  // line widths and solids stay out of them.
  EXPECT_EQ(d.Cnt_total, 10);
  const Table& t = d.layer(0);
  for (std::size_t r = 0; r != t.last_row(); ++r) {
    const std::string kind = t.at(r, 0).text_form();
    EXPECT_TRUE(kind == "li" || kind == "cci" || kind == "ci" || kind == "pt" || kind.empty()) << kind;
  }
  EXPECT_EQ(d.X_min.text_form(), "-18062.5");
  EXPECT_EQ(d.Y_max.text_form(), "15631.9444444444");
  EXPECT_EQ(t.at(0, 11).text_form(), "1");
}

TEST(RealFile, CoordinateFile2ChainsItsRectanglesAndLeavesTheTextsOut) {
  HostFolder host;
  host.write("JWC_TEMP.TXT", file_bytes(std::filesystem::path(MAKENC_SOURCE_DIR) /
                                        "tests/data/real/host_coordfile_coord2.txt"));
  StartUp s = host.started();
  const Drawing& d = s.drawing;
  EXPECT_FALSE(d.has_layer(5));
  // ly0..ly3 each hold one closed rectangle besides their texts "cz".
  for (int k : {0, 1, 2, 3}) {
    const Table& t = d.layer(k);
    EXPECT_EQ(t.at(0, 13).text_form(), std::to_string(k + 1));
    EXPECT_EQ(t.at(3, 13).text_form(), std::to_string(k + 1));
    EXPECT_EQ(t.at(0, 1).text_form(), t.at(3, 3).text_form());
    EXPECT_EQ(t.at(0, 2).text_form(), t.at(3, 4).text_form());
    for (std::size_t r = 4; r != t.last_row(); ++r) EXPECT_TRUE(t.at(r, 0).is_empty()) << k << " " << r;
  }
  // ly4: a rectangle with a wedge, whose lines meet three at a corner:
  // the chains keep to one region each, so the triangle at the left closes
  // and the rest of the outline, the ridge with one hip and the last hip
  // are cut open.
  const std::vector<std::string> contours{"5", "5", "5", "6", "6", "6", "7", "7", "8"};
  for (std::size_t r = 0; r != contours.size(); ++r) EXPECT_EQ(cell(d, 4, r, 13), contours[r]) << r;
  EXPECT_EQ(cell(d, 4, 2, 3), cell(d, 4, 0, 1));
  EXPECT_EQ(cell(d, 4, 2, 4), cell(d, 4, 0, 2));
  EXPECT_EQ(d.Cnt_total, 8);
  EXPECT_EQ(d.X_min.text_form(), "-36465.2643943708");
}

}  // namespace
}  // namespace makenc
