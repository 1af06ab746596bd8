// Where the NC program goes and what the header and the message call it.
#include "nc/nc_output_name.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/files.h"
#include "core/platform.h"
#include "core/text.h"

namespace makenc {

namespace {

// The host names the drawing's own output folder relative to its folder and
// the folder of unnamed drawings absolutely, on its own drive.
constexpr const char* kNamedFolder = "Zemlak\\";
constexpr const char* kUnnamedFolder = "C:\\jww\\Zemlak\\";
constexpr const char* kFileKey = "file=";
// The longest file name the file systems of the shop's machines take.
constexpr std::size_t kLongestFileName = 255;

// Names Windows keeps for its devices, with any extension.
constexpr std::array<std::string_view, 22> kDeviceNames{
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

bool is_device_name(const std::string& utf8) {
  std::string stem = utf8.substr(0, utf8.find('.'));
  for (char& c : stem)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  return std::find(kDeviceNames.begin(), kDeviceNames.end(), stem) != kDeviceNames.end();
}

// A name taken from the host must not be able to name another folder, a
// stream of another file or a device, on any system the program runs on:
// no control bytes, none of the characters Windows keeps out of file names
// (no file of the host can hold them), no device name.
bool is_plain_file_name(const std::string& utf8) {
  if (utf8.empty() || utf8 == "." || utf8 == "..") return false;
  constexpr std::string_view kKeptOut = "/\\:*?\"<>|";
  for (unsigned char c : utf8)
    if (c < 0x20 || c == 0x7F || kKeptOut.find(static_cast<char>(c)) != std::string_view::npos) return false;
  return !is_device_name(utf8);
}

Result<NcOutputName> unnamed_output(const std::string& date) {
  std::string day = date;
  for (char& c : day)
    if (c == '/') c = '-';
  auto folder = unnamed_drawing_folder();
  if (!folder) return folder.error();
  const std::string file_name = cp932_to_utf8(day) + ".nc";
  if (!is_plain_file_name(file_name))
    return Error{"the date \"" + cp932_to_utf8(date) + "\" cannot name the NC program"};
  const std::filesystem::path file = *folder / path_from_utf8(file_name);
  return NcOutputName{kUnnamedFolder + day + ".nc", file, utf8_to_cp932(display_path(file))};
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
  return NcOutputName{NC_path, folder / "Zemlak" / path_from_utf8(file_name), NC_path};
}

}  // namespace makenc
