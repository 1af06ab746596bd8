// File text is code page 932 with CR LF line ends, kept as bytes. Where the
// system looks at characters, it walks code-page-932 character boundaries: a
// lead byte takes the next byte with it, so the second byte of a double-byte
// character (which may be 0x5C, the "\" of a path) is never a character of
// its own. A lead byte followed by a byte that cannot be a second byte (a
// blank, a digit, the end of the text) stands alone, so a damaged byte never
// swallows the field separator after it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace makenc {

inline bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool is_trail_byte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Bytes of the character that starts at s[i]: 2 for a lead byte with a
// second byte after it, else 1.
inline std::size_t char_length(std::string_view s, std::size_t i) {
  const bool pair = is_lead_byte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
                    is_trail_byte(static_cast<unsigned char>(s[i + 1]));
  return pair ? 2 : 1;
}

// Offset of the first byte that is not part of a code-page-932 character (a
// lead byte without its second byte, or one of 0x80, 0xA0, 0xFD..0xFF), or
// npos when the whole text is code page 932.
std::size_t first_invalid_byte(std::string_view s);

// At most `limit` bytes of s, cut on a character boundary, with "..." when
// cut: a message quotes a damaged line without flooding the screen.
std::string excerpt(std::string_view s, std::size_t limit);
inline constexpr std::size_t kExcerptBytes = 80;

// Byte offsets at which the characters of s start.
std::vector<std::size_t> char_starts(std::string_view s);

// The last character of s (one or two bytes); "" for an empty text.
std::string_view last_char(std::string_view s);

// The first n characters of s (all of s when it is shorter).
std::string_view first_chars(std::string_view s, std::size_t n);

// Splits at every occurrence of the single-byte character sep that stands on
// a character boundary.
std::vector<std::string_view> split_chars(std::string_view s, char sep);

// Position of the last occurrence of any of the single-byte characters in
// seps on a character boundary, or npos.
std::size_t rfind_char(std::string_view s, std::string_view seps);

// Conversion at the edges only: the window, the terminal and file names.
// A byte or character the other side cannot hold becomes "?". Defined by
// the platform layer (core/platform_*.cpp).
std::string cp932_to_utf8(std::string_view bytes);
std::string utf8_to_cp932(std::string_view text);

// Splits file text into lines without their line ends; a line may end in
// CR LF, a bare LF or a lone CR (neither byte can be the second byte of a
// double-byte character), and a last line without a line end counts.
std::vector<std::string> text_lines(std::string_view bytes);

// The lines of file text as text_lines splits them, as views of its bytes.
std::vector<std::string_view> line_views(std::string_view bytes);

// The bytes of a file; nothing when it cannot be opened or read.
std::optional<std::string> read_file_bytes(const std::filesystem::path& file);

// Reads a text file into lines as text_lines does. Returns nothing when the
// file cannot be opened or read.
std::optional<std::vector<std::string>> read_text_lines(const std::filesystem::path& file);

// Joins lines with CR LF after every one of them.
std::string join_crlf(const std::vector<std::string>& lines);

// A path the system names with "\" ("Zemlak\Bin\set.ini"), relative to the
// host folder, as a path of this platform.
std::filesystem::path host_path(const std::filesystem::path& folder, std::string_view relative);

}  // namespace makenc
