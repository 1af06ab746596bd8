// The host's interchange file, through both reads, chaining, the
// assignment, NC generation and the hand-back.
#include "host_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace makenc::fuzz;
  static const HostFiles example = example_files();
  HostFiles files = example;
  files.jwc_temp.assign(reinterpret_cast<const char*>(data), size);
  run_host(files, /*own_motion_lines=*/true);
  return 0;
}
