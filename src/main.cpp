// The program the host CAD program starts in its folder. Without arguments it
// is the desktop tool; the batch and dump modes run the same stages without
// a window.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/command_line.h"

#ifdef MAKENC_WINDOW
#include "window/desktop.h"
#endif

int main(int argc, char** argv) {
  using namespace makenc;
  const std::vector<std::string> args(argv + 1, argv + argc);
  auto cl = parse_command_line(args);
  if (!cl) {
    std::cerr << "makenc: " << cl.error().message;
    if (cl.error().message.back() != '\n') std::cerr << '\n';
    return 1;
  }
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::current_path(ec);
  if (ec) {
    std::cerr << "makenc: cannot read the current folder: " << ec.message() << '\n';
    return 1;
  }
  switch (cl->mode) {
    case Mode::Help:
      std::cout << usage_text();
      return 0;
    case Mode::Version:
      std::cout << version_text();
      return 0;
    case Mode::Batch:
      return run_batch(*cl, folder, std::cout, std::cerr);
    case Mode::DumpTables:
      return run_dump_tables(folder, std::cout, std::cerr);
    case Mode::DumpCutlist:
      return run_dump_cutlist(*cl, folder, std::cout, std::cerr);
    case Mode::Desktop:
      break;
  }
#ifdef MAKENC_WINDOW
  return run_desktop(argc, argv, folder);
#else
  std::cerr << "makenc: this build has no window; use --batch\n" << usage_text();
  return 1;
#endif
}
