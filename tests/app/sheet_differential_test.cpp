// Whole generated sheets through start-up and one assignment run, held
// against the plain versions of chaining (a scan that restarts from the top
// after every new member) and of cut-order planning (every remaining contour
// ranked every round), at the tolerance of the settings, at tolerance 0 and
// at tolerances wide enough that many end points fall into one band.
//
// Chaining by lowest row must give the plain chaining's tables on every
// sheet. Start-up chains by regions, which leaves out copies and, where
// three or more ends meet, keeps each chain to one region: on purpose not
// the plain chaining. Where a sheet has neither (the tolerances of real
// work), its tables must be the plain ones; at the wide tolerances, where
// many ends fall into one band, they must hold the same elements, each in
// one contour or left out as a copy, each contour's members meeting end to
// end and each closed contour closing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/session.h"
#include "assign/cut_order.h"
#include "core/constants.h"
#include "core/text.h"
#include "import/chain.h"
#include "import/dump_tables.h"
#include "import/measure.h"
#include "import/reader.h"
#include "support/files.h"
#include "support/reference_chain.h"
#include "support/reference_cut_order.h"
#include "support/table_text.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
using test::file_bytes;

struct SheetCase {
  const char* sheet;      // under tests/data/sheets
  const char* tolerance;  // first line of set.ini
};

void PrintTo(const SheetCase& c, std::ostream* os) { *os << c.sheet << " at tolerance " << c.tolerance; }

// The sample plate's settings and templates with the sheet's drawing, and
// the tolerance in place of the first line of the settings.
void make_host_folder(const test::TempFolder& host, const SheetCase& c) {
  const fs::path source(MAKENC_SOURCE_DIR);
  fs::copy(source / "examples/plate/Zemlak", host.path() / "Zemlak", fs::copy_options::recursive);
  const std::string settings = file_bytes(source / "examples/plate/Zemlak/Bin/set.ini");
  host.write("Zemlak/Bin/set.ini", std::string(c.tolerance) + settings.substr(settings.find("\r\n")));
  host.write("JWC_TEMP.TXT", file_bytes(source / "tests/data/sheets" / c.sheet));
}

// The drawing measured and not chained yet.
Drawing measured(const fs::path& folder) {
  const auto lines = read_text_lines(folder / "JWC_TEMP.TXT");
  EXPECT_TRUE(lines.has_value());
  Reader rd;
  Drawing d;
  d.Cnt_total = 1;
  EXPECT_TRUE(first_read(rd, d, *lines).ok());
  between_reads(rd, d);
  EXPECT_TRUE(second_read(rd, d, *lines).ok());
  measure_layers(d);
  return d;
}

// The tables as the plain chaining leaves them.
Drawing plainly_chained(const fs::path& folder, const Settings& settings) {
  Drawing d = measured(folder);
  test::ReferenceChain chain(settings.tolerance(), settings.ini_S_suu, 1);
  for (int k = 0; k < kLayerCount; ++k)
    if (d.has_layer(k)) d.layer(k) = chain.chain(d.layer(k));
  d.Cnt_total = chain.Cnt_total - 1;
  return d;
}

// An element whichever way round it was chained, without its contour.
std::string element_of(const Table& t, std::size_t r) {
  std::string a = t.at(r, col::x1).text_form() + "," + t.at(r, col::y1).text_form();
  std::string b = t.at(r, col::x2).text_form() + "," + t.at(r, col::y2).text_form();
  if (b < a) std::swap(a, b);
  std::string key = t.at(r, col::kind).text_form() + " " + a + " " + b;
  for (int c = col::cx; c <= col::length; ++c) key += " " + t.at(r, c).text_form();
  return key;
}

// The copies start-up's warnings say it left out.
std::size_t copies_left_out(const Warnings& warnings) {
  std::size_t n = 0;
  for (const auto& w : warnings) {
    const auto at = w.message.find(": ");
    if (at != std::string::npos && w.message.find("drawn twice") != std::string::npos)
      n += std::stoul(w.message.substr(at + 2));
  }
  return n;
}

