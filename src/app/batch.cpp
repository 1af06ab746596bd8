#include "app/batch.h"

#include "app/forms.h"
#include "app/job_report.h"
#include "app/session.h"
#include "app/view_control.h"
#include "assign/dump_cutlist.h"
#include "core/constants.h"
#include "core/files.h"
#include "core/number_text.h"
#include "core/platform.h"
#include "core/text.h"
#include "import/dump_tables.h"
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

// The report goes to disk before the NC program, so that a report that
// cannot be written stops the run before anything reaches the machine or
// the host.
Status write_report(Session& session, const std::string& date, const std::filesystem::path& file) {
  measure_job(session);
  if (!session.summary) return session.summary.error();
  const Drawing& d = session.start.drawing;
  auto name = nc_output_name(session.folder, d.File_lin, date);
  if (!name) return name.error();
  LayerTicks used{};
  for (int k = 0; k < kLayerCount; ++k)
    used[static_cast<std::size_t>(k)] = session.options.layers[static_cast<std::size_t>(k)] && d.has_layer(k);
  const JobReport report{session.summary.value(), used, cp932_to_utf8(drawing_name(d.File_lin)),
                         cp932_to_utf8(name->shown)};
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
  warn(err, session->start.warnings);
  session->preview_shown = false;
  run_assignment(*session);
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
  run_assignment(*session);
  warn(err, session->assignment.warnings);
  if (!cl.preview_png.empty()) {
    ViewControl view;
    auto saved = write_png(preview_picture(cl, *session, view), path_from_utf8(cl.preview_png));
    if (!saved) return fail(err, saved.error());
  }
  const std::string date = short_date_today();
  std::filesystem::path report;
  if (!cl.report.empty()) {
    report = path_from_utf8(cl.report);
    const Status reported = write_report(*session, date, report);
    if (!reported) return fail(err, reported.error());
  }
  // Nothing reads the map after this: its pixels go before the program is
  // built, which is the batch run's largest moment.
  session->map = MaterialMap{};
  auto written = make_nc(*session, date);
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
  return 0;
}

}  // namespace makenc
