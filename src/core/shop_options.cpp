#include "core/shop_options.h"

#include <cmath>
#include <string_view>

#include "core/cell.h"
#include "core/files.h"
#include "core/number_text.h"
#include "core/text.h"

namespace makenc {

namespace {

// Ranges no shop comes near: a length of a kilometre, a feed of ten
// kilometres a minute, a pause of a day.
constexpr double kMostLength = 1e6;
constexpr double kMostFeed = 1e7;
constexpr double kMostSeconds = 86400;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

struct Line {
  std::size_t number = 0;
  std::string key;  // as typed, code page 932
  std::string_view value;

  Error error(const std::string& why) const {
    return Error{std::string(kOptionIniShown) + " line " + std::to_string(number) + ": the key \"" +
                 cp932_to_utf8(excerpt(key, kExcerptBytes)) + "\" " + why};
  }

  // A number within [low, high]; above zero when `positive`.
  Result<double> number_in(double low, double high, bool positive, const char* what) const {
    double v = 0;
    std::string quoted = "\"";
    quoted += cp932_to_utf8(excerpt(std::string(value), kExcerptBytes));
    quoted += '"';
    if (!parse_strict_number(value, v) || !std::isfinite(v))
      return error(std::string("takes ") + what + ", and " + quoted + " is not a number");
    if ((positive && !(v > low)) || v < low || v > high)
      return error(std::string("takes ") + what + (positive ? " above " : " from ") + double_text(low) +
                   " up to " + double_text(high) + ", not " + quoted);
    return v;
  }
};

constexpr const char* kLength = "a length";
constexpr const char* kFeed = "a feed in units a minute";
constexpr const char* kSeconds = "a time in seconds";

Status read_key(const Line& line, ShopOptions& o) {
  const std::string& k = line.key;
  auto set = [&](auto& target, double low, double high, bool positive, const char* what) -> Status {
    auto v = line.number_in(low, high, positive, what);
    if (!v) return v.error();
    target = *v;
    return ok_status();
  };
  if (k == "lead_in") {
    const std::string_view v = line.value;
    if (v == "line" || v == "arc") {
      o.lead_in = v == "arc" ? LeadInShape::arc : LeadInShape::line;
      return ok_status();
    }
    return line.error("takes \"line\" or \"arc\", not \"" +
                      cp932_to_utf8(excerpt(std::string(v), kExcerptBytes)) + "\"");
  }
  if (k == "lead_in_radius") return set(o.lead_in_radius, 0, kMostLength, true, kLength);
  if (k == "overcut") return set(o.overcut, 0, kMostLength, false, kLength);
  if (k == "feed_mark") return set(o.feed_mark, 0, kMostFeed, true, kFeed);
  if (k == "rapid_feed") return set(o.rapid_feed, 0, kMostFeed, true, kFeed);
  if (k == "pierce_time") return set(o.pierce_time, 0, kMostSeconds, false, kSeconds);
  if (k == "mark_start_time") return set(o.mark_start_time, 0, kMostSeconds, false, kSeconds);
  constexpr std::string_view kFeedPrefix = "feed_";
  if (k.size() > kFeedPrefix.size() && std::string_view(k).substr(0, kFeedPrefix.size()) == kFeedPrefix) {
    double feed = 0;
    Status s = set(feed, 0, kMostFeed, true, kFeed);
    if (!s) return s;
    o.feeds.emplace_back(k.substr(kFeedPrefix.size()), feed);
    return ok_status();
  }
  return line.error(
      "is no option (lead_in, lead_in_radius, overcut, feed_<condition code>, feed_mark, rapid_feed, "
      "pierce_time, mark_start_time)");
}

}  // namespace

std::optional<double> ShopOptions::feed_of(const std::string& code) const {
  for (const auto& [c, f] : feeds)
    if (c == code) return f;
  return std::nullopt;
}

Result<ShopOptions> read_option_lines(const std::vector<std::string>& lines) {
  ShopOptions options;
  std::vector<std::pair<std::string, std::size_t>> seen;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text = trimmed(lines[i]);
    if (text.empty() || text.front() == ';') continue;
    const std::size_t eq = text.find('=');
    Line line{i + 1, std::string(trimmed(text.substr(0, eq))), {}};
    if (eq == std::string_view::npos)
      return Error{std::string(kOptionIniShown) + " line " + std::to_string(i + 1) + ": \"" +
                   cp932_to_utf8(excerpt(std::string(text), kExcerptBytes)) +
                   "\" is no setting of the form key=value"};
    line.value = trimmed(text.substr(eq + 1));
    for (const auto& [key, at] : seen)
      if (key == line.key) return line.error("is given twice, first on line " + std::to_string(at));
    seen.emplace_back(line.key, line.number);
    Status read = read_key(line, options);
    if (!read) return read.error();
  }
  return options;
}

Result<ShopOptions> read_option_ini(const std::filesystem::path& folder) {
  const std::filesystem::path file = host_path(folder, kOptionIni);
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return ShopOptions{};
  auto lines = read_text_lines(file);
  if (!lines) return Error{"cannot read " + std::string(kOptionIniShown) + " (" + display_path(file) + ")"};
  return read_option_lines(*lines);
}

std::vector<std::string> option_ini_lines(const ShopOptions& o) {
  // Enough digits that every value reads back as the same double.
  auto double_text = [](double v) { return plain_decimal_text(v, 17); };
  std::vector<std::string> lines;
  if (o.lead_in == LeadInShape::arc) lines.emplace_back("lead_in=arc");
  if (o.lead_in_radius) lines.push_back("lead_in_radius=" + double_text(*o.lead_in_radius));
  if (o.overcut > 0) lines.push_back("overcut=" + double_text(o.overcut));
  for (const auto& [code, feed] : o.feeds) lines.push_back("feed_" + code + "=" + double_text(feed));
  if (o.feed_mark) lines.push_back("feed_mark=" + double_text(*o.feed_mark));
  if (o.rapid_feed) lines.push_back("rapid_feed=" + double_text(*o.rapid_feed));
  if (o.pierce_time > 0) lines.push_back("pierce_time=" + double_text(o.pierce_time));
  if (o.mark_start_time > 0) lines.push_back("mark_start_time=" + double_text(o.mark_start_time));
  return lines;
}

Status write_option_ini(const std::filesystem::path& folder, const ShopOptions& options) {
  return write_file_atomically(host_path(folder, kOptionIni), join_crlf(option_ini_lines(options)));
}

double lead_in_radius_or_default(const ShopOptions& options, double approach) {
  return options.lead_in_radius ? *options.lead_in_radius : approach / 2;
}

}  // namespace makenc
