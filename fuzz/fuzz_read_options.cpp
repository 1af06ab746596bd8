// The shop's options "option.ini" in memory: the reader refuses with a
// message naming the file and the line, and the file the dialog writes back
// reads as the same options.
#include <cstdint>
#include <string_view>

#include "checks.h"
#include "core/shop_options.h"
#include "core/text.h"

namespace {

bool same(const makenc::ShopOptions& a, const makenc::ShopOptions& b) {
  return a.lead_in == b.lead_in && a.lead_in_radius == b.lead_in_radius && a.overcut == b.overcut &&
         a.feeds == b.feeds && a.feed_mark == b.feed_mark && a.rapid_feed == b.rapid_feed &&
         a.pierce_time == b.pierce_time && a.mark_start_time == b.mark_start_time;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace makenc;
  auto read = read_option_lines(text_lines(std::string_view(reinterpret_cast<const char*>(data), size)));
  if (!read) {
    if (read.error().message.find("Zemlak/Bin/option.ini line ") != 0)
      fuzz::broken("an option refused without naming the file and the line");
    return 0;
  }
  auto reread = read_option_lines(option_ini_lines(*read));
  if (!reread) fuzz::broken("the options written back are refused");
  if (!same(*read, *reread)) fuzz::broken("the options written back read otherwise");
  return 0;
}
