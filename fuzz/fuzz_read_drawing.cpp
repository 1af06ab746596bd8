// The interchange file in memory: both reads, measurement and chaining at
// the default machining conditions, with no file touched.
#include <cstdint>
#include <string_view>

#include "checks.h"
#include "core/settings.h"
#include "core/text.h"
#include "import/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace makenc;
  const std::vector<std::string_view> lines =
      line_views(std::string_view(reinterpret_cast<const char*>(data), size));
  static const Settings settings;
  bool header_seen = false;
  auto read = read_drawing(std::span<const std::string_view>(lines), settings,
                           [&header_seen](const std::vector<std::string>&) {
                             header_seen = true;
                             return ok_status();
                           });
  if (!read) {
    if (read.error().message.empty()) fuzz::broken("a drawing refused without a message");
    return 0;
  }
  if (!header_seen) fuzz::broken("a drawing read without its header");
  fuzz::check_contours(read->drawing);
  return 0;
}
