// The machining conditions file and the grid rounding.
#include <gtest/gtest.h>

#include "core/settings.h"
#include "support/files.h"

namespace makenc {
namespace {

using test::TempFolder;

class SetIni : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return folder_.path() / "set.ini"; }
  void write(const std::string& bytes) const { folder_.write("set.ini", bytes); }
  TempFolder folder_;
  Settings s;
};

TEST_F(SetIni, DefaultsAreTheShippedConditions) {
  EXPECT_EQ(s.ini_GOSA, "0.01");
  EXPECT_EQ(s.ini_Apr, "5");
  EXPECT_EQ(s.ini_S_suu, 1000);
  EXPECT_EQ(s.ini_Cond[0].fields, (std::vector<std::string>{"10", "50", "E1"}));
  EXPECT_EQ(s.ini_Cond[2].K_Joukn(), "E3");
  EXPECT_EQ(s.ini_M_Joukn, "E9");
  EXPECT_EQ(s.ini_joint, 2.0f);
}

TEST_F(SetIni, MissingFileKeepsEverything) {
  s.ini_GOSA = "0.5";
  EXPECT_FALSE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_GOSA, "0.5");
  EXPECT_EQ(s.ini_S_suu, 1000);
}

TEST_F(SetIni, AFolderInPlaceOfTheFileKeepsEverything) {
  std::filesystem::create_directories(file());
  EXPECT_FALSE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_Apr, "5");
}

