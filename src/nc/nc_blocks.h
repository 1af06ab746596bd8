// The body of the NC program is assembled as a table of blocks before a
// single byte reaches the file, so a contour that cannot be turned into
// blocks never leaves half a program on the machine. This file holds that
// table, the text of one block, the coordinate format and the template
// line lists.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace makenc {

// Eleven word slots per block; only a few are ever filled.
inline constexpr std::size_t kBlockSlots = 11;
namespace slot {
inline constexpr std::size_t code = 0;  // G00..G03, a template line or a condition code
inline constexpr std::size_t x = 1, y = 2, i = 3, j = 4;
inline constexpr std::size_t comp = 7;  // G40 or G41
}  // namespace slot

using NcBlock = std::array<std::string, kBlockSlots>;

// The blocks written so far, each kept as its block text ("" for a block
// without its code word, which is not written): a sheet of a hundred
// thousand elements writes a few hundred thousand blocks, and eleven slots
// a block would hold that many times more memory than the text.
struct NcBlocks {
  std::vector<std::string> NC_blk;
  std::size_t NC_row = 0;  // the next free row
};

// Empties the table and gives it room for `rows` blocks; it grows past that
// when long start or end codes need more.
void size_blocks(NcBlocks& blocks, std::size_t rows);

// Writes the block at the cursor and advances it.
void put_block(NcBlocks& blocks, const NcBlock& block);

// Drops every block from row `row` on (a contour that failed half way).
void truncate_blocks(NcBlocks& blocks, std::size_t row);

// The slots joined without separator; a block without its code word has no
// text and is not written.
std::optional<std::string> block_text(const NcBlock& block);

// The texts of all blocks written so far, in order.
std::vector<std::string> body_lines(NcBlocks blocks);

// The text of a coordinate already rounded to the grid: single precision,
// at most 7 significant digits, never an exponent, a trailing "." on whole
// numbers, "0." for both zeros. A value that is not finite has no text: a
// made-up coordinate would send the torch somewhere the drawing never said.
std::optional<std::string> nc_number(double rounded);

// Address letter + nc_number of v rounded to the grid 1/S.
std::optional<std::string> nc_word(char letter, double v, std::int16_t S);

// One entry per line of a template file plus a spare empty entry at the
// end, so that a reader stopping at the first empty entry always stops.
using TemplateLines = std::vector<std::string>;

// A template's text as its lines and the spare entry; a line of blanks stays
// as it is.
TemplateLines template_lines(std::string_view bytes);

// Reads a template file as template_lines does. A missing or unreadable
// file is an error naming it.
Result<TemplateLines> read_template(const std::filesystem::path& file);

}  // namespace makenc
