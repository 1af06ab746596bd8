#include "core/settings.h"

#include <cmath>
#include <limits>

#include "core/cell.h"
#include "core/number_text.h"
#include "core/text.h"

namespace makenc {

const std::string& CondRow::field(std::size_t i) const {
  static const std::string none;
  return i < fields.size() ? fields[i] : none;
}

double CondRow::r_min() const { return numeric_value(R_min()); }
double CondRow::l_min() const { return numeric_value(L_min()); }

double Settings::tolerance() const { return numeric_value(ini_GOSA); }
double Settings::approach() const { return numeric_value(ini_Apr); }

namespace {

// The rounding factor is a divisor of the grid: only a positive whole
// number after rounding half to even is taken.
bool read_rounding_factor(const std::string& line, std::int16_t& out) {
  double v = 0;
  if (!parse_strict_number(line, v)) return false;
  const double r = std::nearbyint(v);  // the default rounding mode: halves to even
  if (r < 1 || r > std::numeric_limits<std::int16_t>::max()) return false;
  out = static_cast<std::int16_t>(r);
  return true;
}

bool read_joint(const std::string& line, float& out) {
  double v = 0;
  if (!parse_strict_number(line, v) || std::fabs(v) > std::numeric_limits<float>::max()) return false;
  out = static_cast<float>(v);
  return true;
}

CondRow split_row(const std::string& line) {
  CondRow row;
  for (std::string_view f : split_chars(line, ' ')) row.fields.emplace_back(f);
  return row;
}

}  // namespace

bool read_set_ini(const std::filesystem::path& file, Settings& settings) {
  auto lines = read_text_lines(file);
  if (!lines) return false;
  read_set_ini_lines(*lines, settings);
  return true;
}

void read_set_ini_lines(const std::vector<std::string>& lines, Settings& settings) {
  for (std::size_t i = 0; i < lines.size() && i < 8; ++i) {
    const std::string& line = lines[i];
    switch (i) {
      case 0: settings.ini_GOSA = line; break;
      case 1: settings.ini_Apr = line; break;
      case 2: read_rounding_factor(line, settings.ini_S_suu); break;
      case 3:
      case 4:
      case 5: settings.ini_Cond[i - 3] = split_row(line); break;
      case 6: settings.ini_M_Joukn = line; break;
      case 7:
        if (read_joint(line, settings.ini_joint)) settings.ini_joint_text = line;
        break;
      default: break;
    }
  }
}

std::vector<std::string> set_ini_lines(const Settings& s) {
  std::vector<std::string> lines{s.ini_GOSA, s.ini_Apr, std::to_string(s.ini_S_suu)};
  for (const CondRow& row : s.ini_Cond)
    lines.push_back(row.R_min() + " " + row.L_min() + " " + row.K_Joukn());
  lines.push_back(s.ini_M_Joukn);
  lines.push_back(single_text(s.ini_joint));
  return lines;
}

}  // namespace makenc
