#include "import/reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "core/constants.h"
#include "core/text.h"
#include "import/record_steps.h"

namespace makenc {
namespace {

// A row has 21 columns, and a record's fields go to the columns of the same
// number.
constexpr std::size_t kMaxFields = kLastColumn + 1;

bool is_colour_header(std::string_view line) {
  return line.size() == 3 && line[0] == 'l' && line[1] == 'c' && line[2] >= '0' && line[2] <= '8';
}

// Whether the text starts with the two ASCII bytes of a keyword.
bool starts_with_keyword(std::string_view s, const char (&keyword)[3]) {
  return s.size() >= 2 && s[0] == keyword[0] && s[1] == keyword[1];
}

bool is_keyword(std::string_view s, const char (&keyword)[3]) {
  return s.size() == 2 && starts_with_keyword(s, keyword);
}

// Fields a kind needs: a line its two end points, a circle its centre and
// radius, an arc also its angles, flatness and tilt, a point its position.
std::size_t fields_needed(std::string_view keyword, std::size_t count) {
  if (keyword.empty()) return 5;
  if (is_keyword(keyword, "ci")) return count >= 6 ? 8 : 4;
  if (is_keyword(keyword, "pt")) return 3;
  return 1;
}

bool is_geometry(std::string_view keyword) {
  return keyword.empty() || is_keyword(keyword, "ci") || is_keyword(keyword, "pt");
}

// A record with fewer fields than its kind uses, or more than a row holds,
// cannot be represented: it is left out and not counted.
bool record_fits(const std::vector<std::string_view>& parts) {
  if (parts.size() > kMaxFields) return false;
  return parts.size() >= fields_needed(parts[0], parts.size());
}

// Only whole code-page-932 characters can be read as coordinates and named
// in a message; a damaged byte is named with its place in the line. Texts
// and other records without geometry are only carried, whatever they hold.
Status check_cp932(const Reader& rd, std::string_view Lin_dat) {
  const std::size_t at = first_invalid_byte(Lin_dat);
  if (at == std::string::npos) return ok_status();
  static const char* const kHex = "0123456789ABCDEF";
  const auto b = static_cast<unsigned char>(Lin_dat[at]);
  const std::string hex{'0', 'x', kHex[b >> 4], kHex[b & 0xF]};
  return Error{line_reference(rd.current) + ": byte " + hex + " at column " + std::to_string(at + 1) +
               " is not a character of code page 932"};
}

enum class BodyLine { Layer, Colour, Ignored, Record };

BodyLine classify_body(std::string_view line) {
  if (line.size() == 1 && line[0] == '#') return BodyLine::Ignored;
  if (line.size() < 2) return BodyLine::Record;
  // The keywords "ly", "lc", "lt", "pn" and "pl" are ASCII: their two bytes
  // are the line's first two characters exactly when they are its first
  // two bytes.
  const char first = line[0], second = line[1];
  if (first == 'l') {
    if (second == 'y') return BodyLine::Layer;
    if (second == 'c') return BodyLine::Colour;
    if (second == 't') return BodyLine::Ignored;
  } else if (first == 'p' && (second == 'n' || second == 'l')) {
    return BodyLine::Ignored;
  }
  return BodyLine::Record;
}

// The flatness field is 1 for a circular arc; anything else is part of an
// ellipse, which the machine's arc moves cannot follow.
Status check_circular(const Reader& rd) {
  const Cell& flatness = rd.Rec_fld[6];
  if (rd.Fld_val[6] == 1) return ok_status();
  return Error{line_reference(rd.current) + ": the arc is part of an ellipse (flatness \"" +
               cp932_to_utf8(excerpt(flatness.text(), kExcerptBytes)) + "\"); only circular arcs can be cut"};
}

// The last field each kind reads as a number: a line's end points, a
// circle's centre and radius, an arc's angles, flatness and tilt besides, a
// point's position.
std::size_t last_number_field(RecordKind kind) {
  switch (kind) {
    case RecordKind::Line: return 4;
    case RecordKind::Circle: return 3;
    case RecordKind::Arc: return 7;
    case RecordKind::Point: return 2;
    default: return 0;
  }
}

// A coordinate, radius or angle the host did not write as a number (or one
// beyond the range of a double) would be read as 0 or as infinity and cut
// somewhere the drawing does not show.
Status check_numbers(Reader& rd) {
  const std::size_t last = last_number_field(record_kind(rd.Rec_fld));
  for (std::size_t i = 1; i <= last; ++i) {
    const std::string_view text = rd.parts[i];
    if (parse_strict_number(text, rd.Fld_val[i])) continue;
    // Appended piece by piece: GCC 12 warns of an overlapping copy (-Wrestrict)
    // inside "literal" + std::string&& when optimising.
    std::string quoted = "\"";
    quoted += cp932_to_utf8(excerpt(text, kExcerptBytes));
    quoted += '"';
    if (is_decimal_literal(text))
      return Error{line_reference(rd.current) + ": the number " + quoted + " is too large to compute with"};
    return Error{line_reference(rd.current) + ": field " + std::to_string(i) + " " + quoted +
                 " is not a number"};
  }
  return ok_status();
}

// A radius below 0 turns the circle inside out: its box and its direction
// would be those of another circle.
Status check_radius(Reader& rd) {
  const RecordKind kind = record_kind(rd.Rec_fld);
  if (kind != RecordKind::Circle && kind != RecordKind::Arc) return ok_status();
  if (!(rd.Fld_val[3] < 0)) return ok_status();
  return Error{line_reference(rd.current) + ": the radius \"" +
               cp932_to_utf8(excerpt(rd.Rec_fld[3].text(), kExcerptBytes)) + "\" is below 0"};
}

Status body_line(Reader& rd, Drawing& drawing, std::string_view Lin_dat) {
  switch (classify_body(Lin_dat)) {
    case BodyLine::Layer: rd.Now_ly.assign(Lin_dat); break;
    case BodyLine::Colour: {
      Status text = check_cp932(rd, Lin_dat);
      if (!text) return text;
      rd.Now_lc = Cell(std::string(last_char(Lin_dat)));
      break;
    }
    case BodyLine::Ignored: break;
    case BodyLine::Record: {
      auto counted = parse_record(rd, drawing, Lin_dat);
      if (!counted) return counted.error();
      const int k = layer_number(rd.Now_ly);
      if (*counted && k >= 0) ++drawing.LY_cnt[static_cast<std::size_t>(k)];
      break;
    }
  }
  return ok_status();
}

void start_line(Reader& rd, std::size_t index, std::string_view Lin_dat) {
  rd.current.number = static_cast<std::int64_t>(index) + 1;
  rd.current.text = Lin_dat;
}

SourceLine kept(const LineInRead& line) { return SourceLine{line.number, std::string(line.text)}; }

// Whether every byte of s is ASCII, and so a character of code page 932 of
// its own; looked at eight bytes at a time.
bool all_ascii(std::string_view s) {
  std::uint64_t bits = 0;
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t eight = 0;
    std::memcpy(&eight, s.data() + i, 8);
    bits |= eight;
  }
  for (; i < s.size(); ++i) bits |= static_cast<unsigned char>(s[i]);
  return (bits & 0x8080808080808080u) == 0;
}

// Splits a record into rd.parts as split_chars does at the blanks on
// character boundaries. A blank is never the second byte of a double-byte
// character, so every blank is one of them.
void split_fields(Reader& rd, std::string_view line) {
  rd.parts.clear();
  std::size_t from = 0;
  for (std::size_t blank = line.find(' '); blank != std::string_view::npos; blank = line.find(' ', from)) {
    rd.parts.emplace_back(line.data() + from, blank - from);
    from = blank + 1;
  }
  rd.parts.emplace_back(line.data() + from, line.size() - from);
}

// The fields the second read moves and tests as numbers: a line's end
// points, a circle's or an arc's centre and radius, a point's position.
std::size_t values_kept(RecordKind kind) {
  switch (kind) {
    case RecordKind::Line: return 4;
    case RecordKind::Circle:
    case RecordKind::Arc: return 3;
    case RecordKind::Point: return 2;
    default: return 0;
  }
}

void keep_values(Reader& rd) {
  const std::size_t n = values_kept(record_kind(rd.Rec_fld));
  rd.kept_values.insert(rd.kept_values.end(), rd.Fld_val.begin() + 1, rd.Fld_val.begin() + 1 + n);
}

// The second read meets the records of the first in the same order.
void take_values(Reader& rd) {
  const std::size_t n = values_kept(record_kind(rd.Rec_fld));
  std::copy_n(rd.kept_values.begin() + static_cast<std::ptrdiff_t>(rd.next_kept), n, rd.Fld_val.begin() + 1);
  rd.next_kept += n;
}

std::vector<std::string_view> views_of(const std::vector<std::string>& lines) {
  return std::vector<std::string_view>(lines.begin(), lines.end());
}

}  // namespace

