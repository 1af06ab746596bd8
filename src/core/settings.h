// The machining conditions of "Zemlak\Bin\set.ini": matching tolerance,
// approach length, rounding factor, three condition rows, the marking
// condition and the joint length.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/shop_options.h"

namespace makenc {

// One condition row as the user typed it: radius threshold, length threshold,
// condition code. The line is split at every single blank, so "10  50 1"
// gives the fields 10, "", 50, 1.
struct CondRow {
  std::vector<std::string> fields;

  // Missing fields read as empty texts.
  const std::string& field(std::size_t i) const;
  const std::string& R_min() const { return field(0); }
  const std::string& L_min() const { return field(1); }
  const std::string& K_Joukn() const { return field(2); }
  // Thresholds are compared with sizes by their numeric value.
  double r_min() const;
  double l_min() const;
};

struct Settings {
  std::string ini_GOSA = "0.01";
  std::string ini_Apr = "5";
  std::int16_t ini_S_suu = 1000;
  std::array<CondRow, 3> ini_Cond{CondRow{{"10", "50", "E1"}}, CondRow{{"50", "300", "E2"}},
                                  CondRow{{"300", "1000", "E3"}}};
  std::string ini_M_Joukn = "E9";
  float ini_joint = 2.0f;
  // Line 8 as typed, when it gave ini_joint: a message quotes the user's text.
  std::string ini_joint_text = "2";
  // The options of "option.ini" beside the file, which keeps its eight lines.
  ShopOptions shop{};

  // The texts are kept as typed (the dialog shows them back); every
  // comparison with a size uses their numeric value.
  double tolerance() const;
  double approach() const;
};

// Reads the file over `settings`: each line that is there and valid replaces
// its setting, everything else stays as it was. Returns false when the file
// could not be read at all.
bool read_set_ini(const std::filesystem::path& file, Settings& settings);

// The same for the file's lines, in file order.
void read_set_ini_lines(const std::vector<std::string>& lines, Settings& settings);

// The eight lines the dialog writes, in file order.
std::vector<std::string> set_ini_lines(const Settings& settings);

// v rounded half up to the grid 1/S, in double precision.
inline double round_to_grid(double v, std::int16_t S) {
  const double s = static_cast<double>(S);
  return std::floor((v + 0.5 / s) * s) / s;
}

}  // namespace makenc
