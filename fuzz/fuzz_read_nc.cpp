// An NC program in memory, judged against the bundled plate with its
// templates: the reader refuses what it cannot follow with a message naming
// the line, and every fault it names lies at a finite point with a message
// of plain numbers; the program's text read at once gives what its lines
// read one by one give.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "checks.h"
#include "core/settings.h"
#include "core/text.h"
#include "import/startup.h"
#include "judge/nc_judge.h"

namespace {

struct Plate {
  makenc::Settings settings;
  makenc::Drawing drawing;
  makenc::StartCodes codes;
};

const Plate& plate() {
  static const Plate p = [] {
    using namespace makenc;
    Plate plate;
    const std::filesystem::path folder = std::filesystem::path(MAKENC_SOURCE_DIR) / "examples/plate";
    if (!read_set_ini(host_path(folder, "Zemlak\\Bin\\set.ini"), plate.settings)) fuzz::broken("no set.ini");
    const auto lines = read_text_lines(folder / "JWC_TEMP.TXT");
    if (!lines) fuzz::broken("no drawing");
    auto start = read_drawing(*lines, plate.settings);
    if (!start) fuzz::broken("the plate is refused");
    plate.drawing = std::move(start->drawing);
    auto codes = read_start_codes(folder, plate.settings);
    if (!codes) fuzz::broken("no templates");
    plate.codes = std::move(*codes);
    return plate;
  }();
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace makenc;
  const Plate& p = plate();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = text_lines(text);
  const auto judged = judge_program(p.drawing, p.settings, p.codes, lines, JudgeOptions{});
  // The whole text read at once, the tool's own blocks their own way, as its
  // lines one by one.
  const auto at_once = judge_program(p.drawing, p.settings, p.codes, text, JudgeOptions{});
  if (judged.ok() != at_once.ok()) fuzz::broken("the text read at once and its lines disagree");
  if (!judged && judged.error().message != at_once.error().message)
    fuzz::broken("the text read at once is refused with another message");
  if (judged && judged->report() != at_once->report())
    fuzz::broken("the text read at once is judged otherwise");
  if (!judged) {
    if (judged.error().message.rfind("line ", 0) != 0) fuzz::broken("a refusal that names no line");
    return 0;
  }
  for (const Fault& f : judged->faults) {
    if (!std::isfinite(f.contact.x) || !std::isfinite(f.contact.y) || !std::isfinite(f.at.x) ||
        !std::isfinite(f.at.y))
      fuzz::broken("a fault at a point that is not finite");
    const std::string message = fault_message(f);
    if (message.find("nan") != std::string::npos || message.find("inf") != std::string::npos)
      fuzz::broken("a fault message with a number that is not finite");
  }
  if (judged->faults.size() > 2 * (judged->cuts + judged->marks) + 64 + judged->closed_contours * 2)
    fuzz::broken("more faults than cuts and contours can have");
  return 0;
}
