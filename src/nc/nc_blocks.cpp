#include "nc/nc_blocks.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <system_error>

#include "core/files.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "core/text.h"

namespace makenc {

namespace {

// Appends the text of a coordinate already rounded to the grid, in single
// precision: it holds about seven decimal digits, more would print noise.
// False when it has no text.
bool append_nc_number(std::string& out, double rounded) {
  const float single = static_cast<float>(rounded);
  if (!std::isfinite(single)) return false;
  const std::size_t from = out.size();
  append_single_plain_text(out, single);
  if (std::string_view(out).substr(from) == "-0") out.erase(from, 1);
  const std::string_view text = std::string_view(out).substr(from);
  if (text.find('.') == std::string_view::npos) out += '.';
  return true;
}

}  // namespace

void open_block(NcBlocks& blocks, std::string_view code) {
  blocks.block_start = blocks.NC_blk.size();
  blocks.block_written = !code.empty();
  blocks.NC_blk += code;
}

void add_text(NcBlocks& blocks, std::string_view word) { blocks.NC_blk += word; }

bool add_word(NcBlocks& blocks, char letter, double v, std::int16_t S) {
  const std::size_t from = blocks.NC_blk.size();
  blocks.NC_blk += letter;
  if (append_nc_number(blocks.NC_blk, round_to_grid(v, S))) return true;
  blocks.NC_blk.resize(from);
  return false;
}

void close_block(NcBlocks& blocks) {
  if (blocks.block_written)
    blocks.NC_blk += "\r\n";
  else
    blocks.NC_blk.resize(blocks.block_start);
}

void put_line(NcBlocks& blocks, std::string_view text) {
  open_block(blocks, text);
  close_block(blocks);
}

void truncate_blocks(NcBlocks& blocks, std::size_t size) {
  if (size < blocks.NC_blk.size()) blocks.NC_blk.resize(size);
}

std::vector<std::string> body_lines(const NcBlocks& blocks) {
  std::vector<std::string> lines;
  const std::string_view text = blocks.NC_blk;
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = std::min(text.find("\r\n", from), text.size());
    lines.emplace_back(text.substr(from, end - from));
    from = end + 2;
  }
  return lines;
}

std::optional<std::string> nc_number(double rounded) {
  std::string text;
  if (!append_nc_number(text, rounded)) return std::nullopt;
  return text;
}

std::optional<std::string> nc_word(char letter, double v, std::int16_t S) {
  NcBlocks word;
  if (!add_word(word, letter, v, S)) return std::nullopt;
  return std::move(word.NC_blk);
}

TemplateLines template_lines(std::string_view bytes) {
  const std::vector<std::string_view> lines = line_views(bytes);
  TemplateLines list;
  list.reserve(lines.size() + 1);
  list.insert(list.end(), lines.begin(), lines.end());
  list.emplace_back();
  return list;
}

Result<TemplateLines> read_template(const std::filesystem::path& file) {
  std::error_code ec;
  const std::filesystem::file_status st = std::filesystem::status(file, ec);
  if (std::filesystem::is_directory(st))
    return Error{"cannot read the template " + display_path(file) + ": it is a folder, not a file"};
  if (!std::filesystem::is_regular_file(st))
    return Error{"cannot read the template " + display_path(file) + ": no such file"};
  std::optional<std::vector<std::string>> lines;
  try {
    lines = read_text_lines(file);
  } catch (const std::exception& e) {
    return Error{"cannot read the template " + display_path(file) + ": " + e.what()};
  }
  if (!lines) return Error{"cannot read the template " + display_path(file)};
  TemplateLines list = std::move(*lines);
  list.emplace_back();
  return list;
}

}  // namespace makenc
