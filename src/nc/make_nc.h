// NC generation: the NC program from the cut list, and the hand-back of the
// interchange file to the host.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "assign/assignment.h"
#include "core/drawing.h"
#include "core/error.h"
#include "core/file_layer.h"
#include "core/settings.h"

namespace makenc {

// The check boxes of the main window that NC generation reads.
struct NcOptions {
  LayerTicks LYc{};
  bool Check2 = true;    // "ジョイントあり": leave joints
  bool Check1 = false;   // "JWW確認図 出力あり": append the check drawing
  bool out_che = false;  // "外形線出力なし": leave the outline out
};

struct NcInput {
  const std::filesystem::path& folder;  // the host folder (working directory)
  const Drawing& drawing;
  const Settings& settings;
  const Assignment& assignment;
  const NcOptions& options;
  std::string date;  // the short date "yyyy/MM/dd"
};

struct NcWritten {
  std::filesystem::path file;  // where the program was written on disk
  std::string message;         // the file as named to the user + "に出力しました。", code page 932
};

// Builds the block table and writes header, body and footer to the NC file.
// An approach length the lead-ins cannot be cut with, or a joint length
// below 0 with joints on, is refused first, naming the line of the settings.
Result<NcWritten> make_nc_data(const NcInput& input, FileLayer& files = system_files());

// The work of the button "makeNC" without ending the program: the NC
// program, the check drawing when asked, and the working copy handed back
// over "JWC_TEMP.TXT" (atomically) and deleted. "JWC_TEMP.TXT" is replaced
// only whole and only after the NC program is; when the NC program or the
// hand-back fails the host's file stays as it was and the working copy is
// kept. Every failure comes back as an error naming the file.
Result<NcWritten> makeNC_Click(const NcInput& input, const std::vector<std::string>& working_copy,
                               FileLayer& files = system_files());

// Today's date as the short date "yyyy/MM/dd", whatever the locale.
std::string short_date_today();

}  // namespace makenc
