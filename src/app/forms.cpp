#include "app/forms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "core/files.h"
#include "core/number_text.h"
#include "core/settings_check.h"
#include "core/text.h"

namespace makenc {

namespace {

using K = ControlKind;

constexpr std::array kDrawControls{
    ControlSpec{"auto", K::PictureButton, "アプローチ自動割付", 120, 0, 580, 580},
    ControlSpec{"R_drew", K::PictureButton, "再描画　初期化", 840, 0, 580, 580},
    ControlSpec{"makeNC", K::PictureButton, "NCデータ作成", 1560, 0, 580, 580},
    ControlSpec{"Corner", K::CheckBox, "G09付加", 2280, 120, 975, 255},
    ControlSpec{"Check2", K::CheckBox, "ジョイントあり", 3480, 120, 1695, 255},
    ControlSpec{"Check1", K::CheckBox, "JWW確認図 出力あり", 4920, 120, 1935, 255},
    ControlSpec{"out_che", K::CheckBox, "外形線出力なし", 7080, 120, 1575, 255},
    ControlSpec{"LYc0", K::CheckBox, "0", 9120, 120, 495, 255},
    ControlSpec{"LYc1", K::CheckBox, "1", 9600, 120, 375, 255},
    ControlSpec{"LYc2", K::CheckBox, "2", 10080, 120, 375, 255},
    ControlSpec{"LYc3", K::CheckBox, "3", 10560, 120, 375, 255},
    ControlSpec{"LYc4", K::CheckBox, "4", 11040, 120, 375, 255},
    ControlSpec{"LYc5", K::CheckBox, "5", 11520, 120, 615, 255},
    // After the layer boxes, to the bar's right end.
    ControlSpec{"every_part", K::CheckBox, "全部品を材料", 12240, 120, 1305, 255},
    // Below it, in the bar's second row: what is shown, not what is cut.
    ControlSpec{"order_numbers", K::CheckBox, "順番表示", 12240, 375, 1305, 240},
    // Edit mode and its order step, in the second row too: clicks edit the
    // run instead of painting.
    ControlSpec{"edit", K::ToggleButton, "編集", 2280, 375, 975, 240},
    ControlSpec{"order_step", K::ToggleButton, "順番指定", 3480, 375, 1305, 240},
    // Below the tool bar's own height, as in the layout it was drawn in;
    // the bar clips it.
    ControlSpec{"Label1", K::Label, "レイヤー選択", 1920, 840, 1815, 375},
};

constexpr std::array kDrawMenuItems{
    MenuSpec{"file", "ファイル", ""},    MenuSpec{"hed_ini", "設定ファイル編集", "file"},
    MenuSpec{"set_ini", "設定", "file"}, MenuSpec{"option_ini", "詳細設定", "file"},
    MenuSpec{"end", "終了", ""},
};

// In tab order: the buttons first, so that no box is entered at once.
constexpr std::array kKakouControls{
    ControlSpec{"S_com", K::Button, "決定", 2880, 4320, 855, 375},
    ControlSpec{"escape", K::Button, "キャンセル", 3960, 4320, 1095, 375},
    ControlSpec{"Label3", K::Label, "小数点", 120, 285, 855, 195},
    ControlSpec{"S_suu", K::TextBox, "", 1080, 240, 855, 285},
    ControlSpec{"Label2", K::Label, "許容誤差", 120, 600, 855, 285},
    ControlSpec{"GOSA", K::TextBox, "", 1080, 600, 855, 285},
    ControlSpec{"Label1", K::Label, "アプローチ", 120, 960, 975, 315},
    ControlSpec{"Apr", K::TextBox, "", 1080, 960, 855, 285},
    ControlSpec{"Label11", K::Label, "マーキング　　加工条件", 2400, 240, 975, 495},
    ControlSpec{"M_Joukn", K::TextBox, "", 3600, 240, 1335, 270},
    ControlSpec{"K_Joukn", K::Frame, "加工条件", 120, 1560, 4935, 2655},
    ControlSpec{"Label4", K::Label, "穴or 円弧Ｒ", 1080, 360, 975, 375, "K_Joukn"},
    ControlSpec{"Label5", K::Label, "線長さ　 までの", 2400, 360, 1215, 255, "K_Joukn"},
    ControlSpec{"Label6", K::Label, "加工条件", 3840, 360, 735, 255, "K_Joukn"},
    ControlSpec{"Label7", K::Label, "小形", 240, 600, 495, 255, "K_Joukn"},
    ControlSpec{"R_min1", K::TextBox, "", 1080, 600, 975, 270, "K_Joukn"},
    ControlSpec{"L_min1", K::TextBox, "", 2280, 600, 975, 270, "K_Joukn"},
    ControlSpec{"K_Joukn1", K::TextBox, "", 3840, 600, 855, 270, "K_Joukn"},
    ControlSpec{"Label12", K::Label, "=>", 3480, 720, 255, 255, "K_Joukn"},
    ControlSpec{"Label9", K::Label, "大形", 240, 840, 495, 255, "K_Joukn"},
    ControlSpec{"R_min2", K::TextBox, "", 1080, 840, 975, 270, "K_Joukn"},
    ControlSpec{"L_min2", K::TextBox, "", 2280, 840, 975, 270, "K_Joukn"},
    ControlSpec{"K_Joukn2", K::TextBox, "", 3840, 840, 855, 270, "K_Joukn"},
    ControlSpec{"Label13", K::Label, "これより大きいものはジョイント付（外周は例外）", 720, 1200, 4095, 255,
                "K_Joukn"},
    ControlSpec{"Label8", K::Label, "ジョイント付", 120, 1440, 975, 255, "K_Joukn"},
    ControlSpec{"R_min3", K::TextBox, "", 1080, 1440, 975, 270, "K_Joukn"},
    ControlSpec{"L_min3", K::TextBox, "", 2280, 1440, 975, 270, "K_Joukn"},
    ControlSpec{"K_Joukn3", K::TextBox, "", 3840, 1440, 855, 270, "K_Joukn"},
    ControlSpec{"Label10", K::Label, "ジョイント長(共通）", 2040, 2040, 1575, 255, "K_Joukn"},
    ControlSpec{"joint", K::TextBox, "", 3840, 2032, 855, 270, "K_Joukn"},
};

// SAVE first, CANCEL second, the text third: no option is chosen at first.
constexpr std::array kFSetControls{
    ControlSpec{"OKButton", K::Button, "SAVE", 4320, 240, 1335, 375},
    ControlSpec{"CancelButton", K::Button, "CANCEL", 4320, 720, 1335, 375},
    ControlSpec{"RTB1", K::TextArea, "", 240, 2040, 5415, 3615},
    ControlSpec{"frame", K::Frame, "設定ファイル選択", 240, 120, 3375, 1815},
    ControlSpec{"hed_op", K::OptionButton, "ヘッダーファイル（NCの先頭文）", 360, 360, 2895, 255, "frame"},
    ControlSpec{"sta_op", K::OptionButton, "加工開始コード(切断用)", 360, 600, 2775, 255, "frame"},
    ControlSpec{"sta_opM", K::OptionButton, "加工開始コード(マーキング用)", 360, 840, 2895, 255, "frame"},
    ControlSpec{"end_op", K::OptionButton, "加工終了コード", 360, 1080, 2535, 255, "frame"},
    ControlSpec{"foot_op", K::OptionButton, "プログラム終了コード", 360, 1320, 2475, 300, "frame"},
};

struct TemplateOption {
  std::string_view option;
  std::string_view file;
};
constexpr std::array kTemplateOptions{
    TemplateOption{"hed_op", "Zemlak\\Bin\\head.ini"},
    TemplateOption{"sta_op", "Zemlak\\Bin\\sta_cut.ini"},
    TemplateOption{"sta_opM", "Zemlak\\Bin\\sta_mark.ini"},
    TemplateOption{"end_op", "Zemlak\\Bin\\end.ini"},
    TemplateOption{"foot_op", "Zemlak\\Bin\\foot.ini"},
};

// The preview's margins in the client area, in pixels.
constexpr int kPicTop = 42;
constexpr int kPicLeft = 2;
constexpr int kPicSpareWidth = 5;
constexpr int kPicSpareHeight = 48;

// The file holds one value per line: a line break typed or pasted into a
// box would shift every later line.
std::string one_line(std::string text) {
  std::erase(text, '\r');
  std::erase(text, '\n');
  return utf8_to_cp932(text);
}

std::string two_digits(int v) { return std::string(1, char('0' + v / 10)) + char('0' + v % 10); }

}  // namespace

const FormSpec kDrawForm{"Draw", "Draw", 13545, 6840, kDrawControls};
const FormSpec kKakouForm{"kakou", "加工指示", 5250, 4830, kKakouControls};
const FormSpec kFSetForm{"F_set", "ファイル設定", 5835, 5805, kFSetControls};
const std::span<const MenuSpec> kDrawMenus{kDrawMenuItems};

const ControlSpec& FormSpec::operator[](std::string_view control) const {
  const auto found =
      std::find_if(controls.begin(), controls.end(), [&](const ControlSpec& c) { return c.name == control; });
  if (found == controls.end()) std::abort();  // a name the table does not hold: a fault of the program
  return *found;
}

int twips_to_pixels(int twips, int dots_per_inch) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dots_per_inch / kTwipsPerInch));
}

