// The five template files, one after another separated by NUL bytes: program
// header, footer, cutting start, marking start and end code, on the bundled
// drawing.
#include "host_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace makenc::fuzz;
  static const HostFiles example = example_files();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  HostFiles files = example;
  files.head = piece(bytes, 0);
  files.foot = piece(bytes, 1);
  files.sta_cut = piece(bytes, 2);
  files.sta_mark = piece(bytes, 3);
  files.end = piece(bytes, 4);
  run_host(files, /*own_motion_lines=*/false);
  return 0;
}
