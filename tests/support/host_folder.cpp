#include "support/host_folder.h"

#include <gtest/gtest.h>

#include "core/text.h"

namespace makenc::test {

const std::string HostFolder::kDrawing =
    "hq\r\n"
    "file=C:\\jww\\plate.jww\r\n"
    "#\r\n"
    "ly0\r\n"
    "lc2\r\n"
    " 0 0 100 0\r\n"
    " 100 0 100 50\r\n"
    " 100 50 0 50\r\n"
    " 0 50 0 0\r\n"
    "ci 30 25 10\r\n"
    "ly3\r\n"
    "lc1\r\n"
    "pt 70 40\r\n";

const std::string HostFolder::kSettings =
    "0.01\r\n5\r\n1000\r\n10 50 E1\r\n50 300 E2\r\n300 1000 E3\r\nE9\r\n2\r\n";

HostFolder::HostFolder(Holds holds) {
  std::filesystem::create_directories(path() / "Zemlak" / "Bin");
  if (holds == Holds::nothing) return;
  write("JWC_TEMP.TXT", kDrawing);
  write("Zemlak/Bin/set.ini", kSettings);
  write("Zemlak/Bin/head.ini", "%\r\n(DATE dete)\r\nO0001\r\n");
  write("Zemlak/Bin/sta_cut.ini", "M03\r\n");
  write("Zemlak/Bin/sta_mark.ini", "M13\r\n");
  write("Zemlak/Bin/end.ini", "M05\r\n");
  write("Zemlak/Bin/foot.ini", "M30\r\n%\r\n");
}

void HostFolder::drawing(const std::vector<std::string>& lines) const {
  write("JWC_TEMP.TXT", join_crlf(lines));
}

Result<StartUp> HostFolder::start() {
  settings = Settings{};
  return start_up(path(), settings);
}

StartUp HostFolder::started() {
  auto r = start();
  EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.error().message);
  return r.ok() ? std::move(r.value()) : StartUp{};
}

}  // namespace makenc::test
