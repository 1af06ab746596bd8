#include "app/batch.h"

#include "app/session.h"
#include "assign/dump_cutlist.h"
#include "core/constants.h"
#include "core/platform.h"
#include "core/text.h"
#include "import/dump_tables.h"
#include "raster/png_file.h"

namespace makenc {
namespace {

// Start-up, the layer boxes as asked, and the preview at the size the main
// window first shows.
Result<Session> open_for_batch(const CommandLine& cl, const std::filesystem::path& folder) {
  auto session = open_session(folder);
  if (!session) return session;
  if (cl.layers) session->options.layers = *cl.layers;
  redraw(*session, kBatchPreviewWidth, kBatchPreviewHeight);
  return session;
}

void warn(std::ostream& err, const Warnings& warnings) {
  for (const Warning& w : warnings) err << "makenc: warning: " << w.message << '\n';
}

int fail(std::ostream& err, const Error& e) {
  err << "makenc: " << e.message << '\n';
  return 1;
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
  run_assignment(*session);
  warn(err, session->assignment.warnings);
  out << dump_cutlist(session->assignment);
  return 0;
}

int run_batch(const CommandLine& cl, const std::filesystem::path& folder, std::ostream& out,
              std::ostream& err) {
  auto session = open_for_batch(cl, folder);
  if (!session) return fail(err, session.error());
  session->options.joints = !cl.no_joints;
  session->options.check_drawing = cl.check_drawing;
  session->options.skip_outline = cl.no_outline;
  run_assignment(*session);
  warn(err, session->assignment.warnings);
  if (!cl.preview_png.empty()) {
    auto saved = write_png(session->preview.surface, path_from_utf8(cl.preview_png));
    if (!saved) return fail(err, saved.error());
  }
  auto written = make_nc(*session);
  if (!written) return fail(err, written.error());
  out << cp932_to_utf8(written->message) << '\n';
  warn(err, written->warnings);
  return 0;
}

}  // namespace makenc
