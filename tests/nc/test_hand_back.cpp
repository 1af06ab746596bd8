#include <gtest/gtest.h>

#include "core/text.h"
#include "hand_back_folder.h"
#include "nc/check_drawing.h"
#include "nc/hand_back.h"
#include "nc_fixtures.h"

namespace makenc {
namespace {

using Lines = std::vector<std::string>;
using test::HandBack;

TEST(CheckDrawing, ApproachesAndRapidMovesInDrawingCoordinates) {
  const auto c = test::worked_example();  // lower-left corner (10, 20)
  std::string bytes;
  put_check_drawing(bytes, c.drawing, c.assignment.Ord_dat);
  const Lines expected = {"lt1", "lyA", "lc5", " 40 40 40 45",  // the hole's approach, C to A
                          "ly9", "lc4", "lt3", " 10 20 40 45",  // from the program origin
                          "ly9", "lc4", "lt3", " 40 40 70 40",  // the marking line: no approach
                          "lt1", "lyA", "lc5", " 60 80 60 85", "ly9", "lc4", "lt3", " 90 40 60 85"};
  EXPECT_EQ(bytes, join_crlf(expected));
}

TEST(CheckDrawing, OpenChainsGetNoApproachAndNumbersAreNotRoundedToTheGrid) {
  Drawing d;
  d.X_min = "0.5", d.Y_min = -1.25;
  const Table cut = test::cut_list(
      {{"ly0", 1, 1, 1.23456789, 0, 2, 0, "cut", "line"}, {"ly0", 2, 1, 3, 3, 3, 2, "cut", "circle"}});
  std::string bytes = "#\r\n";
  put_check_drawing(bytes, d, cut);
  const Lines expected = {"#",
                          "ly9",
                          "lc4",
                          "lt3",
                          " 0.5 -1.25 1.73456789 -1.25",
                          "lt1",
                          "lyA",
                          "lc5",
                          " 3.5 0.75 3.5 1.75",
                          "ly9",
                          "lc4",
                          "lt3",
                          " 2.5 -1.25 3.5 1.75"};
  EXPECT_EQ(bytes, join_crlf(expected));
}

TEST(CheckDrawing, AnEmptyCutListDrawsNothing) {
  std::string bytes;
  put_check_drawing(bytes, Drawing{}, Table{});
  EXPECT_TRUE(bytes.empty());
}

TEST(MakeNcClick, HandsTheWorkingCopyBackAndDeletesIt) {
  HandBack h;
  auto done = write_program_and_hand_back(h.c.input(), h.working_copy);
  ASSERT_TRUE(done.ok()) << done.error().message;
  EXPECT_TRUE(std::filesystem::exists(h.host.path() / "Zemlak" / "part.nc"));
  EXPECT_EQ(test::file_bytes(h.jwc()), "jwc header\r\n#\r\n");
  EXPECT_FALSE(std::filesystem::exists(h.copy()));
  EXPECT_EQ(h.files_in_host(), 2u);  // no temporary file left beside it
}

TEST(MakeNcClick, CheckDrawingIsAppendedOnceHoweverManyLayersAreCut) {
  HandBack h;
  h.c.options.check_drawing = true;  // ly0 and ly1 both hold entities and are ticked
  ASSERT_TRUE(write_program_and_hand_back(h.c.input(), h.working_copy).ok());
  const std::string back = test::file_bytes(h.jwc());
  EXPECT_EQ(back.rfind("jwc header\r\n#\r\nlt1\r\nlyA\r\nlc5\r\n 40 40 40 45\r\n", 0), 0u);
  std::size_t rapids = 0;
  for (std::size_t at = back.find("ly9\r\n"); at != std::string::npos; at = back.find("ly9\r\n", at + 1))
    ++rapids;
  EXPECT_EQ(rapids, 3u);
}

TEST(MakeNcClick, NoCheckDrawingWhenNoTickedLayerHoldsEntities) {
  HandBack h;
  h.c.options.check_drawing = true;
  h.c.options.layers.fill(false);
  h.c.options.layers[4] = true;  // ticked but empty
  ASSERT_TRUE(write_program_and_hand_back(h.c.input(), h.working_copy).ok());
  EXPECT_EQ(test::file_bytes(h.jwc()), "jwc header\r\n#\r\n");
}

TEST(MakeNcClick, AFailedProgramHandsNothingBack) {
  HandBack h;
  h.c.options.check_drawing = true;
  std::filesystem::remove(h.host.path() / "Zemlak" / "Bin" / "end.ini");
  auto done = write_program_and_hand_back(h.c.input(), h.working_copy);
  ASSERT_FALSE(done.ok());
  EXPECT_NE(done.error().message.find("end.ini"), std::string::npos);
  EXPECT_EQ(test::file_bytes(h.jwc()), h.host_file);
  EXPECT_TRUE(std::filesystem::exists(h.copy()));
  EXPECT_FALSE(std::filesystem::exists(h.host.path() / "Zemlak" / "part.nc"));
}

TEST(MakeNcClick, AFailedContourHandsNothingBack) {
  HandBack h;
  h.c.settings.ini_S_suu = 0;
  ASSERT_FALSE(write_program_and_hand_back(h.c.input(), h.working_copy).ok());
  EXPECT_EQ(test::file_bytes(h.jwc()), h.host_file);
  EXPECT_FALSE(std::filesystem::exists(h.host.path() / "Zemlak" / "part.nc"));
}

TEST(MakeNcClick, AnInterchangeFileThatCannotBeReplacedIsReported) {
  HandBack h;
  std::filesystem::remove(h.jwc());
  std::filesystem::create_directories(h.jwc() / "inside");
  auto done = write_program_and_hand_back(h.c.input(), h.working_copy);
  ASSERT_FALSE(done.ok());
  EXPECT_NE(done.error().message.find("JWC_TEMP.TXT"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(h.jwc() / "inside"));
  EXPECT_TRUE(std::filesystem::exists(h.copy()));  // kept for another try
  EXPECT_EQ(h.files_in_host(), 2u);
}

TEST(MakeNcClick, AWorkingCopyThatCannotBeDeletedIsReported) {
  HandBack h;
  std::filesystem::remove(h.copy());
  std::filesystem::create_directories(h.copy() / "inside");
  auto done = write_program_and_hand_back(h.c.input(), h.working_copy);
  ASSERT_FALSE(done.ok());
  EXPECT_NE(done.error().message.find("makeNC.txt"), std::string::npos);
}

TEST(MakeNcClick, AMissingWorkingCopyFileIsNothingToDelete) {
  HandBack h;
  std::filesystem::remove(h.copy());
  EXPECT_TRUE(write_program_and_hand_back(h.c.input(), h.working_copy).ok());
  EXPECT_EQ(test::file_bytes(h.jwc()), "jwc header\r\n#\r\n");
}

}  // namespace
}  // namespace makenc
