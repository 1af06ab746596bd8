// The body of the NC program is assembled in memory before a single byte
// reaches the file, so a contour that cannot be turned into blocks never
// leaves half a program on the machine. This file holds the blocks as the
// program's text, the coordinate format and the template line lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace makenc {

// The blocks written so far, as the bytes they go to the file with: the
// words of a block joined without separator, then CR LF. A block is written
// word by word at the end of NC_blk; one without its code word is taken
// back when it ends, as it is not written. NC_blk may begin with lines of
// its own (the program's header) before the first block.
struct NcBlocks {
  std::string NC_blk;
  std::size_t block_start = 0;  // where the block being written begins
  bool block_written = false;   // whether it has its code word
};

// Starts a block with its code word (G00..G03, a template line or a
// condition code); "" starts a block that is not written.
void open_block(NcBlocks& blocks, std::string_view code);

// Appends a word in its text form (a compensation code) to the open block.
void add_text(NcBlocks& blocks, std::string_view word);

// Appends the address letter and the nc_number of v rounded to the grid
// 1/S to the open block; a value without text appends nothing and is false.
bool add_word(NcBlocks& blocks, char letter, double v, std::int16_t S);

// Ends the open block: CR LF after it, or without its code word the whole
// block taken back.
void close_block(NcBlocks& blocks);

// A block of one word: a template line or a condition code.
void put_line(NcBlocks& blocks, std::string_view text);

// Drops every byte from `size` on (a contour that failed half way drops
// its blocks): `size` is the size of NC_blk before that contour.
void truncate_blocks(NcBlocks& blocks, std::size_t size);

// The lines of NC_blk, in order, without their CR LF.
std::vector<std::string> body_lines(const NcBlocks& blocks);

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
