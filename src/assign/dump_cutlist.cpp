#include "assign/dump_cutlist.h"

#include "assign/placement.h"

namespace makenc {

std::string dump_cutlist(const Assignment& assignment) {
  const Table& Ord_dat = assignment.Ord_dat;
  std::string out;
  for (std::size_t r = 0; r + 1 < Ord_dat.rows(); ++r) {
    out += std::to_string(r);
    for (int c = 0; c <= rec::last && static_cast<std::size_t>(c) < Ord_dat.cols(); ++c) {
      out += '\t';
      out += Ord_dat.at(r, static_cast<std::size_t>(c)).text_form();
    }
    out += '\n';
  }
  return out;
}

}  // namespace makenc
