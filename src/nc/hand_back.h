// The end of a job: the NC program written and the interchange file handed
// back to the host.
#pragma once

#include <string>
#include <vector>

#include "core/error.h"
#include "core/file_layer.h"
#include "nc/nc_program.h"

namespace makenc {

// The work of the button "makeNC" without ending the program: the NC
// program, the check drawing when asked, and the working copy handed back
// over "JWC_TEMP.TXT" (atomically) and deleted. "JWC_TEMP.TXT" is replaced
// only whole and only after the NC program is; when the NC program or the
// hand-back fails the host's file stays as it was and the working copy is
// kept. Every failure comes back as an error naming the file.
Result<NcWritten> write_program_and_hand_back(const NcInput& input,
                                              const std::vector<std::string>& working_copy,
                                              FileLayer& files = system_files());

// The same with the program already built from the input.
Result<NcWritten> write_program_and_hand_back(const NcInput& input, const NcProgram& program,
                                              const std::vector<std::string>& working_copy,
                                              FileLayer& files = system_files());

}  // namespace makenc
