// Settings that would cut wrong are refused with the line of the file, the
// text as typed and what the line must hold; every value that can still be
// cut is kept.
#include <gtest/gtest.h>

#include <string>

#include "core/settings_check.h"
#include "core/text.h"
#include "support/files.h"

namespace makenc {
namespace {

std::string message_of(const Status& s) { return s.ok() ? std::string("(accepted)") : s.error().message; }

struct Refused {
  const char* typed;
  const char* message;
};

Settings with_tolerance(const std::string& typed) {
  Settings s;
  s.ini_GOSA = typed;
  return s;
}

TEST(ToleranceCheck, BelowZeroIsRefused) {
  for (const Refused& c : {Refused{"-0.01",
                                   "Zemlak/Bin/set.ini line 1: the matching tolerance \"-0.01\" is "
                                   "not a number of 0 or above"},
                           Refused{"-1e-300", "the matching tolerance \"-1e-300\""},
                           Refused{" -2mm", "the matching tolerance \" -2mm\""}}) {
    const std::string m = message_of(check_tolerance(with_tolerance(c.typed)));
    EXPECT_NE(m.find(c.message), std::string::npos) << c.typed << ": " << m;
  }
}

TEST(ToleranceCheck, ZeroAndWhatReadsAsANumberAreKept) {
  // A text that is no number reads as 0, and 0 chains ends that meet on
  // the grid; a tolerance wider than the parts chains everything, as asked.
  for (const char* typed : {"0", "-0", "", "abc", "0.01", "1e30", "1e400"})
    EXPECT_TRUE(check_tolerance(with_tolerance(typed)).ok()) << typed;
}

TEST(ApproachCheck, ZeroOrBelowCannotBeCut) {
  EXPECT_EQ(message_of(check_approach_length("abc", 1000)),
            "Zemlak/Bin/set.ini line 2: the approach length \"abc\" is not a number above 0");
  for (const char* typed : {"0", "-0", "", " ", "-5", "-1e-9", "nan", "-inf", "-1e400"})
    EXPECT_EQ(message_of(check_approach_length(typed, 1000)),
              std::string("Zemlak/Bin/set.ini line 2: the approach length \"") + typed +
                  "\" is not a number above 0");
}

TEST(ApproachCheck, ALeadInMustKeepTwoStepsOfTheGrid) {
  EXPECT_EQ(message_of(check_approach_length("0.0019", 1000)),
            "Zemlak/Bin/set.ini line 2: the approach length \"0.0019\" is below 0.002, two steps of the grid "
            "1/1000: the lead-in could round to no move");
  EXPECT_TRUE(check_approach_length("0.002", 1000).ok());
  // The grid is the rounding factor's.
  EXPECT_FALSE(check_approach_length("1.5", 1).ok());
  EXPECT_TRUE(check_approach_length("2", 1).ok());
  EXPECT_TRUE(check_approach_length("0.0001", 32767).ok());
}

TEST(ApproachCheck, ALeadInTooLongToCompensateIsRefused) {
  EXPECT_TRUE(check_approach_length("1e12", 1000).ok());
  EXPECT_TRUE(check_approach_length("5000", 1000).ok());
  for (const char* typed : {"1.000001e12", "1e30", "1e400"})
    EXPECT_EQ(message_of(check_approach_length(typed, 1000)),
              std::string("Zemlak/Bin/set.ini line 2: the approach length \"") + typed +
                  "\" is above 1000000000000: a lead-in that long starts too far out for the machine to "
                  "compensate the kerf");
}

TEST(ApproachCheck, TheValueIsReadAsTheLeadInsWerePlaced) {
  // A leading number counts, as everywhere a size is compared.
  EXPECT_TRUE(check_approach_length("5mm", 1000).ok());
  EXPECT_TRUE(check_approach_length(" 3", 1000).ok());
  EXPECT_FALSE(check_approach_length("mm5", 1000).ok());
}

TEST(ApproachCheck, TheTextIsQuotedShortAndAsUtf8) {
  const std::string m = message_of(check_approach_length(std::string(5000, 'x'), 1000));
  EXPECT_LT(m.size(), 200u);
  EXPECT_NE(m.find("xxx...\""), std::string::npos) << m;
  EXPECT_NE(message_of(check_approach_length(utf8_to_cp932("５"), 1000)).find("\"５\""), std::string::npos);
}

TEST(JointCheck, BelowZeroIsRefusedQuotingTheLineAsTyped) {
  test::TempFolder folder;
  folder.write("set.ini", "0.01\r\n5\r\n1000\r\n10 50 E1\r\n50 300 E2\r\n300 1000 E3\r\nE9\r\n-2.50\r\n");
  Settings s;
  ASSERT_TRUE(read_set_ini(folder.path() / "set.ini", s));
  EXPECT_EQ(message_of(check_joint_length(s)),
            "Zemlak/Bin/set.ini line 8: the joint length \"-2.50\" is not a number of 0 or above");
  // A value set without its line is quoted as the dialog would show it.
  s.ini_joint = -1.25f;
  EXPECT_EQ(message_of(check_joint_length(s)),
            "Zemlak/Bin/set.ini line 8: the joint length \"-1.25\" is not a number of 0 or above");
}

TEST(JointCheck, ZeroMeansNoJointAndIsKept) {
  Settings s;
  for (float j : {0.0f, -0.0f, 0.001f, 2.0f, 1e30f}) {
    s.ini_joint = j;
    EXPECT_TRUE(check_joint_length(s).ok()) << j;
  }
}

}  // namespace
}  // namespace makenc
