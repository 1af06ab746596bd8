#include "core/text.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace makenc {

std::size_t first_invalid_byte(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {  // a single-byte character, never a lead byte
      ++i;
      continue;
    }
    const std::size_t n = char_length(s, i);
    if (n == 1 && (is_lead_byte(b) || b == 0x80 || b == 0xA0 || b >= 0xFD)) return i;
    i += n;
  }
  return std::string_view::npos;
}

std::string excerpt(std::string_view s, std::size_t limit) {
  if (s.size() <= limit) return std::string(s);
  std::size_t end = 0;
  while (end < s.size() && end + char_length(s, end) <= limit) end += char_length(s, end);
  return std::string(s.substr(0, end)) + "...";
}

std::vector<std::size_t> char_starts(std::string_view s) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < s.size();) {
    starts.push_back(i);
    i += char_length(s, i);
  }
  return starts;
}

std::string_view last_char(std::string_view s) {
  if (s.empty()) return {};
  std::size_t last = 0;
  for (std::size_t i = 0; i < s.size();) {
    last = i;
    i += char_length(s, i);
  }
  return s.substr(last);
}

std::string_view first_chars(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t k = 0; k < n && i < s.size(); ++k) i += char_length(s, i);
  return s.substr(0, i);
}

std::vector<std::string_view> split_chars(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  std::size_t from = 0;
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == sep) {
      parts.push_back(s.substr(from, i - from));
      from = i + 1;
      ++i;
    } else {
      i += char_length(s, i);
    }
  }
  parts.push_back(s.substr(from));
  return parts;
}

std::size_t rfind_char(std::string_view s, std::string_view seps) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size();) {
    if (seps.find(s[i]) != std::string_view::npos) {
      found = i;
      ++i;
    } else {
      i += char_length(s, i);
    }
  }
  return found;
}

std::optional<std::string> read_file_bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data;
  std::error_code size_unknown;
  const auto size = std::filesystem::file_size(file, size_unknown);
  if (!size_unknown) data.reserve(static_cast<std::size_t>(size));
  try {
    // A folder opens like a file here and only fails when read.
    char chunk[1 << 16];
    for (;;) {
      const std::streamsize n = in.rdbuf()->sgetn(chunk, sizeof chunk);
      if (n <= 0) break;
      data.append(chunk, static_cast<std::size_t>(n));
    }
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
  if (in.bad()) return std::nullopt;
  return data;
}

std::optional<std::vector<std::string>> read_text_lines(const std::filesystem::path& file) {
  auto data = read_file_bytes(file);
  if (!data) return std::nullopt;
  return text_lines(*data);
}

std::vector<std::string_view> line_views(std::string_view data) {
  std::vector<std::string_view> lines;
  // Room for lines of eight bytes on average, taken once: a drawing's or a
  // program's lines are longer, and room never used is never backed.
  lines.reserve(data.size() / 8 + 1);
  // The next CR and the next LF from `from` on, each looked for only once
  // it has been passed.
  std::size_t cr = data.find('\r'), lf = data.find('\n');
  std::size_t from = 0;
  while (from < data.size()) {
    if (cr != std::string_view::npos && cr < from) cr = data.find('\r', from);
    if (lf != std::string_view::npos && lf < from) lf = data.find('\n', from);
    const std::size_t end = std::min(cr, lf);
    if (end == std::string_view::npos) {
      lines.emplace_back(data.data() + from, data.size() - from);
      break;
    }
    lines.emplace_back(data.data() + from, end - from);
    from = end + 1;
    if (data[end] == '\r' && from < data.size() && data[from] == '\n') ++from;
  }
  return lines;
}

std::vector<std::string> text_lines(std::string_view data) {
  const std::vector<std::string_view> views = line_views(data);
  return std::vector<std::string>(views.begin(), views.end());
}

std::string join_crlf(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& l : lines) size += l.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

std::filesystem::path host_path(const std::filesystem::path& folder, std::string_view relative) {
  std::filesystem::path p = folder;
  for (std::string_view part : split_chars(relative, '\\'))
    if (!part.empty()) p /= std::string(part);
  return p;
}

}  // namespace makenc