PixelRect preview_place(int client_width, int client_height) {
  // A window smaller than the spare margins leaves an empty picture.
  return {kPicLeft, kPicTop, std::max(0, client_width - kPicSpareWidth),
          std::max(0, client_height - kPicSpareHeight)};
}

std::string clock_text(int hour, int minute) { return std::to_string(hour) + ":" + two_digits(minute); }

std::vector<BoxText> kakou_box_texts(const Settings& settings) {
  std::vector<BoxText> boxes{{"S_suu", std::to_string(settings.ini_S_suu)},
                             {"GOSA", cp932_to_utf8(settings.ini_GOSA)},
                             {"Apr", cp932_to_utf8(settings.ini_Apr)}};
  static constexpr std::array<std::array<std::string_view, 3>, 3> kRows{
      {{"R_min1", "L_min1", "K_Joukn1"}, {"R_min2", "L_min2", "K_Joukn2"}, {"R_min3", "L_min3", "K_Joukn3"}}};
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const CondRow& row = settings.ini_Cond[i];
    boxes.push_back({kRows[i][0], cp932_to_utf8(row.R_min())});
    boxes.push_back({kRows[i][1], cp932_to_utf8(row.L_min())});
    boxes.push_back({kRows[i][2], cp932_to_utf8(row.K_Joukn())});
  }
  boxes.push_back({"M_Joukn", cp932_to_utf8(settings.ini_M_Joukn)});
  boxes.push_back({"joint", single_text(settings.ini_joint)});
  return boxes;
}

