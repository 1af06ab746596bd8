// Every cell of a table as text, Empty shown as "~", for comparing whole
// tables in differential tests with a readable difference.
#pragma once

#include <string>

#include "core/table.h"

namespace makenc::test {

inline std::string dump_all(const Table& t) {
  std::string out;
  for (std::size_t r = 0; r < t.rows(); ++r) {
    for (std::size_t c = 0; c < t.cols(); ++c) {
      out += t.at(r, c).is_empty() ? "~" : t.at(r, c).text_form();
      out += c + 1 < t.cols() ? '\t' : '\n';
    }
  }
  return out;
}

}  // namespace makenc::test
