// Where the NC program goes and what the header and the message call it.
#include <cstdlib>

#include "core/text.h"
#include "nc/nc_program.h"

namespace makenc {

namespace {

// The host names the drawing's own output folder relative to its folder and
// the folder of unnamed drawings absolutely, on its own drive.
constexpr const char* kNamedFolder = "Zemlak\\";
constexpr const char* kUnnamedFolder = "C:\\jww\\Zemlak\\";
constexpr const char* kFileKey = "file=";
// The longest file name the file systems of the shop's machines take.
constexpr std::size_t kLongestFileName = 255;

// A name taken from the host must not be able to name another folder or a
// device: no control bytes, and no separator once it is converted.
bool is_plain_file_name(const std::string& utf8) {
  if (utf8.empty() || utf8 == "." || utf8 == "..") return false;
  for (unsigned char c : utf8)
    if (c < 0x20 || c == '/' || c == 0x7F) return false;
  return true;
}

Result<NcOutputName> unnamed_output(const std::string& date) {
  std::string day = date;
  for (char& c : day)
    if (c == '/') c = '-';
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0')
    return Error{"the drawing has no name and HOME is not set: no folder for the NC program"};
  const std::string file_name = cp932_to_utf8(day) + ".nc";
  if (!is_plain_file_name(file_name))
    return Error{"the date \"" + cp932_to_utf8(date) + "\" cannot name the NC program"};
  const std::filesystem::path file = std::filesystem::path(home) / "jww" / "Zemlak" / file_name;
  return NcOutputName{kUnnamedFolder + day + ".nc", file, utf8_to_cp932(file.string())};
}

}  // namespace

std::string drawing_name(const std::string& File_lin) {
  std::string name;
  const std::size_t sep = rfind_char(File_lin, "\\/");
  if (sep != std::string::npos)
    name = File_lin.substr(sep + 1);
  else if (File_lin.rfind(kFileKey, 0) == 0)
    name = File_lin.substr(std::char_traits<char>::length(kFileKey));
  else
    name = File_lin;
  const std::size_t dot = rfind_char(name, ".");
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

Result<NcOutputName> nc_output_name(const std::filesystem::path& folder, const std::string& File_lin,
                                    const std::string& date) {
  const std::string name = drawing_name(File_lin);
  if (name.empty()) return unnamed_output(date);
  const std::string shown = "the drawing name \"" + cp932_to_utf8(excerpt(name, kExcerptBytes)) + "\"";
  // A damaged byte would name one file on disk and another in the program.
  if (first_invalid_byte(name) != std::string::npos) return Error{shown + " is not code page 932 text"};
  const std::string file_name = cp932_to_utf8(name) + ".nc";
  if (file_name.size() > kLongestFileName)
    return Error{shown + " is too long to name a file (" + std::to_string(file_name.size()) +
                 " bytes with \".nc\", at most " + std::to_string(kLongestFileName) + ")"};
  if (!is_plain_file_name(file_name)) return Error{shown + " cannot name a file"};
  const std::string NC_path = kNamedFolder + name + ".nc";
  return NcOutputName{NC_path, folder / "Zemlak" / file_name, NC_path};
}

}  // namespace makenc
