#include "checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "assign/placement.h"
#include "core/constants.h"

namespace makenc::fuzz {

void broken(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

std::string piece(std::string_view bytes, std::size_t index) {
  std::size_t from = 0;
  for (std::size_t i = 0; i < index; ++i) {
    const std::size_t nul = bytes.find('\0', from);
    if (nul == std::string_view::npos) return {};
    from = nul + 1;
  }
  const std::size_t nul = bytes.find('\0', from);
  return std::string(bytes.substr(from, nul == std::string_view::npos ? std::string_view::npos : nul - from));
}

void check_contours(const Drawing& drawing) {
  double last = 0;
  for (int k = 0; k < kLayerCount; ++k) {
    if (!drawing.has_layer(k)) continue;
    const Table& W = drawing.layer(k);
    if (W.rows() == 0 || W.cols() <= static_cast<std::size_t>(col::contour))
      broken("a layer table too small");
    bool ended = false;
    for (std::size_t r = 0; r < W.last_row(); ++r) {
      const Cell& c = W.at(r, col::contour);
      if (c.is_empty() || c.is_blank()) {
        ended = true;
        continue;
      }
      if (ended) broken("a contour row after a row of no contour");
      const double id = c.number();
      if (id == last) continue;
      if (id != last + 1) broken("contours not numbered one after another");
      last = id;
    }
  }
  if (last != static_cast<double>(drawing.Cnt_total))
    broken("the contour count differs from the last number");
}

void check_cut_list(const Assignment& a) {
  std::vector<double> records;
  for (std::size_t k = 0; k < a.Apr_dat.rows(); ++k)
    if (!a.Apr_dat.at(k, rec::layer).is_empty()) records.push_back(a.Apr_dat.at(k, rec::contour).number());
  std::sort(records.begin(), records.end());
  if (std::adjacent_find(records.begin(), records.end()) != records.end())
    broken("two contour records of one contour");
  // The table has a spare row after the records.
  if (a.Ord_dat.rows() != records.size() + 1) broken("the cut list's length");
  std::vector<double> listed;
  for (std::size_t k = 0; k < records.size(); ++k) {
    if (a.Ord_dat.at(k, rec::layer).is_empty()) broken("an empty entry in the cut list");
    listed.push_back(a.Ord_dat.at(k, rec::contour).number());
    if (!std::isfinite(a.Ord_dat.at(k, rec::apr_x).number()) ||
        !std::isfinite(a.Ord_dat.at(k, rec::apr_y).number()))
      broken("a lead-in that starts at no finite point");
  }
  std::sort(listed.begin(), listed.end());
  if (listed != records) broken("the cut list does not hold each contour record once");
}

}  // namespace makenc::fuzz
