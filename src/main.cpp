// The program the host CAD program starts in its folder. Without arguments it
// is the desktop tool; the batch and dump modes run the same stages without
// a window.
#include <sstream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/command_line.h"
#include "core/platform.h"

#if defined(MAKENC_WINDOW) && !defined(MAKENC_WINDOW_MODULE)
#include "window/desktop.h"
#endif

namespace {

// What a mode printed goes out once it has ended, as the console or the
// file it goes to expects.
int finish(int code, const std::ostringstream& out, const std::ostringstream& err) {
  makenc::write_standard_output(out.str());
  makenc::write_standard_error(err.str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace makenc;
  keep_freed_memory();
  std::ostringstream out;
  std::ostringstream err;
  const std::vector<std::string> args = command_line_arguments(argc, argv);
  auto cl = parse_command_line(args);
  if (!cl) {
    err << "makenc: " << cl.error().message;
    if (cl.error().message.back() != '\n') err << '\n';
    // --check-nc keeps 1 for a program with faults.
    return finish(!args.empty() && args[0] == "--check-nc" ? 2 : 1, out, err);
  }
  Result<std::filesystem::path> folder = start_folder();
  if (!folder) {
    err << "makenc: " << folder.error().message << '\n';
    return finish(1, out, err);
  }
  switch (cl->mode) {
    case Mode::Help: out << usage_text(); return finish(0, out, err);
    case Mode::Version: out << version_text(); return finish(0, out, err);
    case Mode::Batch: return finish(run_batch(*cl, *folder, out, err), out, err);
    case Mode::DumpTables: return finish(run_dump_tables(*folder, out, err), out, err);
    case Mode::DumpCutlist: return finish(run_dump_cutlist(*cl, *folder, out, err), out, err);
    case Mode::CheckNc: return finish(run_check_nc(*cl, *folder, out, err), out, err);
    case Mode::Desktop: break;
  }
#ifdef MAKENC_WINDOW_MODULE
  // Beside the program in the build folder, where it is installed otherwise.
  Result<int> code =
      run_window_module(MAKENC_WINDOW_MODULE, {".", MAKENC_WINDOW_MODULE_DIR}, argc, argv, *folder);
  if (!code) {
    err << "makenc: " << code.error().message << '\n';
    return finish(1, out, err);
  }
  return *code;
#elif defined(MAKENC_WINDOW)
  return run_desktop(argc, argv, *folder);
#else
  err << "makenc: this build has no window; use --batch\n" << usage_text();
  return finish(1, out, err);
#endif
}
