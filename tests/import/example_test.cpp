// The bundled host folder examples/plate reads into the contours it was
// drawn with.
#include <gtest/gtest.h>

#include <cmath>

#include "import/dump_tables.h"
#include "support/host_folder.h"

namespace makenc {
namespace {

using test::HostFolder;

class PlateExample : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path example = std::filesystem::path(MAKENC_SOURCE_DIR) / "examples/plate";
    ASSERT_TRUE(std::filesystem::exists(example / "JWC_TEMP.TXT"));
    std::filesystem::copy(
        example, host.path(),
        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    s = host.started();
  }
  HostFolder host;
  StartUp s;
};

TEST_F(PlateExample, FilesAreCrLfThroughout) {
  for (const char* f : {"JWC_TEMP.TXT", "Zemlak/Bin/set.ini", "Zemlak/Bin/head.ini", "Zemlak/Bin/sta_cut.ini",
                        "Zemlak/Bin/sta_mark.ini", "Zemlak/Bin/end.ini", "Zemlak/Bin/foot.ini"}) {
    const std::string bytes = host.read(f);
    ASSERT_FALSE(bytes.empty()) << f;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << f << " byte " << i;
      }
    }
  }
}

TEST_F(PlateExample, SettingsAreTheDefaults) {
  const Settings defaults;
  EXPECT_EQ(host.settings.ini_GOSA, defaults.ini_GOSA);
  EXPECT_EQ(host.settings.ini_S_suu, defaults.ini_S_suu);
  EXPECT_EQ(host.settings.ini_Cond[2].fields, defaults.ini_Cond[2].fields);
  EXPECT_EQ(host.settings.ini_joint, defaults.ini_joint);
}

TEST_F(PlateExample, PlateStartsAtTheOrigin) {
  const Drawing& d = s.drawing;
  EXPECT_EQ(d.File_lin, "file=C:\\jww\\data\\plate.jww");
  EXPECT_EQ(dump_tables(d).substr(dump_tables(d).rfind("bbox")), "bbox\t100\t50\t400\t250\n");
  EXPECT_EQ(s.working_copy.back(), "#");
}

// Every chained contour of more than one row closes within the tolerance,
// and each row starts where the one before ended.
TEST_F(PlateExample, EveryContourCloses) {
  const Drawing& d = s.drawing;
  EXPECT_EQ(d.Cnt_total, 7);
  for (int k : {0, 1}) {
    const Table& t = d.layer(k);
    std::size_t first = 0;
    for (std::size_t r = 0; r != t.last_row(); ++r) {
      ASSERT_FALSE(t.at(r, 0).is_empty()) << k << " " << r;
      const bool last = r + 1 == t.last_row() || compare(t.at(r + 1, 13), t.at(r, 13)) != 0;
      if (r > first) {
        EXPECT_NEAR(t.at(r, 1).number(), t.at(r - 1, 3).number(), 0.01);
        EXPECT_NEAR(t.at(r, 2).number(), t.at(r - 1, 4).number(), 0.01);
      }
      if (last && r > first) {
        EXPECT_NEAR(t.at(first, 1).number(), t.at(r, 3).number(), 0.01)
            << "contour " << t.at(r, 13).text_form();
        EXPECT_NEAR(t.at(first, 2).number(), t.at(r, 4).number(), 0.01);
      }
      if (last) first = r + 1;
    }
  }
}

TEST_F(PlateExample, HolesSlotAndMarkingAreWhereTheyWereDrawn) {
  const Drawing& d = s.drawing;
  const Table& cut = d.layer(0);
  int circles = 0, arcs = 0;
  for (std::size_t r = 0; r != cut.last_row(); ++r) {
    EXPECT_EQ(cut.at(r, 11).text_form(), "2");
    circles += cut.at(r, 0) == "ci";
    arcs += cut.at(r, 0) == "cci";
  }
  EXPECT_EQ(circles, 2);
  EXPECT_EQ(arcs, 3);
  const Table& mark = d.layer(1);
  EXPECT_EQ(mark.at(0, 11).text_form(), "3");
  EXPECT_EQ(mark.at(1, 0).text_form(), "pt");
  EXPECT_EQ(mark.at(1, 1).text_form(), "150");
}

}  // namespace
}  // namespace makenc
