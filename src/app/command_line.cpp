#include "app/command_line.h"

#include "core/cell.h"
#include "core/text.h"

namespace makenc {
namespace {

Result<LayerTicks> parse_layers(const std::string& list) {
  LayerTicks ticks{};
  for (std::string_view item : split_chars(list, ',')) {
    if (item.size() != 1 || item[0] < '0' || item[0] > '5')
      return Error{"--layers takes layer numbers 0 to 5 separated by commas, not \"" + list + "\""};
    ticks[static_cast<std::size_t>(item[0] - '0')] = true;
  }
  return ticks;
}

// "X,Y": two numbers in drawing units.
Result<PaintStep> parse_point(const std::string& option, const std::string& value) {
  PaintStep step{option == "--paint", 0, 0, option + " " + value};
  const std::vector<std::string_view> xy = split_chars(value, ',');
  if (xy.size() != 2 || !parse_strict_number(xy[0], step.x) || !parse_strict_number(xy[1], step.y))
    return Error{option + " takes a point X,Y in drawing units, as in 10,25.5, not \"" + value + "\""};
  return step;
}

// "X0,Y0,X1,Y1": a rectangle of the drawing, lower-left corner first.
Result<std::array<double, 4>> parse_view(const std::string& value) {
  std::array<double, 4> r{};
  const std::vector<std::string_view> parts = split_chars(value, ',');
  bool numbers = parts.size() == 4;
  for (std::size_t i = 0; numbers && i < 4; ++i) numbers = parse_strict_number(parts[i], r[i]);
  if (!numbers)
    return Error{"--view takes a rectangle X0,Y0,X1,Y1 in drawing units, as in 0,0,500,250, not \"" + value +
                 "\""};
  if (!(r[2] > r[0] && r[3] > r[1]))
    return Error{"--view " + value + ": X1 must be greater than X0 and Y1 greater than Y0"};
  return r;
}

// Which options each mode accepts: what changes the assignment run goes
// with the cut list too, what changes NC generation only with --batch.
bool accepts(Mode mode, const std::string& option) {
  if (option == "--layers" || option == "--no-outline" || option == "--nested")
    return mode == Mode::Batch || mode == Mode::DumpCutlist || mode == Mode::CheckNc;
  if (option == "--paint" || option == "--clear" || option == "--edits")
    return mode == Mode::Batch || mode == Mode::DumpCutlist;
  return mode == Mode::Batch;
}

}  // namespace

std::string usage_text() {
  return "usage: makenc                       the desktop tool, started in the host folder\n"
         "       makenc --batch [--layers 0,2] [--no-joints] [--check-drawing] [--no-outline]\n"
         "                      [--nested] [--paint X,Y] [--clear X,Y] [--edits FILE] [--report FILE]\n"
         "                      [--preview-png FILE [--view X0,Y0,X1,Y1] [--order-numbers]]\n"
         "       makenc --dump-tables\n"
         "       makenc --dump-cutlist [--layers 0,2] [--no-outline] [--nested] [--paint X,Y] [--clear X,Y]\n"
         "                      [--edits FILE]\n"
         "       makenc --check-nc FILE [--nested] [--no-outline] [--layers 0,2]\n"
         "       makenc --version\n"
         "Every mode works on JWC_TEMP.TXT and Zemlak/Bin in the current folder.\n"
         "--view shows the rectangle of the drawing (drawing units) in the picture, with its aspect kept;\n"
         "a rectangle that would need more than 50 pixels per drawing unit is shown at 50, centred on it.\n"
         "--order-numbers writes each contour's place in the cutting order beside its lead-in.\n"
         "--edits FILE makes the edits of FILE on the assignment run, one a line: entry X,Y, flip X,Y,\n"
         "mark X,Y, cut X,Y, skip X,Y (out, or back in) and after X1,Y1 X2,Y2 (the contour at X1,Y1 is cut\n"
         "right after the one at X2,Y2), each on the contour nearest the point.\n"
         "--check-nc judges the NC program FILE against the drawing, with the options it was made with,\n"
         "and changes no file: exit 0 without a fault, 1 with faults, 2 when it cannot be judged.\n";
}

std::string version_text() { return std::string("makenc ") + MAKENC_VERSION + "\n"; }

Result<CommandLine> parse_command_line(const std::vector<std::string>& args) {
  CommandLine cl;
  if (args.empty()) return cl;
  const std::string& first = args[0];
  if (first == "--batch")
    cl.mode = Mode::Batch;
  else if (first == "--dump-tables")
    cl.mode = Mode::DumpTables;
  else if (first == "--dump-cutlist")
    cl.mode = Mode::DumpCutlist;
  else if (first == "--check-nc")
    cl.mode = Mode::CheckNc;
  else if (first == "--help" || first == "-h")
    cl.mode = Mode::Help;
  else if (first == "--version")
    cl.mode = Mode::Version;
  else
    return Error{"unknown mode \"" + first + "\"\n" + usage_text()};

  std::size_t i = 1;
  if (cl.mode == Mode::CheckNc) {
    if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
      return Error{"--check-nc needs the NC program to judge, as in --check-nc Zemlak/plate.nc\n" +
                   usage_text()};
    cl.check_nc = args[1];
    i = 2;
  }
  for (; i < args.size(); ++i) {
    const std::string& opt = args[i];
    if (!accepts(cl.mode, opt) && cl.mode != Mode::Help)
      return Error{"\"" + opt + "\" does not go with " + first + "\n" + usage_text()};
    if (opt == "--layers" || opt == "--preview-png" || opt == "--report" || opt == "--paint" ||
        opt == "--clear" || opt == "--view" || opt == "--edits") {
      if (i + 1 >= args.size()) return Error{opt + " needs a value"};
      const std::string& value = args[++i];
      if (opt == "--view") {
        auto view = parse_view(value);
        if (!view) return view.error();
        cl.view = *view;
        continue;
      }
      if (opt == "--preview-png" || opt == "--report" || opt == "--edits") {
        (opt == "--report" ? cl.report : opt == "--edits" ? cl.edits : cl.preview_png) = value;
        continue;
      }
      if (opt == "--paint" || opt == "--clear") {
        auto step = parse_point(opt, value);
        if (!step) return step.error();
        cl.painting.push_back(std::move(*step));
        continue;
      }
      auto ticks = parse_layers(value);
      if (!ticks) return ticks.error();
      cl.layers = *ticks;
    } else if (opt == "--no-joints") {
      cl.no_joints = true;
    } else if (opt == "--check-drawing") {
      cl.check_drawing = true;
    } else if (opt == "--no-outline") {
      cl.no_outline = true;
    } else if (opt == "--nested") {
      cl.nested = true;
    } else if (opt == "--order-numbers") {
      cl.order_numbers = true;
    } else {
      return Error{"unknown option \"" + opt + "\"\n" + usage_text()};
    }
  }
  if ((cl.view || cl.order_numbers) && cl.preview_png.empty())
    return Error{std::string(cl.view ? "--view" : "--order-numbers") + " goes with --preview-png FILE"};
  return cl;
}

}  // namespace makenc
