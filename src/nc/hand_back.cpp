// The hand-back: the NC program first, then the interchange file replaced
// by the working copy (with the check drawing when asked), then the working
// copy deleted.
#include "nc/hand_back.h"

#include <system_error>

#include "core/files.h"
#include "core/text.h"
#include "nc/check_drawing.h"

namespace makenc {

namespace {

// Whether any ticked layer holds entities: only then was anything cut.
bool any_layer_cut(const NcInput& input) {
  for (int k = 0; k < kLayerCount; ++k)
    if (input.options.layers[static_cast<std::size_t>(k)] && input.drawing.has_layer(k)) return true;
  return false;
}

}  // namespace

Result<NcWritten> write_program_and_hand_back(const NcInput& input,
                                              const std::vector<std::string>& working_copy,
                                              FileLayer& files) {
  auto program = build_nc_program(input);
  if (!program) return program.error();
  return write_program_and_hand_back(input, *program, working_copy, files);
}

Result<NcWritten> write_program_and_hand_back(const NcInput& input, const NcProgram& program,
                                              const std::vector<std::string>& working_copy,
                                              FileLayer& files) {
  // The host's file is touched only once the NC program is on the disk: a
  // host that reads back a drawing has its program.
  auto written = write_nc_program(program, files);
  if (!written) return written;
  std::string bytes = join_crlf(working_copy);
  // The drawing covers the whole cut list, so it goes back once however
  // many layers were cut.
  if (input.options.check_drawing && any_layer_cut(input))
    put_check_drawing(bytes, input.drawing, input.assignment.Ord_dat, program.job.shown_cuts);
  Status handed = write_file_atomically(input.folder / "JWC_TEMP.TXT", bytes, files);
  if (!handed) return Error{"the drawing was not handed back to the host: " + handed.error().message};
  const std::filesystem::path copy = host_path(input.folder, "Zemlak\\Bin\\makeNC.txt");
  const std::error_code ec = files.remove(copy);
  if (ec)
    return Error{"the drawing was handed back to the host, but the working copy " + display_path(copy) +
                 " cannot be deleted: " + ec.message()};
  return written;
}

}  // namespace makenc