std::string line_reference(const LineInRead& line) {
  return "JWC_TEMP.TXT line " + std::to_string(line.number) + " \"" +
         cp932_to_utf8(excerpt(line.text, kExcerptBytes)) + "\"";
}

std::string line_reference(const SourceLine& line) {
  return line_reference(LineInRead{line.number, line.text});
}

RecordKind record_kind(const std::vector<Cell>& Rec_fld) {
  if (Rec_fld.empty()) return RecordKind::Other;
  const std::string_view keyword = Rec_fld[0].text();
  if (keyword.empty()) return RecordKind::Line;
  if (is_keyword(keyword, "ci")) return Rec_fld.size() > 5 ? RecordKind::Arc : RecordKind::Circle;
  if (is_keyword(keyword, "pt")) return RecordKind::Point;
  if (is_keyword(keyword, "BL")) return RecordKind::Blank;
  return RecordKind::Other;
}

void classify_line(Reader& rd, std::string_view Lin_dat) {
  if (rd.in_body) return;
  if (layer_number(Lin_dat) >= 0) rd.Now_ly.assign(Lin_dat);
  if (is_colour_header(Lin_dat)) rd.Now_lc = Cell(Lin_dat.substr(2));
  if (rd.pass == ReadPass::first && Lin_dat != "hq") rd.working_copy.emplace_back(Lin_dat);
  if (Lin_dat == "#") rd.in_body = true;
}

