// The machining conditions file, read at start-up and used by every stage
// after it, on the bundled drawing.
#include "host_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace makenc::fuzz;
  static const HostFiles example = example_files();
  HostFiles files = example;
  files.set_ini.assign(reinterpret_cast<const char*>(data), size);
  run_host(files, /*own_motion_lines=*/true);
  return 0;
}
