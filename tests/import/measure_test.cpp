// Lengths of lines, circles and arcs, and the column layout of circles and
// arcs after measurement.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/constants.h"
#include "import/measure.h"

namespace makenc {
namespace {

// One row per entity, as the second read stores them, plus the spare row.
class Measuring : public ::testing::Test {
 protected:
  std::size_t add(std::vector<Cell> fields) {
    rows_.push_back(std::move(fields));
    return rows_.size() - 1;
  }
  Table measured() {
    Table t(rows_.size(), kLastColumn);
    for (std::size_t r = 0; r < rows_.size(); ++r)
      for (std::size_t c = 0; c < rows_[r].size(); ++c) t.at(r, c) = rows_[r][c];
    EntityCells e;
    measure_entities(t, e);
    EXPECT_EQ(e.Ent_kind, 0);
    return t;
  }

 private:
  std::vector<std::vector<Cell>> rows_;
};

TEST_F(Measuring, LineLengthIsTheStraightDistance) {
  const auto r = add({"li", 0.0, 0.0, 3.0, 4.0});
  const Table t = measured();
  EXPECT_EQ(t.at(r, col::length).text_form(), "5");
  EXPECT_EQ(t.at(r, col::x2).text_form(), "3");
  EXPECT_TRUE(t.at(r, col::cx).is_empty());
}

TEST_F(Measuring, CircleLengthUsesTheSystemsPi) {
  const auto r = add({"ci", 7.0, 8.0, "1", "x", Cell(), Cell(), Cell(), Cell(), Cell(), Cell(), "2"});
  const Table t = measured();
  EXPECT_EQ(t.at(r, col::length).text_form(), "6.28318530717958");
  EXPECT_EQ(t.at(r, col::length).number(), 2 * kPi);
  EXPECT_EQ(t.at(r, col::kind).text_form(), "ci");
  for (int c = 1; c <= 4; ++c) {
    EXPECT_TRUE(t.at(r, c).is_text()) << c;
    EXPECT_EQ(t.at(r, c).text_form(), "") << c;
  }
  EXPECT_EQ(t.at(r, col::cx).text_form(), "7");
  EXPECT_EQ(t.at(r, col::cy).text_form(), "8");
  EXPECT_TRUE(t.at(r, col::radius).is_text());  // the radius keeps the host's text
  EXPECT_EQ(t.at(r, col::radius).text_form(), "1");
  for (int c = col::start_angle; c <= col::tilt; ++c) EXPECT_EQ(t.at(r, c).text_form(), "") << c;
  EXPECT_EQ(t.at(r, col::colour).text_form(), "2");
}

TEST_F(Measuring, QuarterArcGetsItsEndPointsAndLength) {
  const auto r = add({"cci", 2.0, 2.0, "2", "0", "90", "1", "0"});
  const Table t = measured();
  EXPECT_EQ(t.at(r, col::x1).number(), 4);
  EXPECT_EQ(t.at(r, col::y1).number(), 2);
  // cos 90° with the system's π is about 1.6E-15, not 0.
  EXPECT_GT(t.at(r, col::x2).number(), 2);
  EXPECT_NEAR(t.at(r, col::x2).number(), 2.000000000000003, 1e-15);
  EXPECT_EQ(t.at(r, col::y2).number(), 4);
  EXPECT_EQ(t.at(r, col::length).text_form(), "3.14159265358979");
  EXPECT_EQ(t.at(r, col::cx).text_form(), "2");
  EXPECT_EQ(t.at(r, col::cy).text_form(), "2");      // was the flatness
  EXPECT_EQ(t.at(r, col::radius).text_form(), "2");  // was the tilt
  EXPECT_EQ(t.at(r, col::start_angle).text_form(), "0");
  EXPECT_EQ(t.at(r, col::end_angle).text_form(), "90");
  EXPECT_EQ(t.at(r, col::tilt).tag(), Cell::Tag::Double);
  EXPECT_EQ(t.at(r, col::tilt).text_form(), "0");
}

TEST_F(Measuring, ArcAcrossZeroKeepsItsAnglesAndSweepsNinety) {
  const auto r = add({"cci", 0.0, 0.0, "4", "300", "30", "1", "0"});
  const Table t = measured();
  EXPECT_EQ(t.at(r, col::start_angle).text_form(), "300");
  EXPECT_EQ(t.at(r, col::end_angle).text_form(), "30");
  EXPECT_EQ(t.at(r, col::length).number(), (2 * (kPi * 4)) / (360.0 / 90));
  EXPECT_NEAR(t.at(r, col::length).number(), 2 * kPi, 1e-12);
}

TEST_F(Measuring, TiltIsAddedAndNegativeAnglesTurnOnce) {
  const auto r = add({"cci", 0.0, 0.0, "1", "10", "20", "1", "-30"});
  const auto deep = add({"cci", 0.0, 0.0, "1", "-500", "20", "1", "0"});
  const Table t = measured();
  EXPECT_EQ(t.at(r, col::start_angle).text_form(), "340");
  EXPECT_EQ(t.at(r, col::end_angle).text_form(), "350");
  EXPECT_EQ(t.at(deep, col::start_angle).text_form(), "-140");  // once only
}

TEST_F(Measuring, ArcWithoutSweepHasNoLength) {
  const auto r = add({"cci", 0.0, 0.0, "3", "45", "45", "1", "0"});
  const auto turned = add({"cci", 0.0, 0.0, "3", "-10", "350", "1", "0"});
  const Table t = measured();
  EXPECT_EQ(t.at(r, col::length).text_form(), "0");
  EXPECT_EQ(t.at(turned, col::length).text_form(), "0");
  EXPECT_EQ(t.at(r, col::x1).number(), t.at(r, col::x2).number());
}

TEST_F(Measuring, PointsEmptyRowsAndOtherKindsAreLeftAlone) {
  const auto pt = add({"pt", 1.0, 2.0, "a"});
  const auto empty = add({});
  const auto text = add({"ch", "1", "2", "3"});
  const Table t = measured();
  EXPECT_EQ(t.at(pt, col::kind).text_form(), "pt");
  EXPECT_TRUE(t.at(pt, col::length).is_empty());
  EXPECT_EQ(t.at(pt, 3).text_form(), "a");
  for (int c = 0; c <= kLastColumn; ++c) EXPECT_TRUE(t.at(empty, c).is_empty());
  EXPECT_TRUE(t.at(text, col::length).is_empty());
  EXPECT_EQ(t.at(text, 3).text_form(), "3");
}

TEST_F(Measuring, TheSpareRowIsNotVisited) {
  add({"li", 0.0, 0.0, 1.0, 0.0});
  Table t = measured();
  // A row written after the loop's bound stays as it is.
  Table spare(1, kLastColumn);
  spare.at(0, 0) = "li";
  spare.at(1, 0) = "li";
  spare.at(1, 3) = 5.0;
  EntityCells e;
  measure_entities(spare, e);
  EXPECT_EQ(spare.at(0, col::length).text_form(), "0");
  EXPECT_TRUE(spare.at(1, col::length).is_empty());
}

TEST(MeasureLayers, MeasuresEveryLayerThatHasATable) {
  Drawing d;
  d.LY_dat[2] = Table(1, kLastColumn);
  d.layer(2).at(0, 0) = "li";
  d.layer(2).at(0, 3) = 6.0;
  d.layer(2).at(0, 4) = 8.0;
  d.LY_dat[5] = Table(1, kLastColumn);
  d.layer(5).at(0, 0) = "ci";
  d.layer(5).at(0, 3) = "0.5";
  measure_layers(d);
  EXPECT_EQ(d.layer(2).at(0, col::length).text_form(), "10");
  EXPECT_EQ(d.layer(5).at(0, col::length).number(), 2 * (kPi * 0.5));
  EXPECT_FALSE(d.has_layer(0));
}

// Every kind right after every other: each row is measured from its own
// cells, as it would be alone.
TEST_F(Measuring, EachRowAsItWouldBeAlone) {
  const std::vector<std::vector<Cell>> kinds = {{"li", 0.0, 0.0, 3.0, 4.0},
                                                {"ci", "1", "2", "5"},
                                                {"cci", 10.0, 10.0, 2.0, 0.0, 90.0, 1.0, 30.0},
                                                {"pt", 7.0, 8.0},
                                                {"BL"},
                                                {"cci", 0.0, 0.0, "1", "270", "45", "1", "0"},
                                                {}};
  const auto alone = [](const std::vector<Cell>& fields) {
    Table t(1, kLastColumn);
    for (std::size_t c = 0; c < fields.size(); ++c) t.at(0, c) = fields[c];
    EntityCells e;
    measure_entities(t, e);
    return t;
  };
  for (const auto& a : kinds) {
    for (const auto& b : kinds) {
      add(a);
      add(b);
    }
  }
  const Table all = measured();
  for (std::size_t r = 0; r < all.last_row(); ++r) {
    const Table want = alone(kinds[r % 2 == 0 ? r / 2 / kinds.size() : r / 2 % kinds.size()]);
    for (std::size_t c = 0; c <= kLastColumn; ++c)
      EXPECT_TRUE(all.at(r, c).tag() == want.at(0, c).tag() &&
                  all.at(r, c).text_form() == want.at(0, c).text_form())
          << "row " << r << " column " << c;
  }
}

}  // namespace
}  // namespace makenc
