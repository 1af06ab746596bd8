// The NC program's file name, from the drawing's "file" line.
#pragma once

#include <filesystem>
#include <string>

#include "core/error.h"

namespace makenc {

struct NcOutputName {
  std::string NC_path;         // as the header shows it, in the host's form (code page 932)
  std::filesystem::path file;  // where it goes on this machine
  std::string shown;           // as the completion message names it (code page 932)
};

// The drawing's name is the last part of File_lin after "\" or "/" (on code
// page 932 character boundaries), without its extension; without any
// separator the leading "file=" is dropped. An unnamed drawing is named by
// the date and goes to the host's own folder "C:\jww\Zemlak\" (on a system
// without drive letters $HOME/jww/Zemlak). The file never lands outside its
// folder. The completion message names a named drawing's program as the
// header does, relative to the host folder, and an unnamed one by the file
// really written.
Result<NcOutputName> nc_output_name(const std::filesystem::path& folder, const std::string& File_lin,
                                    const std::string& date);

// The drawing's name from File_lin as code page 932 bytes; "" when unnamed.
std::string drawing_name(const std::string& File_lin);

}  // namespace makenc
