// Whole batch runs on bad input that tests/bad cannot hold as data: a file
// where the home folder's output folder should be. The run names it, leaves
// it, "JWC_TEMP.TXT" and the working copy as they were, and writes nothing
// for the machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/text.h"
#include "support/files.h"
#include "support/whole_run.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
using test::file_bytes;

TEST(BadInput, AFileInPlaceOfTheHomeOutputFolderIsNamed) {
  test::TempFolder scratch;
  const fs::path host = scratch.path("host");
  const fs::path home = scratch.path("home");
  fs::create_directories(host);
  fs::copy(fs::path(MAKENC_SOURCE_DIR) / "examples/plate/Zemlak", host / "Zemlak",
           fs::copy_options::recursive);
  const std::string jwc = join_crlf({"hq", "file=", "#", "ly0", "lc2", " 0 0 100 0", " 100 0 100 50",
                                     " 100 50 0 50", " 0 50 0 0", "ci 50 25 10"});
  test::write_file(host / "JWC_TEMP.TXT", jwc);
  test::write_file(home / "jww" / "Zemlak", "a file the user left here\r\n");

  const test::RunResult run = test::run_makenc(host, {"--batch"}, home);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "makenc: the NC program was not written: " + (home / "jww" / "Zemlak").string() +
                         " is a file, not a folder\n");
  EXPECT_EQ(file_bytes(host / "JWC_TEMP.TXT"), jwc);
  EXPECT_EQ(file_bytes(home / "jww" / "Zemlak"), "a file the user left here\r\n");
  EXPECT_TRUE(fs::exists(host / "Zemlak" / "Bin" / "makeNC.txt")) << "kept for another try";
  EXPECT_TRUE(test::nc_programs_in(host / "Zemlak").empty());
}

}  // namespace
}  // namespace makenc