TEST_F(SetIni, ReadsAllEightLines) {
  write("0.05\r\n3\r\n100\r\n5 20 C1\r\n20 200 C2\r\n200 900 C3\r\nM5\r\n1.5\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_GOSA, "0.05");
  EXPECT_EQ(s.ini_Apr, "3");
  EXPECT_EQ(s.ini_S_suu, 100);
  EXPECT_EQ(s.ini_Cond[1].fields, (std::vector<std::string>{"20", "200", "C2"}));
  EXPECT_EQ(s.ini_M_Joukn, "M5");
  EXPECT_EQ(s.ini_joint, 1.5f);
  EXPECT_DOUBLE_EQ(s.tolerance(), 0.05);
  EXPECT_EQ(s.approach(), 3);
}

TEST_F(SetIni, TheJointLineIsKeptAsTypedOnlyWhenItGivesTheJoint) {
  write("0.01\r\n5\r\n1000\r\n10 50 E1\r\n50 300 E2\r\n300 1000 E3\r\nE9\r\n-2.50\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_joint, -2.5f);
  EXPECT_EQ(s.ini_joint_text, "-2.50");
  write("0.01\r\n5\r\n1000\r\n10 50 E1\r\n50 300 E2\r\n300 1000 E3\r\nE9\r\nabc\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_joint, -2.5f);
  EXPECT_EQ(s.ini_joint_text, "-2.50");
}

TEST_F(SetIni, LinesAfterTheEighthAreIgnored) {
  write("0.05\r\n3\r\n100\r\n5 20 C1\r\n20 200 C2\r\n200 900 C3\r\nM5\r\n1.5\r\n7\r\nrubbish\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_joint, 1.5f);
  EXPECT_EQ(s.ini_GOSA, "0.05");
}

TEST_F(SetIni, AShortFileKeepsTheSettingsOfTheMissingLines) {
  write("0.2\r\n7\r\n10\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_GOSA, "0.2");
  EXPECT_EQ(s.ini_Apr, "7");
  EXPECT_EQ(s.ini_S_suu, 10);
  EXPECT_EQ(s.ini_Cond[0].R_min(), "10");
  EXPECT_EQ(s.ini_M_Joukn, "E9");
  EXPECT_EQ(s.ini_joint, 2.0f);
}

TEST_F(SetIni, AnEmptyFileChangesNothing) {
  write("");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_GOSA, "0.01");
}

TEST_F(SetIni, LineEndsMayBeBareLineFeeds) {
  write("0.3\n4\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_GOSA, "0.3");
  EXPECT_EQ(s.ini_Apr, "4");
}

TEST_F(SetIni, ConditionRowsSplitAtEverySingleBlank) {
  write("0.01\r\n5\r\n1000\r\n10  50 1\r\n7\r\n\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_Cond[0].fields, (std::vector<std::string>{"10", "", "50", "1"}));
  EXPECT_EQ(s.ini_Cond[0].R_min(), "10");
  EXPECT_EQ(s.ini_Cond[0].L_min(), "");
  EXPECT_EQ(s.ini_Cond[0].K_Joukn(), "50");
  // Fewer than three fields: the missing ones read as empty texts.
  EXPECT_EQ(s.ini_Cond[1].R_min(), "7");
  EXPECT_EQ(s.ini_Cond[1].L_min(), "");
  EXPECT_EQ(s.ini_Cond[1].K_Joukn(), "");
  EXPECT_EQ(s.ini_Cond[2].K_Joukn(), "");
}

TEST_F(SetIni, ThresholdsCompareByTheirNumericValue) {
  write("0.01\r\n5\r\n1000\r\n12.5mm 40 E1\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_Cond[0].r_min(), 12.5);
  EXPECT_EQ(s.ini_Cond[0].l_min(), 40);
  EXPECT_EQ(s.ini_Cond[1].r_min(), 50);
}

TEST_F(SetIni, TextSettingsReadAsNumbers) {
  write("abc\r\n 2.5mm\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_GOSA, "abc");
  EXPECT_EQ(s.tolerance(), 0);
  EXPECT_EQ(s.approach(), 2.5);
}

struct FactorCase {
  const char* line;
  std::int16_t expected;
};

class RoundingFactor : public SetIni, public ::testing::WithParamInterface<FactorCase> {};

TEST_P(RoundingFactor, IsAPositiveWholeNumberRoundedHalfToEven) {
  s.ini_S_suu = 77;
  write(std::string("0.01\r\n5\r\n") + GetParam().line + "\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_S_suu, GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Lines, RoundingFactor,
                         ::testing::Values(FactorCase{"2.5", 2}, FactorCase{"3.5", 4}, FactorCase{"100", 100},
                                           FactorCase{" 10 ", 10}, FactorCase{"32767", 32767},
                                           FactorCase{"40000", 77}, FactorCase{"0", 77},
                                           FactorCase{"0.4", 77}, FactorCase{"-10", 77},
                                           FactorCase{"ten", 77}, FactorCase{"", 77}, FactorCase{"10x", 77}));

TEST_F(SetIni, AJointThatIsNotANumberKeepsThePreviousOne) {
  write("0.01\r\n5\r\n1000\r\na b c\r\na b c\r\na b c\r\nE9\r\nlong\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_joint, 2.0f);
  write("0.01\r\n5\r\n1000\r\na b c\r\na b c\r\na b c\r\nE9\r\n1e300\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_joint, 2.0f);
  write("0.01\r\n5\r\n1000\r\na b c\r\na b c\r\na b c\r\nE9\r\n0.25\r\n");
  ASSERT_TRUE(read_set_ini(file(), s));
  EXPECT_EQ(s.ini_joint, 0.25f);
}

TEST(SetIniLines, AreTheEightLinesTheDialogWrites) {
  Settings s;
  s.ini_joint = 1.5f;
  EXPECT_EQ(set_ini_lines(s), (std::vector<std::string>{"0.01", "5", "1000", "10 50 E1", "50 300 E2",
                                                        "300 1000 E3", "E9", "1.5"}));
}

TEST(RoundToGrid, RoundsHalfUpToTheGrid) {
  EXPECT_DOUBLE_EQ(round_to_grid(2.34, 10), 2.3);
  EXPECT_DOUBLE_EQ(round_to_grid(2.36, 10), 2.4);
  EXPECT_DOUBLE_EQ(round_to_grid(-2.36, 10), -2.4);
  EXPECT_DOUBLE_EQ(round_to_grid(1.25, 10), 1.3);
  EXPECT_DOUBLE_EQ(round_to_grid(-1.25, 10), -1.2);
  EXPECT_DOUBLE_EQ(round_to_grid(0.0004, 1000), 0);
  EXPECT_DOUBLE_EQ(round_to_grid(0.0005, 1000), 0.001);
  EXPECT_DOUBLE_EQ(round_to_grid(7.6, 1), 8);
  EXPECT_DOUBLE_EQ(round_to_grid(-7.5, 1), -7);
}

}  // namespace
}  // namespace makenc
