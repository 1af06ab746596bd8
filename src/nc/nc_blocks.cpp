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
// Single precision holds about seven decimal digits; more would print noise.
constexpr int kCoordinateDigits = 7;
}  // namespace

void size_blocks(NcBlocks& blocks, std::size_t rows) {
  blocks.NC_blk.clear();
  blocks.NC_blk.reserve(rows);
  blocks.NC_row = 0;
}

void put_block(NcBlocks& blocks, const NcBlock& block) {
  blocks.NC_blk.resize(blocks.NC_row);
  blocks.NC_blk.push_back(block_text(block).value_or(""));
  ++blocks.NC_row;
}

void truncate_blocks(NcBlocks& blocks, std::size_t row) {
  if (row < blocks.NC_row) blocks.NC_row = row;
  blocks.NC_blk.resize(blocks.NC_row);
}

std::optional<std::string> block_text(const NcBlock& block) {
  if (block[slot::code].empty()) return std::nullopt;
  std::string text;
  for (const std::string& word : block) text += word;
  return text;
}

std::vector<std::string> body_lines(NcBlocks blocks) {
  std::vector<std::string> lines;
  lines.reserve(blocks.NC_blk.size());
  for (std::string& text : blocks.NC_blk)
    if (!text.empty()) lines.push_back(std::move(text));
  return lines;
}

std::optional<std::string> nc_number(double rounded) {
  const float single = static_cast<float>(rounded);
  if (!std::isfinite(single)) return std::nullopt;
  std::string text = plain_decimal_text(static_cast<double>(single), kCoordinateDigits);
  if (text == "-0") text = "0";
  if (text.find('.') == std::string::npos) text += '.';
  return text;
}

std::optional<std::string> nc_word(char letter, double v, std::int16_t S) {
  auto text = nc_number(round_to_grid(v, S));
  if (!text) return std::nullopt;
  return std::string(1, letter) + *text;
}

TemplateLines template_lines(std::string_view bytes) {
  TemplateLines list = text_lines(bytes);
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
