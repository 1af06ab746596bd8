// The window's way with settings that would cut wrong: NC generation refuses
// them and the window stays open; the user corrects the value in the
// conditions dialog and presses the buttons again. The host's file is
// untouched until a program is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/session.h"
#include "core/constants.h"
#include "core/text.h"
#include "support/files.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
using test::file_bytes;

class SettingsCorrection : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(fs::path(MAKENC_SOURCE_DIR) / "examples/plate", host(), fs::copy_options::recursive);
    jwc_before_ = file_bytes(host() / "JWC_TEMP.TXT");
  }
  fs::path host() const { return folder_.path() / "host"; }
  fs::path set_ini() const { return host() / "Zemlak" / "Bin" / "set.ini"; }
  const std::string& jwc_before() const { return jwc_before_; }
  fs::path program() const { return host() / "Zemlak" / "plate.nc"; }
  // What the dialog does on saving: the file, then the settings read again.
  void save_conditions(Session& session, const std::string& approach, const std::string& joint) const {
    std::ofstream(set_ini(), std::ios::binary)
        << join_crlf({"0.01", approach, "1000", "10 50 E1", "50 300 E2", "300 1000 E3", "E9", joint});
    ASSERT_TRUE(read_set_ini(set_ini(), session.settings));
  }
  void expect_refused(Session& session, const std::string& message) const {
    auto written = make_nc(session);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().message, message);
    EXPECT_EQ(file_bytes(host() / "JWC_TEMP.TXT"), jwc_before_);
    EXPECT_FALSE(fs::exists(program()));
  }

 private:
  test::TempFolder folder_;
  std::string jwc_before_;
};

TEST_F(SettingsCorrection, EachValueIsRefusedUntilCorrectedWhereItTakesEffect) {
  std::ofstream(set_ini(), std::ios::binary)
      << join_crlf({"0.01", "abc", "1000", "10 50 E1", "50 300 E2", "300 1000 E3", "E9", "-2"});
  auto session = open_session(host());
  ASSERT_TRUE(session.ok()) << session.error().message;
  redraw(*session, kBatchPreviewWidth, kBatchPreviewHeight);
  run_assignment(*session);
  expect_refused(*session, "Zemlak/Bin/set.ini line 2: the approach length \"abc\" is not a number above 0");

  // The lead-ins on the screen were placed with "abc": the corrected length
  // takes effect with the next assignment.
  save_conditions(*session, "5", "-2");
  expect_refused(
      *session,
      "Zemlak/Bin/set.ini line 2: the approach length \"abc\" is not a number above 0; the lead-ins "
      "were placed with it: press アプローチ自動割付 again");
  run_assignment(*session);
  expect_refused(*session,
                 "Zemlak/Bin/set.ini line 8: the joint length \"-2\" is not a number of 0 or above");

  // The joint is taken when the program is written.
  save_conditions(*session, "5", "2");
  auto written = make_nc(*session);
  ASSERT_TRUE(written.ok()) << written.error().message;
  EXPECT_TRUE(fs::is_regular_file(program()));
  EXPECT_NE(file_bytes(host() / "JWC_TEMP.TXT"), jwc_before()) << "handed back";
}

}  // namespace
}  // namespace makenc
