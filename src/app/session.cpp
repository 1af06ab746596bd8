#include "app/session.h"

#include "geometry/drawn_elements.h"
#include "geometry/regions.h"
#include "geometry/sides.h"
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
  session.map.ready = false;
}

void fit_unshown_preview(Session& session, int width, int height) {
  size_and_fit_preview(session.preview, session.start.drawing, width, height);
  session.map.ready = false;
  session.preview_shown = false;
}

namespace {
void redraw_at_current_size(Session& session) {
  redraw(session, session.preview.surface.width(), session.preview.surface.height());
}

void prepare_map(Session& session) {
  if (!session.map.ready)
    prepare_material_map(session.map, session.preview, session.start.drawing, session.options.layers,
                         session.settings);
}

// The region of the drawing point becomes material, unless the point stands
// on a drawn line.
void paint_region(Session& session, double x, double y) {
  const Drawing& drawing = session.start.drawing;
  const DecisionFit fit = decision_fit(session.preview, drawing, session.settings);
  const DrawnElements drawn(drawing, session.options.layers);
  if (drawn.near(x, y, kLineBand / fit.Scr_k)) return;
  session.map.material.add(Regions(drawing, session.options.layers, session.settings).region_of(x, y));
}
}  // namespace

void run_assignment(Session& session) {
  run_approach_assignment(session.assignment, session.preview, session.map, session.start.drawing,
                          session.settings, session.options.layers,
                          MaterialChoice{session.every_part_material, session.options.skip_outline},
                          session.preview_shown);
  session.makeNC_visible = true;
}

void measure_job(Session& session) {
  session.summary = job_summary(NcInput{session.folder, session.start.drawing, session.settings,
                                        session.assignment, session.options, short_date_today()});
}

void measure_offered_job(Session& session) {
  if (session.makeNC_visible) measure_job(session);
}

void reset_assignment(Session& session) {
  session.makeNC_visible = false;
  redraw_at_current_size(session);
}

void left_click(Session& session, double x, double y) {
  prepare_map(session);
  // The preview is the map: its pixel is the one to fill.
  if (!session.map.uses_own) {
    paint_material(session.preview, x, y);
    const PreviewFit& f = session.preview.fit;
    paint_region(session, (x - f.Scr_x0) / f.Scr_k, (f.Scr_y0 - y) / f.Scr_k);
    return;
  }
  const PreviewFit& f = session.preview.fit;
  paint_at(session, (x - f.Scr_x0) / f.Scr_k, (f.Scr_y0 - y) / f.Scr_k);
}

void right_click(Session& session) {
  session.makeNC_visible = false;
  clear_painting(session.preview, session.start.drawing, session.options.layers);
  session.map.ready = false;
}

void paint_at(Session& session, double x, double y) {
  prepare_map(session);
  Preview& decision = decision_surface(session.map, session.preview);
  const PreviewFit& f = decision.fit;
  paint_material(decision, f.Scr_x0 + to_screen_len(f, x), f.Scr_y0 - to_screen_len(f, y));
  paint_region(session, x, y);
  session.map.plain = false;
  session.preview.Mus_clic = 1;
  show_material_map(session.map, session.preview);
}

void clear_painting_at(Session& session, double /*x*/, double /*y*/) { right_click(session); }

Result<NcWritten> make_nc(Session& session, const std::string& date) {
  const NcInput input{session.folder,     session.start.drawing, session.settings,
                      session.assignment, session.options,       date};
  return write_program_and_hand_back(input, session.start.working_copy);
}

}  // namespace makenc
