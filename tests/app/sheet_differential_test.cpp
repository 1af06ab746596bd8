// Whole generated sheets through start-up and one assignment run, held
// against the plain versions of chaining (a scan that restarts from the top
// after every new member) and of cut-order planning (every remaining contour
// ranked every round), at the tolerance of the settings, at tolerance 0 and
// at tolerances wide enough that many end points fall into one band.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "app/session.h"
#include "assign/cut_order.h"
#include "core/constants.h"
#include "core/text.h"
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

// The tables as the plain chaining leaves them.
Drawing plainly_chained(const fs::path& folder, const Settings& settings) {
  const auto lines = read_text_lines(folder / "JWC_TEMP.TXT");
  EXPECT_TRUE(lines.has_value());
  Reader rd;
  Drawing d;
  d.Cnt_total = 1;
  EXPECT_TRUE(first_read(rd, d, *lines).ok());
  between_reads(rd, d);
  EXPECT_TRUE(second_read(rd, d, *lines).ok());
  measure_layers(d);
  test::ReferenceChain chain(settings.tolerance(), settings.ini_S_suu, 1);
  for (int k = 0; k < kLayerCount; ++k)
    if (d.has_layer(k)) d.layer(k) = chain.chain(d.layer(k));
  d.Cnt_total = chain.Cnt_total - 1;
  return d;
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
  EXPECT_EQ(dump_tables(session->start.drawing), dump_tables(plain));

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