Result<bool> parse_record(Reader& rd, Drawing& drawing, std::string_view Lin_dat) {
  if (layer_number(rd.Now_ly) < 0) return false;
  // An empty line holds nothing to lose.
  if (Lin_dat.empty()) {
    if (rd.pass == ReadPass::first) rd.skipped.push_back(kept(rd.current));
    return false;
  }
  split_fields(rd, Lin_dat);
  if (!record_fits(rd.parts)) {
    if (rd.pass == ReadPass::first) rd.skipped.push_back(kept(rd.current));
    return false;
  }
  // The second read meets the lines the first one checked.
  if (rd.pass == ReadPass::first && is_geometry(rd.parts[0]) && !all_ascii(Lin_dat)) {
    Status text = check_cp932(rd, Lin_dat);
    if (!text) return text.error();
  }
  rd.Rec_fld.clear();
  for (std::string_view part : rd.parts) rd.Rec_fld.emplace_back(part);
  rd.on_edge = false;
  if (rd.pass == ReadPass::first) {
    for (Status (*check)(Reader&) : {check_numbers, check_radius}) {
      Status checked = check(rd);
      if (!checked) return checked.error();
    }
    if (record_kind(rd.Rec_fld) == RecordKind::Arc) {
      Status circular = check_circular(rd);
      if (!circular) return circular.error();
    }
    bounding_box_step(rd, drawing);
    keep_values(rd);
    return true;
  }
  take_values(rd);
  Status stored = storing_step(rd, drawing);
  if (!stored) return stored.error();
  return true;
}

Status first_read(Reader& rd, Drawing& drawing, std::span<const std::string_view> lines) {
  rd.Rec_fld.reserve(kMaxFields);
  rd.parts.reserve(kMaxFields + 1);
  rd.kept_values.reserve(4 * lines.size());  // at most four a record: no copying as it grows
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view Lin_dat = lines[i];
    start_line(rd, i, Lin_dat);
    classify_line(rd, Lin_dat);
    if (Lin_dat.substr(0, 4) == "file") drawing.File_lin = Lin_dat;
    if (!rd.in_body) continue;
    Status st = body_line(rd, drawing, Lin_dat);
    if (!st) return st;
  }
  return ok_status();
}

void between_reads(Reader& rd, Drawing& drawing) {
  drawing.LY_cntAll = 0;
  for (int k = 0; k < kLayerCount; ++k) {
    const std::int64_t n = drawing.LY_cnt[static_cast<std::size_t>(k)];
    if (n > 0)
      drawing.LY_dat[static_cast<std::size_t>(k)] = Table(static_cast<std::size_t>(n), kLastKeptColumn);
    drawing.LY_cntAll += n;
  }
  drawing.LY_cnt.fill(0);
  rd.in_body = false;
  rd.Now_ly.clear();
  rd.pass = ReadPass::second;
  rd.next_kept = 0;
  // The second read starts from the same colour as the first, so a record
  // before the body's first "lc" line is stored with its header colour.
  rd.Now_lc = Cell();
}

Status second_read(Reader& rd, Drawing& drawing, std::span<const std::string_view> lines) {
  Status shift = translation_from_box(rd, drawing);
  if (!shift) return shift;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view Lin_dat = lines[i];
    start_line(rd, i, Lin_dat);
    classify_line(rd, Lin_dat);
    if (!rd.in_body) continue;
    Status st = body_line(rd, drawing, Lin_dat);
    if (!st) return st;
  }
  return ok_status();
}

Status first_read(Reader& rd, Drawing& drawing, const std::vector<std::string>& lines) {
  const std::vector<std::string_view> views = views_of(lines);
  return first_read(rd, drawing, std::span<const std::string_view>(views));
}

Status second_read(Reader& rd, Drawing& drawing, const std::vector<std::string>& lines) {
  const std::vector<std::string_view> views = views_of(lines);
  return second_read(rd, drawing, std::span<const std::string_view>(views));
}

}  // namespace makenc
