// The machining conditions "set.ini" in memory: the reader, the checks made
// before start-up and NC generation, and the file the dialog writes back,
// which must read as the same conditions.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "checks.h"
#include "core/settings.h"
#include "core/settings_check.h"
#include "core/text.h"

namespace {

bool same(const makenc::Settings& a, const makenc::Settings& b) {
  // A condition row is written as its three fields.
  for (std::size_t i = 0; i < a.ini_Cond.size(); ++i)
    for (std::size_t f = 0; f < 3; ++f)
      if (a.ini_Cond[i].field(f) != b.ini_Cond[i].field(f)) return false;
  // The joint length is written with the seven digits of a single.
  const bool joint = std::fabs(a.ini_joint - b.ini_joint) <= 1e-6F * std::fabs(a.ini_joint);
  return a.ini_GOSA == b.ini_GOSA && a.ini_Apr == b.ini_Apr && a.ini_S_suu == b.ini_S_suu &&
         a.ini_M_Joukn == b.ini_M_Joukn && joint;
}

void explained(const makenc::Status& s) {
  if (!s && s.error().message.empty()) makenc::fuzz::broken("a setting refused without a message");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace makenc;
  Settings settings;
  read_set_ini_lines(text_lines(std::string_view(reinterpret_cast<const char*>(data), size)), settings);
  explained(check_tolerance(settings));
  explained(check_approach_length(settings.ini_Apr, settings.ini_S_suu));
  explained(check_joint_length(settings));
  // The rounding factor read is one the grid can divide by.
  const double approach = settings.approach();
  if (settings.ini_S_suu < 1) fuzz::broken("a rounding factor below 1");
  if (std::isfinite(approach) && std::fabs(approach) < 1e300 &&
      !std::isfinite(round_to_grid(approach, settings.ini_S_suu)))
    fuzz::broken("a finite approach length off the grid");
  Settings reread;
  read_set_ini_lines(set_ini_lines(settings), reread);
  if (!same(settings, reread)) fuzz::broken("the conditions written back read otherwise");
  return 0;
}