// What chaining by regions must keep of the plain chaining: its elements,
// each once, less the copies left out; contours numbered on from 1 whose
// members meet end to end, and that close where the contour test says so.
void expect_same_elements_chained(const Drawing& regions, const Drawing& plain, const Settings& settings,
                                  std::size_t left_out) {
  std::map<std::string, int> count;
  std::size_t plain_rows = 0, region_rows = 0;
  std::int64_t last_contour = 0;
  for (int k = 0; k < kLayerCount; ++k) {
    if (!plain.has_layer(k)) continue;
    const Table& p = plain.layer(k);
    const Table& t = regions.layer(k);
    for (std::size_t r = 0; r != p.last_row() && !p.at(r, col::kind).is_empty(); ++r, ++plain_rows)
      ++count[element_of(p, r)];
    std::size_t first = 0;
    for (std::size_t r = 0; r != t.last_row() && !t.at(r, col::kind).is_empty(); ++r, ++region_rows) {
      EXPECT_GE(--count[element_of(t, r)], 0)
          << "layer " << k << " row " << r << " is no element of the drawing";
      const std::int64_t contour = static_cast<std::int64_t>(t.at(r, col::contour).number());
      if (contour != last_contour) {
        EXPECT_EQ(contour, last_contour + 1) << "layer " << k << " row " << r;
        EXPECT_EQ(t.at(r, col::position).number(), 1) << "layer " << k << " row " << r;
        last_contour = contour;
        first = r;
      } else {
        EXPECT_TRUE(ends_meet(t.at(r - 1, col::x2).number(), t.at(r - 1, col::y2).number(),
                              t.at(r, col::x1).number(), t.at(r, col::y1).number(), settings.tolerance(),
                              settings.ini_S_suu))
            << "layer " << k << ": row " << r << " does not start where row " << r - 1 << " ends";
      }
      const bool last_of_contour = r + 1 == t.last_row() || t.at(r + 1, col::kind).is_empty() ||
                                   static_cast<std::int64_t>(t.at(r + 1, col::contour).number()) != contour;
      const Cell& kind = t.at(first, col::kind);
      // Where the elements of a contour came round to its first, it closes.
      if (last_of_contour && r > first && (kind == "li" || kind == "cci") &&
          ends_meet(t.at(r, col::x2).number(), t.at(r, col::y2).number(), t.at(first, col::x1).number(),
                    t.at(first, col::y1).number(), settings.tolerance(), settings.ini_S_suu)) {
        EXPECT_TRUE(contour_closes(t, first, r, settings)) << "layer " << k << " contour " << contour;
      }
    }
  }
  EXPECT_EQ(region_rows + left_out, plain_rows);
  EXPECT_EQ(last_contour, regions.Cnt_total);
}

using test::dump_all;

class SheetDifferential : public ::testing::TestWithParam<SheetCase> {};

TEST_P(SheetDifferential, TablesAndCutListAreThoseOfThePlainAlgorithms) {
  const SheetCase c = GetParam();
  test::TempFolder host;
  make_host_folder(host, c);
  auto session = open_session(host.path());
  ASSERT_TRUE(session.ok()) << session.error().message;
  ASSERT_GT(session->start.drawing.Cnt_total, 0);

  const Drawing plain = plainly_chained(host.path(), session->settings);
  Drawing by_lowest_row = measured(host.path());
  chain_layers(by_lowest_row, session->settings, ChainMode::lowest_row);
  EXPECT_EQ(dump_tables(by_lowest_row), dump_tables(plain));
  const std::string regions = dump_tables(session->start.drawing);
  if (regions != dump_tables(plain))
    expect_same_elements_chained(session->start.drawing, plain, session->settings,
                                 copies_left_out(session->start.warnings));
  // At the tolerances of real work no end meets two others on these sheets.
  if (std::string(c.tolerance) == "0.01" || std::string(c.tolerance) == "0") {
    EXPECT_EQ(regions, dump_tables(plain));
  }

  redraw(*session, kBatchPreviewWidth, kBatchPreviewHeight);
  run_assignment(*session);
  // The rounds themselves, before a part's outline is made to wait for its
  // holes.
  Assignment rounds;
  rounds.Apr_dat = session->assignment.Apr_dat;
  plan_cut_order(rounds);
  ASSERT_GT(rounds.Ord_dat.rows(), 1u);
  EXPECT_EQ(dump_all(rounds.Ord_dat), dump_all(test::ReferenceCutOrder(rounds.Apr_dat).plan()));
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, SheetDifferential,
    ::testing::Values(SheetCase{"sheet55_s2_all.txt", "0.01"}, SheetCase{"sheet55_s2_all.txt", "0"},
                      SheetCase{"sheet55_s2_all.txt", "20"}, SheetCase{"sheet55_s2_all.txt", "500"},
                      SheetCase{"sheet110_s3.txt", "0.01"}, SheetCase{"sheet110_s3.txt", "0"},
                      SheetCase{"sheet110_s3.txt", "3"}, SheetCase{"sheet110_s3.txt", "100"},
                      // About 10,000 entities; at tolerance 0 nothing chains and the
                      // plain planning of 10,000 contours would take too long here.
                      SheetCase{"sheet550_s1.txt", "0.01"}, SheetCase{"sheet550_s1.txt", "40"}));

}  // namespace
}  // namespace makenc
