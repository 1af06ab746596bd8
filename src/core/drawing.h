// The drawing as start-up leaves it: one entity table per layer ly0..ly5,
// the record counts, the bounding box in the host's coordinates and the
// "file" line that names the NC program.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/cell.h"
#include "core/constants.h"
#include "core/table.h"

namespace makenc {

// The layer check boxes "ly0" to "ly5": which layers are shown, assigned
// and written.
using LayerTicks = std::array<bool, kLayerCount>;

struct Drawing {
  // A layer without records has no table at all.
  std::array<std::optional<Table>, kLayerCount> LY_dat;
  std::array<std::int64_t, kLayerCount> LY_cnt{};
  std::int64_t LY_cntAll = 0;

  // Extreme coordinates of all records on ly0..ly5 before the translation;
  // they may hold a field's text unchanged. Empty when nothing was read.
  Cell X_min, Y_min, X_max, Y_max;

  // The last line of the interchange file that starts with "file" (bytes).
  std::string File_lin;

  // Number of contours over all layers once chaining is done.
  std::int64_t Cnt_total = 0;

  bool has_layer(int k) const { return LY_dat[static_cast<std::size_t>(k)].has_value(); }
  Table& layer(int k) { return *LY_dat[static_cast<std::size_t>(k)]; }
  const Table& layer(int k) const { return *LY_dat[static_cast<std::size_t>(k)]; }
  bool has_bounding_box() const {
    return !X_min.is_empty() && !Y_min.is_empty() && !X_max.is_empty() && !Y_max.is_empty();
  }
};

// "ly0".."ly5" for k = 0..5.
inline std::string layer_name(int k) { return "ly" + std::to_string(k); }

// The layer number of "ly0".."ly5", or -1 for any other text.
inline int layer_number(std::string_view name) {
  if (name.size() == 3 && name[0] == 'l' && name[1] == 'y' && name[2] >= '0' && name[2] <= '5')
    return name[2] - '0';
  return -1;
}

// The current-entity cells through which the per-entity procedures of one
// stage pass values to each other.
struct EntityCells {
  std::int64_t Ent_no = 0;
  int Ent_kind = 0;  // 0 none, 1 line, 2 circle, 3 arc, 4 point
  Cell Li_x1, Li_y1, Li_x2, Li_y2;
  Cell Ci_x, Ci_y, Ci_r, Ci_s, Ci_e;
  Cell P_x1, P_y1, P_x2, P_y2;
};

}  // namespace makenc
