// The two reads of the interchange file "JWC_TEMP.TXT". The first copies the
// header into the working copy, counts the records of each layer and finds
// the bounding box; the second stores the records into the layer tables,
// moved so that the box's lower-left corner is the origin.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/cell.h"
#include "core/drawing.h"
#include "core/error.h"

namespace makenc {

// A line of the interchange file, for messages: 1-based number and bytes.
struct SourceLine {
  std::int64_t number = 0;
  std::string text;
};

// The line being read: a view of the lines the reads are given.
struct LineInRead {
  std::int64_t number = 0;
  std::string_view text;
};

// Which bounding-box cell a value widens; the order of the box's cells.
enum class BoxSide { X_min, Y_min, X_max, Y_max };

// What a record is, from its keyword and its number of fields.
enum class RecordKind { Line, Circle, Arc, Point, Blank, Other };
RecordKind record_kind(const std::vector<Cell>& Rec_fld);

enum class ReadPass { first, second };

// The reader's own cells, alive for the two reads of one start-up.
struct Reader {
  bool in_body = false;  // from the "#" line on
  ReadPass pass = ReadPass::first;
  std::vector<Cell> Rec_fld;
  // The record touches the left or bottom edge: its row gets the outline
  // mark "G".
  bool on_edge = false;
  std::string Now_ly;
  Cell Now_lc;  // Empty until an "lc" line is met

  LineInRead current;
  // The box is started by the first line, circle, arc or point record; texts
  // and other keywords carry no coordinates the host means as geometry.
  bool box_started = false;
  // The record each box cell was last taken from, so a box that cannot be
  // used names the line to fix.
  std::array<SourceLine, 4> box_from;
  // The numeric values of the box's cells, in the order of BoxSide.
  std::array<double, 4> box_value{};
  // The values of the fields the first read checks as numbers (1 to the
  // last one the record's kind reads), each read once a record; in the
  // second read those of values_kept.
  std::array<double, 21> Fld_val{};
  // The values of the first read's records that the second read uses
  // again, record after record (see values_kept), and the next one the
  // second read takes: each coordinate is read from its text once.
  std::vector<double> kept_values;
  std::size_t next_kept = 0;
  // The fields of the record being read, as views of its line.
  std::vector<std::string_view> parts;
  // Numeric value of the text form of -X_min and -Y_min (second read).
  double x_shift = 0;
  double y_shift = 0;

  // Header lines for "Zemlak\Bin\makeNC.txt", "hq" lines left out.
  std::vector<std::string> working_copy;
  // Records the tables cannot hold; they are neither counted nor stored.
  std::vector<SourceLine> skipped;
};

// Header lines: layer and colour selection, the end of the header, and the
// copy into the working copy during the first read. Does nothing once the
// header has ended.
void classify_line(Reader& rd, std::string_view Lin_dat);

// A record line of the body: the bounding-box step in the first read, the
// storing step in the second. Records of other layers are left alone.
// Returns whether the record counts for its layer (false when it was
// skipped); an Error when the drawing cannot be used.
Result<bool> parse_record(Reader& rd, Drawing& drawing, std::string_view Lin_dat);

// The first read over all lines of the file. The lines must outlive the
// second read.
Status first_read(Reader& rd, Drawing& drawing, std::span<const std::string_view> lines);
Status first_read(Reader& rd, Drawing& drawing, const std::vector<std::string>& lines);

// Creates the tables of the layers that hold records and resets the cells
// the second read starts from.
void between_reads(Reader& rd, Drawing& drawing);

// The second read over the same lines.
Status second_read(Reader& rd, Drawing& drawing, std::span<const std::string_view> lines);
Status second_read(Reader& rd, Drawing& drawing, const std::vector<std::string>& lines);

// The message prefix naming a line of the interchange file.
std::string line_reference(const SourceLine& line);
std::string line_reference(const LineInRead& line);

}  // namespace makenc
