// The windows of the desktop tool as data, and what their handlers compute,
// for every front end (the Qt window on Linux, the Win32 window on
// Windows): each control's name, kind, caption and place in twips, the
// menus, and the texts the dialogs show and write. A front end only creates
// the controls and paints.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "core/error.h"
#include "core/settings.h"
#include "core/warnings.h"

namespace makenc {

enum class ControlKind {
  PictureButton,  // a tool-bar button with a picture; the text is its tool tip
  ToggleButton,   // a tool-bar button with the text on it that stays down while on
  CheckBox,
  Label,
  Frame,
  TextBox,
  OptionButton,
  Button,
  TextArea,  // a text box of several lines
};

struct ControlSpec {
  std::string_view name;
  ControlKind kind;
  std::string_view text;         // UTF-8
  int left, top, width, height;  // twips, in the form or in the frame named below
  std::string_view frame = {};
};

struct FormSpec {
  std::string_view name;
  std::string_view caption;
  int client_width, client_height;  // twips
  std::span<const ControlSpec> controls;

  // The control of that name; every name a front end asks for is in the
  // table, so a missing one is a fault of the program.
  const ControlSpec& operator[](std::string_view control) const;
};

// Twips are 15 to a pixel on a screen of 96 dots per inch.
inline constexpr int kTwipsPerInch = 1440;
int twips_to_pixels(int twips, int dots_per_inch = 96);

// The main window "Draw": the tool bar's buttons and boxes, in tab order.
extern const FormSpec kDrawForm;
inline constexpr int kToolBarHeight = 630;
inline constexpr int kStatusBarHeight = 375;
inline constexpr std::string_view kStatusText = "２次元NCデータ作成中";
// The preview's place in the client area (pixels): below the tool bar, with
// a small margin; it keeps 5 pixels of the width and 48 of the height free.
struct PixelRect {
  int left, top, width, height;
};
PixelRect preview_place(int client_width, int client_height);
// The status bar's clock: the time of day as "H:mm".
std::string clock_text(int hour, int minute);

struct MenuSpec {
  std::string_view name;
  std::string_view text;
  std::string_view menu;  // the drop-down menu it is an item of; "" on the menu bar
};
extern const std::span<const MenuSpec> kDrawMenus;

// The dialog "加工指示" (kakou) over Zemlak\Bin\set.ini.
extern const FormSpec kKakouForm;
// Every text box of the dialog with the text it shows for the settings.
struct BoxText {
  std::string_view box;
  std::string text;  // UTF-8
};
std::vector<BoxText> kakou_box_texts(const Settings& settings);
// Writes the eight lines from the boxes (UTF-8, as typed; a line break in a
// box is dropped, characters code page 932 cannot hold become "?") and
// reads the file back into the settings. A tolerance, approach length or
// joint length a run would refuse is not saved: `refused_box` names its
// box. The error is the message for the user.
using BoxReader = std::function<std::string(std::string_view box)>;
Status save_kakou(const BoxReader& box_text, const std::filesystem::path& folder, Settings& settings,
                  std::string* refused_box = nullptr);

// The editor "ファイル設定" (F_set) of the five template files.
extern const FormSpec kFSetForm;
// The file an option button chooses, as the host folder names it; "" for
// any other control.
std::string_view template_file_of(std::string_view option);
// A template file's text as the editor shows it (UTF-8, lines joined by
// "\n"), and the note below the text box ("" when there is nothing to say).
struct TemplateShown {
  std::string text;
  std::string note;
};
TemplateShown load_template(const std::filesystem::path& folder, std::string_view file);
// The editor's text (UTF-8, lines split at "\n", "\r" dropped) written to
// the file, every line ended by CR LF.
std::string template_text_bytes(std::string_view text);
Status save_template(const std::filesystem::path& folder, std::string_view file, std::string_view text);

// What the main window says when start-up fails, in its message box.
std::string startup_failure_text(const Error& error);

// The button "auto" of a window: an assignment run, and the job summary of
// the program it offers.
void assign_approaches(Session& session);

// A box of the tool bar ticked or cleared, by its control name: "Check1",
// "Check2", "out_che", "every_part" and the layer boxes "LYc0" to "LYc5"
// set what the next run and NC generation read. A box that changes the
// program "makeNC" writes ("Check2", "out_che", a layer box) measures the
// job again while a program is on offer. False for any other control.
bool tick_option(Session& session, std::string_view control, bool ticked);

// The job summary as one line (UTF-8): contours cut and how many of them
// are pierced ("うちピアス": the cutting starts; a marking start is counted
// with the contours marked), cut length, contours marked, marking length and
// rapid length, the lengths in drawing units with three decimals and a point
// whatever the locale.
// With the job's time, when the feeds of "option.ini" give it, the line
// ends with "、所要時間 " and the time.
std::string summary_text(const JobSummary& job);

// A time in whole seconds, rounded to the nearest: "0分42秒", "12分34秒",
// from an hour on "1時間02分03秒".
std::string duration_text(double seconds);

// What the window says when "option.ini" cannot be taken at start-up.
std::string options_refused_text(const std::string& reason);

// The status bar's text panel after a run: the job summary, or why NC
// generation would refuse the job, then the run's warnings (UTF-8).
std::string status_text(const Result<JobSummary>& summary, const Warnings& warnings);

// The status bar's text panel for the session as it stands: the status
// text of the program "makeNC" would write now, or kStatusText while no
// program is on offer (before "auto", after "R_drew" or a right click);
// start-up's warnings (elements drawn twice that chaining left out)
// follow either.
std::string job_status_text(const Session& session);

// The completion message with the warnings of the program below it and the
// first kFaultsShown faults its check found, then how many more (UTF-8).
inline constexpr std::size_t kFaultsShown = 10;
std::string completion_text(const NcWritten& written);

}  // namespace makenc
