#include "app/session.h"

#include <cstdlib>

#include "assign/cut_order.h"
#include "assign/placement.h"
#include "core/text.h"
#include "nc/check_drawing.h"
#include "preview/material_map.h"

namespace makenc {

Result<Session> open_session(const std::filesystem::path& folder, BadOptions bad) {
  Session session;
  session.folder = folder;
  auto shop = read_option_ini(folder);
  if (shop)
    session.settings.shop = std::move(*shop);
  else if (bad == BadOptions::refuse)
    return shop.error();
  else
    session.options_refused = shop.error().message;
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

// The map painted again after a click, with the lead-ins and rapid moves of
// the run on offer.
void show_painting(Session& session) {
  if (!session.preview_shown) return;
  show_material_map(session.preview, session.map, session.start.drawing, session.options.layers);
  if (session.makeNC_visible) {
    draw_lead_ins(session.preview, session.assignment.Apr_dat);
    draw_traverses(session.preview, session.assignment.Ord_dat);
    if (session.summary) draw_shown_cuts(session.preview, session.summary->shown_cuts);
  }
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
  // Arc lead-ins and overcuts as the machine cuts them, over the run's
  // straight lead-ins.
  if (session.preview_shown && session.makeNC_visible && session.summary)
    draw_shown_cuts(session.preview, session.summary->shown_cuts);
}

void measure_offered_job(Session& session) {
  if (session.makeNC_visible) measure_job(session);
}

void reset_assignment(Session& session) {
  session.makeNC_visible = false;
  redraw_at_current_size(session);
}

void left_click(Session& session, double x, double y) {
  const PreviewFit& f = session.preview.fit;
  paint_at(session, (x - f.Scr_x0) / f.Scr_k, (f.Scr_y0 - y) / f.Scr_k);
}

void right_click(Session& session) {
  session.makeNC_visible = false;
  clear_painting(session.preview, session.start.drawing, session.options.layers);
  session.map.ready = false;
}

void paint_at(Session& session, double x, double y) {
  paint_region(session.map, session.preview, session.start.drawing, session.options.layers, session.settings,
               x, y);
  session.preview.Mus_clic = 1;
  show_painting(session);
}

void clear_painting_at(Session& session, double /*x*/, double /*y*/) { right_click(session); }

Result<CheckedProgram> build_checked_program(const Session& session, const std::string& date) {
  const NcInput input{session.folder,     session.start.drawing, session.settings,
                      session.assignment, session.options,       date};
  auto program = build_nc_program(input);
  if (!program) return program.error();
  CheckedProgram checked{std::move(*program), {}, {}};
  // Measuring only: the run without its check.
  if (std::getenv("MAKENC_UNCHECKED") != nullptr) return checked;
  JudgeOptions options;
  options.layers = session.options.layers;
  options.outline_cut = !session.options.skip_outline;
  options.edge = session.every_part_material && session.options.skip_outline;
  options.material_known = !session.assignment.painted_by_hand;
  auto codes = read_start_codes(session.folder, session.settings);
  const std::vector<std::string_view> lines = line_views(checked.program.text);
  Result<Judgement> judged =
      codes ? judge_program(session.start.drawing, session.settings, *codes, std::span(lines), options)
            : Result<Judgement>(codes.error());
  if (judged)
    checked.judgement = std::move(*judged);
  else
    checked.unjudged = "the program was not checked against the drawing: " + judged.error().message;
  return checked;
}

Result<NcWritten> write_checked_program(Session& session, const CheckedProgram& checked) {
  const NcInput input{session.folder,     session.start.drawing, session.settings,
                      session.assignment, session.options,       short_date_today()};
  auto written = write_program_and_hand_back(input, checked.program, session.start.working_copy);
  if (!written) return written;
  for (const Fault& fault : checked.judgement.faults) written->faults.push_back(fault_message(fault));
  if (!checked.unjudged.empty()) written->faults.push_back(checked.unjudged);
  return written;
}

Result<NcWritten> make_nc(Session& session, const std::string& date) {
  auto checked = build_checked_program(session, date);
  if (!checked) return checked.error();
  return write_checked_program(session, *checked);
}

}  // namespace makenc
