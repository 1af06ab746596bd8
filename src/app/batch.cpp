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
  if (cl.layers) session->options.LYc = *cl.layers;
  redraw(*session, kBatchPreviewWidth, kBatchPreviewHeight);
  return session;
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
  auto_Click(*session);
  out << dump_cutlist(session->assignment);
  return 0;
}

int run_batch(const CommandLine& cl, const std::filesystem::path& folder, std::ostream& out,
              std::ostream& err) {
  auto session = open_for_batch(cl, folder);
  if (!session) return fail(err, session.error());
  session->options.Check2 = !cl.no_joints;
  session->options.Check1 = cl.check_drawing;
  session->options.out_che = cl.no_outline;
  auto_Click(*session);
  if (!cl.preview_png.empty()) {
    auto saved = write_png(session->preview.surface, path_from_utf8(cl.preview_png));
    if (!saved) return fail(err, saved.error());
  }
  auto written = makeNC_Click(*session);
  if (!written) return fail(err, written.error());
  out << cp932_to_utf8(written->message) << '\n';
  return 0;
}

}  // namespace makenc
