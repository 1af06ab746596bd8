#include "app/batch.h"

#include <future>
#include <optional>

#include "app/edit_file.h"
#include "app/forms.h"
#include "app/job_report.h"
#include "app/session.h"
#include "app/view_control.h"
#include "assign/dump_cutlist.h"
#include "core/beside.h"
#include "core/constants.h"
#include "core/files.h"
#include "core/number_text.h"
#include "core/platform.h"
#include "core/text.h"
#include "import/dump_tables.h"
#include "judge/nc_judge.h"
#include "nc/nc_output_name.h"
#include "raster/png_file.h"

namespace makenc {
namespace {

// The painting asked for, click by click, on the drawing's extent only: a
// click off the drawing would leave the map without material.
Status paint_by_hand(Session& session, const std::vector<PaintStep>& painting) {
  const Drawing& d = session.start.drawing;
  const double width = d.X_max.number() - d.X_min.number();
  const double height = d.Y_max.number() - d.Y_min.number();
  for (const PaintStep& step : painting) {
    if (!d.has_bounding_box()) return Error{step.given + ": the drawing is empty, there is nothing to paint"};
    if (!(step.x >= 0 && step.x <= width && step.y >= 0 && step.y <= height))
      return Error{step.given + ": the point lies off the drawing, which spans 0 to " + double_text(width) +
                   " by 0 to " + double_text(height)};
    if (step.paint)
      paint_at(session, step.x, step.y);
    else
      clear_painting_at(session, step.x, step.y);
  }
  return ok_status();
}

// Start-up, the boxes as asked, the preview at the size the main window
// first shows, and the painting by hand.
Result<Session> open_for_batch(const CommandLine& cl, const std::filesystem::path& folder) {
  auto session = open_session(folder);
  if (!session) return session;
  if (cl.layers) session->options.layers = *cl.layers;
  session->options.skip_outline = cl.no_outline;
  session->every_part_material = cl.nested;
  // A run that shows no picture and paints nothing by hand needs only the
  // preview's size and fit: an assignment run draws what it decides on.
  if (cl.painting.empty() && cl.preview_png.empty())
    fit_unshown_preview(*session, kBatchPreviewWidth, kBatchPreviewHeight);
  else
    redraw(*session, kBatchPreviewWidth, kBatchPreviewHeight);
  const Status painted = paint_by_hand(*session, cl.painting);
  if (!painted) return painted.error();
  return session;
}

// The preview as the window shows it, or the rectangle and the order
// numbers asked for.
const Surface& preview_picture(const CommandLine& cl, Session& session, ViewControl& view) {
  fit_view(view, session);
  view.order_numbers = cl.order_numbers;
  if (cl.view) {
    const auto& [x0, y0, x1, y1] = *cl.view;
    show_area(view, session, {x0, y0}, {x1, y1});
  }
  return view_picture(view, session);
}

void warn(std::ostream& err, const Warnings& warnings) {
  for (const Warning& w : warnings) err << "makenc: warning: " << w.message << '\n';
}

int fail(std::ostream& err, const Error& e) {
  err << "makenc: " << e.message << '\n';
  return 1;
}

// The edit file's lines, read before the run so that a bad line costs no
// assignment run.
Result<std::vector<EditLine>> edit_lines(const CommandLine& cl) {
  if (cl.edits.empty()) return std::vector<EditLine>{};
  return read_edit_file(path_from_utf8(cl.edits), cl.edits);
}

// The report goes to disk before the NC program, so that a report that
// cannot be written stops the run before anything reaches the machine or
// the host.
Status write_report(const Session& session, const CheckedProgram& checked,
                    const std::filesystem::path& file) {
  const Drawing& d = session.start.drawing;
  LayerTicks used{};
  for (int k = 0; k < kLayerCount; ++k)
    used[static_cast<std::size_t>(k)] = session.options.layers[static_cast<std::size_t>(k)] && d.has_layer(k);
  std::vector<std::pair<std::string, std::size_t>> faults;
  for (FaultKind kind : kFaultKinds) faults.emplace_back(fault_name(kind), checked.judgement.count(kind));
  const JobReport report{checked.program.job, used, cp932_to_utf8(drawing_name(d.File_lin)),
                         cp932_to_utf8(checked.program.shown), faults};
  const Status written = write_file_atomically(file, report_json(report));
  if (!written) return Error{"the report was not written: " + written.error().message};
  return ok_status();
}

}  // namespace

int run_dump_tables(const std::filesystem::path& folder, std::ostream& out, std::ostream& err) {
  auto session = open_session(folder);
  if (!session) return fail(err, session.error());
  out << dump_tables(session->start.drawing);
  return 0;
}

int run_dump_cutlist(const CommandLine& cl, const std::filesystem::path& folder, std::ostream& out,
                     std::ostream& err) {
  auto session = open_for_batch(cl, folder);
  if (!session) return fail(err, session.error());
  auto edits = edit_lines(cl);
  if (!edits) return fail(err, edits.error());
  warn(err, session->start.warnings);
  session->preview_shown = false;
  run_assignment(*session);
  const Status edited = make_edits(*session, *edits, cl.edits);
  if (!edited) return fail(err, edited.error());
  warn(err, session->assignment.warnings);
  out << dump_cutlist(session->assignment);
  return 0;
}

int run_batch(const CommandLine& cl, const std::filesystem::path& folder, std::ostream& out,
              std::ostream& err) {
  auto session = open_for_batch(cl, folder);
  if (!session) return fail(err, session.error());
  warn(err, session->start.warnings);
  session->options.joints = !cl.no_joints;
  session->options.check_drawing = cl.check_drawing;
  session->preview_shown = !cl.preview_png.empty();
  auto edits = edit_lines(cl);
  if (!edits) return fail(err, edits.error());
  // The drawing as the judge sees it is made beside the run, which only
  // reads the drawing too; the program is judged against it at the end.
  std::future<DrawingGeometry> judged_drawing;
  if (programs_are_judged())
    judged_drawing = start_beside(
        [&drawing = session->start.drawing, settings = session->settings,
         options = judge_options_of(*session)] { return judge_geometry(drawing, settings, options); });
  run_assignment(*session);
  const Status edited = make_edits(*session, *edits, cl.edits);
  if (!edited) return fail(err, edited.error());
  warn(err, session->assignment.warnings);
  if (!cl.preview_png.empty()) {
    ViewControl view;
    auto saved = write_png(preview_picture(cl, *session, view), path_from_utf8(cl.preview_png));
    if (!saved) return fail(err, saved.error());
  }
  // Nothing reads the map after this: its pixels go before the program is
  // built, which is the batch run's largest moment.
  session->map = MaterialMap{};
  std::optional<DrawingGeometry> judge_drawing;
  if (judged_drawing.valid()) judge_drawing = judged_drawing.get();
  auto checked =
      build_checked_program(*session, short_date_today(), judge_drawing ? &*judge_drawing : nullptr);
  if (!checked) return fail(err, checked.error());
  std::filesystem::path report;
  if (!cl.report.empty()) {
    report = path_from_utf8(cl.report);
    const Status reported = write_report(*session, *checked, report);
    if (!reported) return fail(err, reported.error());
  }
  auto written = write_checked_program(*session, *checked);
  if (!written) {
    // The report would tell of a program that was not written.
    std::error_code ec;
    if (!report.empty() && !std::filesystem::remove(report, ec) && ec)
      return fail(err, Error{written.error().message + "; the report " + display_path(report) +
                             " could not be removed: " + ec.message()});
    return fail(err, written.error());
  }
  out << cp932_to_utf8(written->message) << '\n';
  out << summary_text(written->job) << '\n';
  warn(err, written->warnings);
  for (const std::string& fault : written->faults) err << "makenc: warning: " << fault << '\n';
  return 0;
}

int run_check_nc(const CommandLine& cl, const std::filesystem::path& folder, std::ostream& out,
                 std::ostream& err) {
  JudgeOptions options;
  if (cl.layers) options.layers = *cl.layers;
  options.outline_cut = !cl.no_outline;
  options.edge = cl.nested && cl.no_outline;
  const std::filesystem::path file = path_from_utf8(cl.check_nc);
  auto judged = judge_nc_program(folder, file, options);
  if (!judged) {
    err << "makenc: " << judged.error().message << '\n';
    return 2;
  }
  const Status holds = judgement_holds(*judged);
  if (!holds) {
    err << "makenc: " << cl.check_nc << " cannot be judged: " << holds.error().message << '\n';
    return 2;
  }
  for (const Fault& fault : judged->faults) out << fault_message(fault) << '\n';
  out << cl.check_nc << ": " << judged->faults.size() << (judged->faults.size() == 1 ? " fault" : " faults")
      << " in " << judged->cuts << " cuts and " << judged->marks << " markings (" << judged->counts_text()
      << ")\n";
  return judged->faults.empty() ? 0 : 1;
}

}  // namespace makenc
