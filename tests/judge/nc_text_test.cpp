// The program read from its whole text: the blocks the tool writes are read
// by a way of their own, and every block, line end and code line must come
// out as the lines read one by one give it, to the last bit and the same
// message.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/text.h"
#include "judge/nc_path.h"
#include "judge/plate_codes.h"

namespace makenc {
namespace {

std::string move_text(const NcMove& m) {
  std::string text;
  for (const double v : {m.from.x, m.from.y, m.to.x, m.to.y, m.centre.x, m.centre.y})
    text += std::to_string(std::bit_cast<std::uint64_t>(v)) + " ";
  return text + std::to_string(m.turn) + " " + std::to_string(m.comp) + " " + std::to_string(m.line);
}

// What a reading gave, as text: the refusal, or every cut and move.
std::string result_text(const Result<std::vector<NcCut>>& read) {
  if (!read) return "refused: " + read.error().message;
  std::string text;
  for (const NcCut& cut : read.value()) {
    text += "cut " + std::to_string(cut.line) + (cut.marking ? " mark" : "") +
            (cut.lead_in ? " lead " : " ") + std::to_string(cut.lead_comp) + "\n";
    for (const NcMove& m : cut.lead) text += " lead " + move_text(m) + "\n";
    for (const NcMove& m : cut.moves) text += " " + move_text(m) + "\n";
  }
  return text;
}

// The text read at once and its lines read one by one.
void expect_read_alike(const std::string& text, const StartCodes& codes, const NcLimits& limits = {}) {
  const std::vector<std::string_view> lines = line_views(text);
  EXPECT_EQ(result_text(read_nc_cuts(std::string_view(text), codes, limits)),
            result_text(read_nc_cuts(std::span<const std::string_view>(lines), codes, limits)))
      << text.substr(0, 300);
}

// A number as the tool writes it, or nearly: up to 9 digits on either side
// of the point, a sign, a point with nothing after it, none at all.
std::string number(std::mt19937& random) {
  auto digits = [&](int most) {
    std::string d;
    for (int k = static_cast<int>(random() % static_cast<unsigned>(most + 1)); k > 0; --k)
      d.push_back(static_cast<char>('0' + random() % 10));
    return d;
  };
  std::string text = random() % 5 == 0 ? "-" : (random() % 20 == 0 ? "+" : "");
  text += digits(9);
  if (random() % 4 != 0) text += "." + digits(9);
  return text;
}

// A block the tool writes, or one a byte away from it.
std::string block(std::mt19937& random) {
  static const std::vector<std::string> kG{"G00", "G01", "G02", "G03",  "G40",  "G41",  "G42",
                                           "G90", "G92", "G04", "G1",   "G001", "G01.", "G91",
                                           "G07", "g01", "G-1", "G1.0", "G28"};
  static const std::vector<std::string> kOther{"M08",           "M07", "E1",  "E9",   "M30",      "M", "E12.",
                                               "M0008",         "M-1", "m08", "M08 ", "(DATE 1)", "%", "",
                                               "G90 G92 X0 Y0", "N10"};
  if (random() % 4 == 0) return kOther[random() % kOther.size()];
  std::string text = random() % 3 == 0 ? "" : kG[random() % kG.size()];
  for (const char letter : {'X', 'Y', 'I', 'J'})
    if (random() % 3 != 0) text += letter + number(random);
  if (random() % 3 == 0) text += kG[random() % 7];
  if (random() % 10 == 0) text.insert(random() % (text.size() + 1), random() % 2 ? " " : "Q");
  return text;
}

// Each block after a rapid and a start code, with and without room after it
// for the tool's own blocks to be read their way, with each line end.
TEST(NcText, ReadsEveryBlockAsItsLineReadAlone) {
  std::mt19937 random(5);
  NcLimits limits;
  limits.radius_tolerance = 1e9;  // arcs of any radii, to reach what follows them
  const std::string room(150, '%');
  for (int k = 0; k < 6000; ++k) {
    const std::string end = k % 7 == 0 ? "\n" : (k % 11 == 0 ? "\r" : "\r\n");
    const std::string program =
        "G00X1.Y2.G40" + end + "M07" + end + block(random) + end + block(random) + end;
    expect_read_alike(program + "M08" + end + room + end, test::plate_codes(), limits);
    expect_read_alike(program + "M08", test::plate_codes(), limits);
  }
}

// Lines ended by CR LF, LF, CR, CR CR LF or LF CR, with or without a last
// line end: the same lines, numbered alike in every message.
TEST(NcText, EndsLinesAsTheLinesOfATextDo) {
  const std::vector<std::string> blocks{"G00X10.Y10.G40",  "M07",     "E2",  "G01X20.Y10.G41", "G01Y20.",
                                        "G03X10.Y20.I-5.", "G01Y10.", "M08", "G00X0Y0",        "M30"};
  for (const std::string end : {"\r\n", "\n", "\r", "\r\r\n", "\n\r"})
    for (const std::size_t bad : {std::size_t{10}, std::size_t{4}, std::size_t{6}}) {
      std::string text;
      for (std::size_t k = 0; k < blocks.size(); ++k) text += (k == bad ? "G07" : blocks[k]) + end;
      text += std::string(200, ' ');
      expect_read_alike(text, test::plate_codes());
      expect_read_alike(text.substr(0, text.size() - 200 - end.size()), test::plate_codes());
    }
}

// Start and end codes of every length from none to nine bytes, compared
// with lines that are the code, its start or more than it, far from and
// near the text's end.
TEST(NcText, TellsEachCodeLineFromLinesAlmostLikeIt) {
  const std::string long_code = "M08ABCDEF";
  for (std::size_t size = 0; size <= long_code.size(); ++size) {
    StartCodes codes = test::plate_codes();
    const std::string code = long_code.substr(0, size);
    codes.end = {code};
    codes.cut = {"M07", code};
    for (const std::string& line : {code, code + "X", code.substr(0, size ? size - 1 : 0), code + "1"})
      for (const std::size_t room : {std::size_t{0}, std::size_t{3}, std::size_t{40}}) {
        const std::string text =
            "G00X0Y0\r\nM07\r\n" + line + "\r\nG01X5.Y0\r\n" + line + "\r\n" + std::string(room, '%');
        expect_read_alike(text, codes);
      }
  }
}

// An arc is followed while its radii, as distance() gives them, differ by
// no more than the tolerance: arcs of every size and direction, with the
// tolerance at their difference and just below it.
TEST(NcText, FollowsAnArcAsItsRadiiTell) {
  std::mt19937 random(9);
  NcLimits limits;
  limits.min_x = limits.min_y = -1e200;
  limits.max_x = limits.max_y = 1e200;
  auto text_of = [](double v, std::string& text) {  // in fixed notation, and the number it reads as
    char digits[420];
    std::snprintf(digits, sizeof digits, "%.200f", v);
    text = digits;
    double read = 0;
    std::from_chars(text.data(), text.data() + text.size(), read);
    return read;
  };
  std::uniform_real_distribution<double> turn(0, 6.283185307179586), stretch(0.9, 1.1);
  for (const double size : {1e-170, 1e-60, 1e-6, 0.7, 9.0, 3000.0, 1e9, 1e60, 1e170})
    for (int k = 0; k < 100; ++k) {
      const double a = turn(random), b = turn(random), r1 = size * stretch(random);
      std::string x, y, i, j;
      const Xy centre{text_of(size * std::cos(a), i), text_of(size * std::sin(a), j)};
      const Xy end{text_of(centre.x + r1 * std::cos(b), x), text_of(centre.y + r1 * std::sin(b), y)};
      const std::string text =
          "G00X0Y0\r\nM07\r\nG03X" + x + "Y" + y + "I" + i + "J" + j + "\r\nM08\r\n" + std::string(200, '%');
      const double apart = std::fabs(distance({0, 0}, centre) - distance(end, centre));
      for (const double tolerance : {apart, std::nextafter(apart, 0.0)}) {
        limits.radius_tolerance = tolerance;
        EXPECT_EQ(read_nc_cuts(std::string_view(text), test::plate_codes(), limits).ok(), tolerance == apart)
            << text.substr(0, 200);
      }
      expect_read_alike(text, test::plate_codes(), limits);
    }
}

// A lead-in of more moves than a cut keeps is cut short at two.
TEST(NcText, KeepsTwoMovesOfALeadInAtMost) {
  NcLimits limits;
  limits.lead_in_moves = 3;
  const auto cuts = read_nc_cuts(std::string_view("G00X0Y0\nM07\nG01X1.G41\nX2.\nX3.\nX4.\nM08\n"),
                                 test::plate_codes(), limits);
  ASSERT_TRUE(cuts.ok()) << cuts.error().message;
  ASSERT_EQ(cuts->size(), 1u);
  EXPECT_EQ(cuts->front().lead.size(), 2u);
  EXPECT_EQ(cuts->front().moves.size(), 2u);
}

// A program of a megabyte and more, read in two halves at once where a
// contour begins after an end code: its cuts, their lines and moves are
// those of reading it line by line, and a fault anywhere is refused with
// the same message, its line counted from the start.
TEST(NcText, ReadsALargeProgramInTwoHalvesAsOne) {
  std::string text = "%\r\nO1000\r\nG90 G92 X0 Y0\r\n";
  for (int k = 0; text.size() < 1'300'000; ++k) {
    const std::string x = std::to_string(k % 400) + ".5", y = std::to_string(k / 400) + ".25";
    if (k % 7 == 3) {  // a marking, cut without compensation
      text += "G00X" + x + "Y" + y + "G40\r\nM09\r\nE9\r\nG01X" + x + "Y-" + y + "\r\nM08\r\n";
      continue;
    }
    text += "G00X" + x + "Y" + y + "G40\r\nM07\r\nE1\r\nG01X" + x + "Y" + y + "1G41\r\nG02X" + x + "Y" + y +
            "1I2.\r\nG01X" + x + "1Y" + y + "\r\n" + (k % 5 == 0 ? "\n" : "") + "M08\r\n";
  }
  text += "G00X0Y0\r\nM30\r\n%\r\n";
  // Where the two readings first differ, not the whole of them.
  const auto expect_alike = [](const std::string& program) {
    const std::vector<std::string_view> lines = line_views(program);
    const std::string at_once = result_text(read_nc_cuts(std::string_view(program), test::plate_codes()));
    const std::string by_line =
        result_text(read_nc_cuts(std::span<const std::string_view>(lines), test::plate_codes()));
    const auto differ = std::mismatch(at_once.begin(), at_once.end(), by_line.begin(), by_line.end());
    const std::size_t from = static_cast<std::size_t>(differ.first - at_once.begin());
    EXPECT_TRUE(at_once == by_line) << "at byte " << from << ": " << at_once.substr(from, 200) << "\nagainst "
                                    << by_line.substr(from, 200);
  };
  expect_alike(text);
  const auto cuts = read_nc_cuts(std::string_view(text), test::plate_codes());
  ASSERT_TRUE(cuts.ok());
  EXPECT_GT(cuts->size(), 10'000u);
  // A word no program holds, early and late.
  for (const double share : {0.1, 0.9}) {
    std::string wrong = text;
    const std::size_t at =
        wrong.find("G01X", static_cast<std::size_t>(share * static_cast<double>(text.size())));
    wrong.replace(at, 3, "G07");
    expect_alike(wrong);
  }
}

}  // namespace
}  // namespace makenc
