#include "import/dump_tables.h"

#include "core/constants.h"

namespace makenc {

std::string dump_tables(const Drawing& drawing) {
  std::string out;
  for (int k = 0; k < kLayerCount; ++k) {
    if (!drawing.has_layer(k)) continue;
    const Table& t = drawing.layer(k);
    out += layer_name(k) + "\n";
    for (std::size_t r = 0; r != t.last_row(); ++r) {
      out += std::to_string(r);
      for (std::size_t c = 0; c < t.cols(); ++c) {
        out += '\t';
        out += t.at(r, c).text_form();
      }
      for (std::size_t c = t.cols(); c <= static_cast<std::size_t>(kLastColumn); ++c) out += '\t';
      out += '\n';
    }
  }
  out += "Cnt_total\t" + std::to_string(drawing.Cnt_total) + "\n";
  out += "bbox\t" + drawing.X_min.text_form() + "\t" + drawing.Y_min.text_form() + "\t" +
         drawing.X_max.text_form() + "\t" + drawing.Y_max.text_form() + "\n";
  return out;
}

}  // namespace makenc
