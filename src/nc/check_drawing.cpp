// The check drawing and the hand-back of the interchange file.
#include "nc/check_drawing.h"

#include <system_error>

#include "core/files.h"
#include "core/number_text.h"
#include "core/text.h"
#include "nc/make_nc.h"

namespace makenc {

namespace {

// The host reads the drawing's own precision back: doubles, not the grid.
constexpr int kDrawingDigits = 15;

std::string line_record(double x1, double y1, double x2, double y2) {
  std::string out;
  for (double v : {x1, y1, x2, y2}) {
    out += ' ';
    out += plain_decimal_text(v, kDrawingDigits);
  }
  return out;
}

// Whether any ticked layer holds entities: only then was anything cut.
bool any_layer_cut(const NcInput& input) {
  for (int k = 0; k < kLayerCount; ++k)
    if (input.options.LYc[static_cast<std::size_t>(k)] && input.drawing.has_layer(k)) return true;
  return false;
}

}  // namespace

void put_check_drawing(std::vector<std::string>& lines, const Drawing& drawing, const Table& Ord_dat) {
  const double x0 = drawing.X_min.number();
  const double y0 = drawing.Y_min.number();
  double px = x0, py = y0;
  const std::size_t n = Ord_dat.rows() == 0 ? 0 : Ord_dat.last_row();
  for (std::size_t r = 0; r < n; ++r) {
    const double ax = Ord_dat.at(r, 3).number() + x0, ay = Ord_dat.at(r, 4).number() + y0;
    const double cx = Ord_dat.at(r, 5).number() + x0, cy = Ord_dat.at(r, 6).number() + y0;
    // Marked contours and open chains are entered where they begin: they
    // have no approach of their own to show.
    if (!(Ord_dat.at(r, 7) == "mark") && !(Ord_dat.at(r, 8) == "line"))
      lines.insert(lines.end(), {"lt1", "lyA", "lc5", line_record(cx, cy, ax, ay)});
    lines.insert(lines.end(), {"ly9", "lc4", "lt3", line_record(px, py, ax, ay)});
    px = cx;
    py = cy;
  }
}

Result<NcWritten> makeNC_Click(const NcInput& input, const std::vector<std::string>& working_copy,
                               FileLayer& files) {
  // The host's file is touched only once the NC program is on the disk: a
  // host that reads back a drawing has its program.
  auto written = make_nc_data(input, files);
  if (!written) return written;
  std::vector<std::string> lines = working_copy;
  // The drawing covers the whole cut list, so it goes back once however
  // many layers were cut.
  if (input.options.Check1 && any_layer_cut(input))
    put_check_drawing(lines, input.drawing, input.assignment.Ord_dat);
  Status handed = write_file_atomically(input.folder / "JWC_TEMP.TXT", join_crlf(lines), files);
  if (!handed)
    return Error{"the drawing was not handed back to the host: " + handed.error().message};
  const std::filesystem::path copy = host_path(input.folder, "Zemlak\\Bin\\makeNC.txt");
  const std::error_code ec = files.remove(copy);
  if (ec)
    return Error{"the drawing was handed back to the host, but the working copy " + display_path(copy) +
                 " cannot be deleted: " + ec.message()};
  return written;
}

}  // namespace makenc
