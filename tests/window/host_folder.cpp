#include "host_folder.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace makenc::testing {

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

HostFolder::HostFolder() {
  static std::atomic<int> serial{0};
  root_ = std::filesystem::temp_directory_path() /
          ("makenc-window-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
  std::filesystem::remove_all(root_);
  std::filesystem::create_directories(root_ / "Zemlak" / "Bin");
  write("JWC_TEMP.TXT", kDrawing);
  write("Zemlak/Bin/set.ini", kSettings);
  write("Zemlak/Bin/head.ini", "%\r\n(DATE dete)\r\nO0001\r\n");
  write("Zemlak/Bin/sta_cut.ini", "M03\r\n");
  write("Zemlak/Bin/sta_mark.ini", "M13\r\n");
  write("Zemlak/Bin/end.ini", "M05\r\n");
  write("Zemlak/Bin/foot.ini", "M30\r\n%\r\n");
}

HostFolder::~HostFolder() {
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

void HostFolder::write(const std::string& relative, const std::string& bytes) const {
  std::ofstream out(root_ / relative, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write test file " + relative);
}

std::string HostFolder::read(const std::string& relative) const {
  std::ifstream in(root_ / relative, std::ios::binary);
  if (!in) return "<missing>";
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace makenc::testing
