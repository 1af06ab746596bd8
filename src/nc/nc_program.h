// The NC program file: its name from the drawing's "file" line, the header
// and footer templates around the body, and the contours of the cut list
// turned into the body.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/error.h"
#include "nc/make_nc.h"
#include "nc/contour_path.h"
#include "nc/nc_blocks.h"

namespace makenc {

struct NcOutputName {
  std::string NC_path;          // as the header shows it, in the host's form (code page 932)
  std::filesystem::path file;   // where it goes on this machine
  std::string shown;            // as the completion message names it (code page 932)
};

// The drawing's name is the last part of File_lin after "\" or "/" (on code
// page 932 character boundaries), without its extension; without any
// separator the leading "file=" is dropped. An unnamed drawing is named by
// the date and goes to the host's own folder "C:\jww\Zemlak\", which on this
// machine is $HOME/jww/Zemlak. The file never lands outside its folder.
// The completion message names a named drawing's program as the header does,
// relative to the host folder, and an unnamed one by the file really written.
Result<NcOutputName> nc_output_name(const std::filesystem::path& folder, const std::string& File_lin,
                                    const std::string& date);

// The drawing's name from File_lin as code page 932 bytes; "" when unnamed.
std::string drawing_name(const std::string& File_lin);

// The header template with its placeholders filled: "dete" the date,
// "Nc_name" the NC path, "WIDExHIGHT" the drawing's size.
std::vector<std::string> fill_header(const TemplateLines& head, const std::string& date,
                                     const std::string& NC_path, const std::string& size_text);

// Width (double) x height (single) of the drawing's bounding box.
Result<std::string> drawing_size_text(const Drawing& drawing);

// The body of the program: every contour of the cut list, in order.
Result<NcBlocks> nc_body(const NcInput& input, const NcTemplates& templates);

}  // namespace makenc
