#include "app/session.h"

#include "preview/material_map.h"

namespace makenc {

Result<Session> open_session(const std::filesystem::path& folder) {
  Session session;
  session.folder = folder;
  auto started = start_up(folder, session.settings);
  if (!started) return started.error();
  session.start = std::move(started.value());
  // Every layer that holds entities starts ticked.
  for (int k = 0; k < kLayerCount; ++k)
    session.options.layers[static_cast<std::size_t>(k)] = session.start.drawing.has_layer(k);
  return session;
}

void redraw(Session& session, int width, int height) {
  redraw_preview(session.preview, session.start.drawing, session.options.layers, width, height);
}

namespace {
void redraw_at_current_size(Session& session) {
  redraw(session, session.preview.surface.width(), session.preview.surface.height());
}
}  // namespace

void run_assignment(Session& session) {
  run_approach_assignment(session.assignment, session.preview, session.start.drawing, session.settings,
                          session.options.layers,
                          MaterialChoice{session.every_part_material, session.options.skip_outline});
  session.makeNC_visible = true;
}

void reset_assignment(Session& session) {
  session.makeNC_visible = false;
  redraw_at_current_size(session);
}

void left_click(Session& session, double x, double y) { paint_material(session.preview, x, y); }

void right_click(Session& session) {
  session.makeNC_visible = false;
  clear_painting(session.preview, session.start.drawing, session.options.layers);
}

void paint_at(Session& session, double x, double y) {
  const PreviewFit& fit = session.preview.fit;
  left_click(session, fit.Scr_x0 + to_screen_len(fit, x), fit.Scr_y0 - to_screen_len(fit, y));
}

// A right click clears all painting wherever it falls.
void clear_painting_at(Session& session, double /*x*/, double /*y*/) { right_click(session); }

Result<NcWritten> make_nc(Session& session) {
  const NcInput input{session.folder,     session.start.drawing, session.settings,
                      session.assignment, session.options,       short_date_today()};
  return write_program_and_hand_back(input, session.start.working_copy);
}

}  // namespace makenc