namespace {

// A value a run would refuse is not saved: the message names the box and
// gives the run's own reason.
Status refuse_unusable(const std::vector<std::string>& lines, const Settings& settings,
                       std::string* refused_box) {
  Settings typed = settings;
  read_set_ini_lines(lines, typed);
  const struct {
    const char* box;
    const char* caption;
    Status status;
  } checks[] = {{"GOSA", "許容誤差", check_tolerance(typed)},
                {"Apr", "アプローチ", check_approach_length(typed.ini_Apr, typed.ini_S_suu)},
                {"joint", "ジョイント長", check_joint_length(typed)}};
  for (const auto& c : checks) {
    if (c.status) continue;
    if (refused_box) *refused_box = c.box;
    return Error{std::string(c.caption) + " の値では加工できません。設定は保存していません。\n" +
                 c.status.error().message};
  }
  return ok_status();
}

}  // namespace

Status save_kakou(const BoxReader& box_text, const std::filesystem::path& folder, Settings& settings,
                  std::string* refused_box) {
  const auto box = [&](std::string_view name) { return one_line(box_text(name)); };
  std::vector<std::string> lines{box("GOSA"), box("Apr"), box("S_suu")};
  for (const char* n : {"1", "2", "3"})
    lines.push_back(box(std::string("R_min") + n) + " " + box(std::string("L_min") + n) + " " +
                    box(std::string("K_Joukn") + n));
  lines.push_back(box("M_Joukn"));
  lines.push_back(box("joint"));
  const Status usable = refuse_unusable(lines, settings, refused_box);
  if (!usable) return usable;
  const std::filesystem::path file = host_path(folder, "Zemlak\\Bin\\set.ini");
  const Status written = write_file_atomically(file, join_crlf(lines));
  if (!written)
    return Error{"設定ファイル " + display_path(file) + " を保存できませんでした。\n" +
                 written.error().message};
  read_set_ini(file, settings);
  return ok_status();
}

std::string_view template_file_of(std::string_view option) {
  for (const TemplateOption& t : kTemplateOptions)
    if (t.option == option) return t.file;
  return {};
}

TemplateShown load_template(const std::filesystem::path& folder, std::string_view file) {
  const std::filesystem::path path = host_path(folder, file);
  const auto lines = read_text_lines(path);
  const std::string name = cp932_to_utf8(file);
  TemplateShown shown;
  if (lines) {
    bool exact = true;
    for (std::size_t i = 0; i < lines->size(); ++i) {
      const std::string& line = (*lines)[i];
      const std::string utf8 = cp932_to_utf8(line);
      // A byte that is no code-page-932 character would come back as "?".
      exact = exact && utf8_to_cp932(utf8) == line;
      shown.text += (i == 0 ? "" : "\n") + utf8;
    }
    if (!exact) shown.note = name + " に表示できない文字があります。保存すると「?」になります。";
    return shown;
  }
  std::error_code ec;
  if (!std::filesystem::exists(path, ec))
    shown.note = name + " はまだありません。SAVE で新しく作ります。";
  else
    shown.note = name + " を読めません。空の内容を表示しています。";
  return shown;
}

