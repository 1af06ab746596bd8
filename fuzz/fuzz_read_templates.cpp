// The five templates in memory, one after another separated by NUL bytes
// (program header, footer, cutting start, marking start, end code), around
// the body of the bundled drawing; no file is read or written per input.
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "assign/assignment.h"
#include "checks.h"
#include "core/settings.h"
#include "core/text.h"
#include "import/startup.h"
#include "nc/nc_program.h"

namespace {

using namespace makenc;

struct Job {
  Settings settings;
  StartUp start;
  Assignment assignment;
  NcOptions options;
  std::string size_text;  // the drawing's size, as the header gives it
};

// The bundled drawing, assigned once.
Job bundled_job() {
  const std::filesystem::path plate = std::filesystem::path(MAKENC_SOURCE_DIR) / "examples" / "plate";
  Job job;
  read_set_ini(plate / "Zemlak" / "Bin" / "set.ini", job.settings);
  auto lines = read_text_lines(plate / "JWC_TEMP.TXT");
  if (!lines) fuzz::broken("the bundled drawing is missing");
  auto start = read_drawing(*lines, job.settings);
  if (!start) fuzz::broken("the bundled drawing does not read");
  job.start = std::move(*start);
  for (int k = 0; k < kLayerCount; ++k)
    job.options.layers[static_cast<std::size_t>(k)] = job.start.drawing.has_layer(k);
  Preview preview;
  redraw_preview(preview, job.start.drawing, job.options.layers, 160, 80);
  run_approach_assignment(job.assignment, preview, job.start.drawing, job.settings, job.options.layers);
  auto size_text = drawing_size_text(job.start.drawing);
  if (!size_text) fuzz::broken("the bundled drawing has no size");
  job.size_text = std::move(*size_text);
  return job;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Job job = bundled_job();
  static const std::filesystem::path folder = ".";
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const TemplateLines head = template_lines(fuzz::piece(bytes, 0));
  const TemplateLines foot = template_lines(fuzz::piece(bytes, 1));
  const NcTemplates codes{template_lines(fuzz::piece(bytes, 2)), template_lines(fuzz::piece(bytes, 4)),
                          template_lines(fuzz::piece(bytes, 3))};
  const NcInput input{folder, job.start.drawing, job.settings, job.assignment, job.options, "2026/01/31"};
  auto body = nc_body(input, codes);
  if (!body) {
    if (body.error().message.empty()) fuzz::broken("NC generation failed without a message");
    return 0;
  }
  const std::vector<std::string> header =
      fill_header(head, input.date, "C:\\jww\\Zemlak\\plate.nc", job.size_text);
  // The machine reads the program line by line: no line may hold a line end
  // of its own. The header and footer lines are checked as they are; the
  // body as the bytes it is written in, where every line ends in CR LF.
  const auto holds_line_end = [](std::string_view line) {
    return line.find('\r') != std::string_view::npos || line.find('\n') != std::string_view::npos;
  };
  for (const std::string& line : header)
    if (holds_line_end(line)) fuzz::broken("a header line holds a line end");
  for (std::size_t k = 0; k + 1 < foot.size(); ++k)
    if (holds_line_end(foot[k])) fuzz::broken("a footer line holds a line end");
  // A CR or LF of the body is one of a CR LF pair: every CR has an LF
  // after it, every LF a CR before it.
  const std::string_view text = body->NC_blk;
  for (std::size_t at = text.find('\r'); at != std::string_view::npos; at = text.find('\r', at + 1))
    if (at + 1 == text.size() || text[at + 1] != '\n') fuzz::broken("a program line holds a line end");
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
    if (at == 0 || text[at - 1] != '\r') fuzz::broken("a program line holds a line end");
  if (!text.empty() && !text.ends_with("\r\n")) fuzz::broken("the body's last line has no line end");
  if (head.size() > 0 && header.size() != head.size() - 1) fuzz::broken("template lines lost");
  return 0;
}
