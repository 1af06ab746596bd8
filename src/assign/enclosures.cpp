#include "assign/enclosures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "assign/placement.h"

namespace makenc {
namespace {

// The point of record k's own contour that is tested.
bool own_point(const Table& A, std::size_t k, double& x, double& y) {
  const Cell& kind = A.at(k, rec::kind);
  const bool on_contour = kind == "loop" || kind == "circle";
  x = A.at(k, on_contour ? rec::hit_x : rec::apr_x).number();
  y = A.at(k, on_contour ? rec::hit_y : rec::apr_y).number();
  return std::isfinite(x) && std::isfinite(y);
}

bool is_container(const Table& A, std::size_t k) {
  const Cell& kind = A.at(k, rec::kind);
  return A.at(k, rec::op) == "cut" && (kind == "loop" || kind == "circle");
}

}  // namespace

Enclosures find_enclosures(const Assignment& assignment, const Regions& regions) {
  const Table& A = assignment.Apr_dat;
  const std::size_t n = std::min(A.rows(), assignment.Apr_span.size());
  // The record of each region's contour, found by where its rows lie.
  std::array<std::unordered_map<std::size_t, std::size_t>, kLayerCount> record_at;
  for (std::size_t k = 0; k < n; ++k) {
    const ContourSpan& span = assignment.Apr_span[k];
    if (A.at(k, rec::layer).is_empty() || span.layer < 0 || span.layer >= kLayerCount || !is_container(A, k))
      continue;
    record_at[static_cast<std::size_t>(span.layer)][span.first] = k;
  }
  std::vector<std::size_t> record_of(regions.contours().size(), n);
  for (std::size_t c = 0; c < regions.contours().size(); ++c) {
    const Regions::Contour& rc = regions.contours()[c];
    const auto& at = record_at[static_cast<std::size_t>(rc.layer)];
    if (const auto it = at.find(rc.first); it != at.end()) record_of[c] = it->second;
  }
  Enclosures e;
  e.first_.assign(n + 1, 0);
  for (std::size_t k = 0; k < n; ++k) {
    e.first_[k] = e.around_.size();
    double x = 0, y = 0;
    if (A.at(k, rec::layer).is_empty() || !own_point(A, k, x, y)) continue;
    for (const std::uint32_t c : regions.region_of(x, y))
      if (record_of[c] < n && record_of[c] != k) e.around_.push_back(record_of[c]);
  }
  e.first_[n] = e.around_.size();
  return e;
}

}  // namespace makenc
