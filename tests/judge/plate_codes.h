// The start and end codes of the bundled plate's host folder, as the judge
// takes them.
#pragma once

#include "judge/nc_path.h"

namespace makenc::test {

inline StartCodes plate_codes() {
  StartCodes codes;
  codes.cut = {"M07"};
  codes.mark = {"M09"};
  codes.end = {"M08"};
  codes.mark_condition = "E9";
  codes.template_lines = {"M07", "M09", "M08", "E9"};
  return codes;
}

}  // namespace makenc::test