std::string template_text_bytes(std::string_view text) {
  if (text.empty()) return {};
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (;;) {
    const std::size_t end = text.find('\n', from);
    std::string line(text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from));
    std::erase(line, '\r');  // an edit control of Windows ends its lines with CR LF
    lines.push_back(utf8_to_cp932(line));
    if (end == std::string_view::npos) break;
    from = end + 1;
  }
  return join_crlf(lines);
}

Status save_template(const std::filesystem::path& folder, std::string_view file, std::string_view text) {
  const std::filesystem::path path = host_path(folder, file);
  const Status saved = write_file_atomically(path, template_text_bytes(text));
  if (!saved) return Error{display_path(path) + " を保存できませんでした。\n" + saved.error().message};
  return ok_status();
}

std::string startup_failure_text(const Error& error) {
  return "図面を読み込めませんでした。\n" + error.message;
}

void assign_approaches(Session& session) {
  run_assignment(session);
  measure_job(session);
}

bool tick_option(Session& session, std::string_view control, bool ticked) {
  if (control == "Check1") {
    session.options.check_drawing = ticked;  // the hand-back's check drawing, not the program
    return true;
  }
  if (control == "every_part") {
    session.every_part_material = ticked;  // the next run's material map
    return true;
  }
  if (control == "Check2") {
    session.options.joints = ticked;
  } else if (control == "out_che") {
    session.options.skip_outline = ticked;
  } else if (control.size() == 4 && control.starts_with("LYc") && control[3] >= '0' &&
             control[3] < '0' + kLayerCount) {
    session.options.layers[static_cast<std::size_t>(control[3] - '0')] = ticked;
  } else {
    return false;
  }
  measure_offered_job(session);
  return true;
}

std::string summary_text(const JobSummary& job) {
  auto length = [](double v) { return fixed_text(v, 3); };
  return "切断 " + std::to_string(job.contours_cut) + "（うちピアス " + std::to_string(job.pierces) +
         "）、切断長 " + length(job.cut_length) + "、マーキング " + std::to_string(job.contours_marked) +
         "、マーキング長 " + length(job.marking_length) + "、早送り長 " + length(job.rapid_length) +
         (job.time_s ? "、所要時間 " + duration_text(*job.time_s) : "");
}

std::string duration_text(double seconds) {
  const long long whole = std::llround(std::max(seconds, 0.0));
  auto two = [](long long v) { return std::string(1, char('0' + v / 10)) + char('0' + v % 10); };
  const long long h = whole / 3600, m = whole / 60 % 60, s = whole % 60;
  if (h > 0) return std::to_string(h) + "時間" + two(m) + "分" + two(s) + "秒";
  return std::to_string(m) + "分" + two(s) + "秒";
}

std::string options_refused_text(const std::string& reason) {
  return "詳細設定 (option.ini) を使えません。どのオプションも使わずに続けます。\n" + reason;
}

std::string status_text(const Result<JobSummary>& summary, const Warnings& warnings) {
  std::string text =
      summary ? summary_text(summary.value()) : "NCデータを作成できません: " + summary.error().message;
  for (const Warning& w : warnings) text += " / " + w.message;
  return text;
}

std::string job_status_text(const Session& session) {
  if (!session.makeNC_visible) {
    std::string text(kStatusText);
    for (const Warning& w : session.start.warnings) text += " / " + w.message;
    return text;
  }
  Warnings warnings = session.start.warnings;
  warnings.insert(warnings.end(), session.assignment.warnings.begin(), session.assignment.warnings.end());
  return status_text(session.summary, warnings);
}

std::string completion_text(const NcWritten& written) {
  std::string text = cp932_to_utf8(written.message);
  for (const Warning& w : written.warnings) text += "\n" + w.message;
  const std::size_t shown = std::min(written.faults.size(), kFaultsShown);
  for (std::size_t k = 0; k < shown; ++k) text += "\n" + written.faults[k];
  if (written.faults.size() > shown)
    text += "\n… and " + std::to_string(written.faults.size() - shown) + " more";
  return text;
}

}  // namespace makenc
