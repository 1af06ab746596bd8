#include "app/shop_form.h"

#include <algorithm>

#include "core/files.h"
#include "core/number_text.h"
#include "core/shop_options.h"
#include "core/text.h"

namespace makenc {

namespace {

using K = ControlKind;

// In tab order: the buttons first, so that no box is entered at once.
constexpr std::array kShopControls{
    ControlSpec{"S_com", K::Button, "決定", 2880, 4680, 855, 375},
    ControlSpec{"escape", K::Button, "キャンセル", 3960, 4680, 1095, 375},
    ControlSpec{"lead_frame", K::Frame, "アプローチ", 120, 120, 4935, 1215},
    ControlSpec{"lead_line", K::OptionButton, "直線", 240, 300, 1215, 255, "lead_frame"},
    ControlSpec{"lead_arc", K::OptionButton, "円弧", 1560, 300, 1215, 255, "lead_frame"},
    ControlSpec{"Label1", K::Label, "円弧の半径", 240, 720, 1455, 255, "lead_frame"},
    ControlSpec{"lead_in_radius", K::TextBox, "", 1800, 690, 975, 285, "lead_frame"},
    ControlSpec{"Label2", K::Label, "オーバーカット", 240, 1500, 1575, 255},
    ControlSpec{"overcut", K::TextBox, "", 1920, 1470, 975, 285},
    ControlSpec{"feed_frame", K::Frame, "送り速度（毎分）と時間（秒）", 120, 1920, 4935, 2655},
    ControlSpec{"feed_code1", K::Label, "", 240, 300, 1095, 255, "feed_frame"},
    ControlSpec{"feed1", K::TextBox, "", 1440, 270, 975, 285, "feed_frame"},
    ControlSpec{"feed_code2", K::Label, "", 240, 660, 1095, 255, "feed_frame"},
    ControlSpec{"feed2", K::TextBox, "", 1440, 630, 975, 285, "feed_frame"},
    ControlSpec{"feed_code3", K::Label, "", 240, 1020, 1095, 255, "feed_frame"},
    ControlSpec{"feed3", K::TextBox, "", 1440, 990, 975, 285, "feed_frame"},
    ControlSpec{"Label3", K::Label, "マーキング", 2640, 300, 1095, 255, "feed_frame"},
    ControlSpec{"feed_mark", K::TextBox, "", 3840, 270, 975, 285, "feed_frame"},
    ControlSpec{"Label4", K::Label, "早送り", 2640, 660, 1095, 255, "feed_frame"},
    ControlSpec{"rapid_feed", K::TextBox, "", 3840, 630, 975, 285, "feed_frame"},
    ControlSpec{"Label5", K::Label, "ピアス時間", 240, 1620, 1455, 255, "feed_frame"},
    ControlSpec{"pierce_time", K::TextBox, "", 1800, 1590, 975, 285, "feed_frame"},
    ControlSpec{"Label6", K::Label, "マーキング開始時間", 240, 1980, 1575, 255, "feed_frame"},
    ControlSpec{"mark_start_time", K::TextBox, "", 1800, 1950, 975, 285, "feed_frame"},
};

// The box of each key but the feeds of the condition codes, with the
// caption a refusal names it by.
struct KeyBox {
  std::string_view key, box, caption;
};
constexpr std::array kKeyBoxes{
    KeyBox{"lead_in_radius", "lead_in_radius", "円弧の半径"},
    KeyBox{"overcut", "overcut", "オーバーカット"},
    KeyBox{"feed_mark", "feed_mark", "マーキングの送り速度"},
    KeyBox{"rapid_feed", "rapid_feed", "早送りの送り速度"},
    KeyBox{"pierce_time", "pierce_time", "ピアス時間"},
    KeyBox{"mark_start_time", "mark_start_time", "マーキング開始時間"},
};
constexpr std::array<std::string_view, 3> kFeedBoxes{"feed1", "feed2", "feed3"};

std::string shown(double v) { return plain_decimal_text(v, 17); }

std::string optional_text(const std::optional<double>& v) { return v ? shown(*v) : std::string(); }

std::string box_line(std::string text) {
  std::erase(text, '\r');
  std::erase(text, '\n');
  return utf8_to_cp932(text);
}

// The reason of the file's refusal without the file and line, which the
// dialog does not have.
std::string reason_of(const Error& e) {
  const std::size_t colon = e.message.find(": ");
  return colon == std::string::npos ? e.message : e.message.substr(colon + 2);
}

}  // namespace

const FormSpec kShopForm{"option", "詳細設定", 5250, 5190, kShopControls};

std::vector<BoxText> shop_box_texts(const Settings& settings) {
  const ShopOptions& o = settings.shop;
  std::vector<BoxText> boxes{
      {"lead_in_radius", optional_text(o.lead_in_radius)},
      {"overcut", o.overcut > 0 ? shown(o.overcut) : ""},
      {"feed_mark", optional_text(o.feed_mark)},
      {"rapid_feed", optional_text(o.rapid_feed)},
      {"pierce_time", o.pierce_time > 0 ? shown(o.pierce_time) : ""},
      {"mark_start_time", o.mark_start_time > 0 ? shown(o.mark_start_time) : ""},
  };
  static constexpr std::array<std::string_view, 3> kCodes{"feed_code1", "feed_code2", "feed_code3"};
  for (std::size_t i = 0; i < kFeedBoxes.size(); ++i) {
    const std::string& code = settings.ini_Cond[i].K_Joukn();
    boxes.push_back({kCodes[i], "加工条件 " + cp932_to_utf8(code)});
    boxes.push_back({kFeedBoxes[i], optional_text(o.feed_of(code))});
  }
  return boxes;
}

bool shop_arc_chosen(const Settings& settings) { return settings.shop.lead_in == LeadInShape::arc; }

Status save_shop_options(const BoxReader& box_text, bool arc, const std::filesystem::path& folder,
                         Settings& settings, std::string* refused_box) {
  std::vector<std::string> lines;
  if (arc) lines.emplace_back("lead_in=arc");
  auto refuse = [&](std::string_view box, const std::string& caption, const Error& e) -> Status {
    if (refused_box) *refused_box = std::string(box);
    return Error{caption + " の値を使えません。設定は保存していません。\n" + reason_of(e)};
  };
  // Each box is read as the file's line would be, alone.
  auto take = [&](std::string_view box, const std::string& key, const std::string& caption) -> Status {
    const std::string text = box_line(box_text(box));
    if (text.find_first_not_of(" \t") == std::string::npos) return ok_status();
    const std::string line = key + "=" + text;
    const auto read = read_option_lines({line});
    if (!read) return refuse(box, caption, read.error());
    lines.push_back(line);
    return ok_status();
  };
  for (const KeyBox& k : kKeyBoxes) {
    const Status s = take(k.box, std::string(k.key), std::string(k.caption));
    if (!s) return s;
  }
  std::vector<std::string> codes;
  for (std::size_t i = 0; i < kFeedBoxes.size(); ++i) {
    const std::string& code = settings.ini_Cond[i].K_Joukn();
    // A code two rows share has one feed: the first row's box gives it.
    if (code.empty() || std::find(codes.begin(), codes.end(), code) != codes.end()) continue;
    codes.push_back(code);
    const Status s = take(kFeedBoxes[i], "feed_" + code, "加工条件 " + cp932_to_utf8(code) + " の送り速度");
    if (!s) return s;
  }
  for (const auto& [code, feed] : settings.shop.feeds)
    if (std::find(codes.begin(), codes.end(), code) == codes.end())
      lines.push_back("feed_" + code + "=" + shown(feed));
  auto options = read_option_lines(lines);
  if (!options) return refuse("", "詳細設定", options.error());
  const Status written = write_option_ini(folder, *options);
  if (!written)
    return Error{"設定ファイル " + display_path(host_path(folder, kOptionIni)) +
                 " を保存できませんでした。\n" + written.error().message};
  settings.shop = std::move(*options);
  return ok_status();
}

}  // namespace makenc
