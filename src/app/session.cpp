#include "app/session.h"

#include <algorithm>
#include <cstdlib>

#include "assign/cut_order.h"
#include "assign/placement.h"
#include "core/number_text.h"
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
    // Edits reorder and leave out records of the cut list, not of Apr_dat.
    const Assignment& a = session.assignment;
    draw_lead_ins(session.preview, session.edits.empty() ? a.Apr_dat : a.Ord_dat,
                  lead_ins_shown_as_cut(session));
    draw_traverses(session.preview, session.assignment.Ord_dat);
    if (session.summary) draw_shown_cuts(session.preview, session.summary->shown_cuts);
  }
}
}  // namespace

void run_assignment(Session& session) {
  session.edits.clear();
  session.automatic = Assignment{};
  session.automatic_kept = false;
  run_approach_assignment(session.assignment, session.preview, session.map, session.start.drawing,
                          session.settings, session.options.layers,
                          MaterialChoice{session.every_part_material, session.options.skip_outline},
                          session.preview_shown);
  session.makeNC_visible = true;
}

namespace {

// The run's result with the edits, drawn over the map as the run drew it.
void apply_session_edits(Session& session) {
  const EditGround ground{session.start.drawing, session.settings, session.options.layers, session.preview,
                          session.map};
  apply_edits(session.assignment, session.automatic, session.edits, ground);
  if (!session.preview_shown) return;
  // A redraw since the run (a layer box) has discarded the map: the drawing
  // alone then.
  if (session.map.ready)
    show_material_map(session.preview, session.map, session.start.drawing, session.options.layers);
  else
    repaint_at_fit(session.preview, session.start.drawing, session.options.layers);
  draw_lead_ins(session.preview, session.assignment.Ord_dat, lead_ins_shown_as_cut(session));
  draw_traverses(session.preview, session.assignment.Ord_dat);
}

}  // namespace

Status add_edit(Session& session, const Edit& edit) {
  if (!session.makeNC_visible) return Error{"there is nothing to edit before アプローチ自動割付"};
  const Assignment& automatic = session.automatic_kept ? session.automatic : session.assignment;
  const std::string refusal = edit_refusal(automatic, edit);
  if (!refusal.empty()) return Error{refusal};
  if (!session.automatic_kept) {
    session.automatic = session.assignment;
    session.automatic_kept = true;
  }
  session.edits.push_back(edit);
  apply_session_edits(session);
  measure_offered_job(session);
  return ok_status();
}

bool undo_edit(Session& session) {
  if (session.edits.empty() || !session.automatic_kept) return false;
  session.edits.pop_back();
  apply_session_edits(session);
  measure_offered_job(session);
  return true;
}

Result<Edit> edit_at(const Session& session, EditKind kind, double x, double y, double tolerance, double to_x,
                     double to_y) {
  const Assignment& automatic = session.automatic_kept ? session.automatic : session.assignment;
  const auto hit = contour_near(automatic, session.start.drawing, x, y, tolerance);
  if (!hit) return Error{"no contour passes within " + double_text(tolerance) + " of the point"};
  Edit edit{kind, hit->record, hit->element, hit->x, hit->y, 0};
  if (kind == EditKind::after) {
    const auto other = contour_near(automatic, session.start.drawing, to_x, to_y, tolerance);
    if (!other) return Error{"no contour passes within " + double_text(tolerance) + " of the second point"};
    edit.follows = other->record;
  }
  const std::string refusal = edit_refusal(automatic, edit);
  if (!refusal.empty()) return Error{refusal};
  return edit;
}

void measure_job(Session& session) {
  const bool arcs_shown = lead_ins_shown_as_cut(session);
  session.summary = job_summary(NcInput{session.folder, session.start.drawing, session.settings,
                                        session.assignment, session.options, short_date_today()});
  if (!session.preview_shown || !session.makeNC_visible || !session.summary) return;
  // Arc lead-ins in place of the run's straight ones, or back to straight
  // ones: the picture again; overcuts alone go over it.
  if (arcs_shown || lead_ins_shown_as_cut(session))
    show_painting(session);
  else
    draw_shown_cuts(session.preview, session.summary->shown_cuts);
}

bool lead_ins_shown_as_cut(const Session& session) {
  if (!session.summary) return false;
  const auto& shown = session.summary->shown_cuts;
  return std::any_of(shown.begin(), shown.end(), [](const ShownCut& c) { return !c.lead_in.empty(); });
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

bool programs_are_judged() { return std::getenv("MAKENC_UNCHECKED") == nullptr; }

JudgeOptions judge_options_of(const Session& session) {
  JudgeOptions options;
  options.layers = session.options.layers;
  options.outline_cut = !session.options.skip_outline;
  options.edge = session.every_part_material && session.options.skip_outline;
  options.material_known = !session.assignment.painted_by_hand;
  return options;
}

Result<CheckedProgram> build_checked_program(const Session& session, const std::string& date,
                                             const DrawingGeometry* judged_drawing) {
  const NcInput input{session.folder,     session.start.drawing, session.settings,
                      session.assignment, session.options,       date};
  auto program = build_nc_program(input);
  if (!program) return program.error();
  CheckedProgram checked{std::move(*program), {}, {}};
  if (!programs_are_judged()) return checked;
  const JudgeOptions options = judge_options_of(session);
  auto codes = read_start_codes(session.folder, session.settings);
  const std::string_view text = checked.program.text;
  const auto judge = [&]() -> Result<Judgement> {
    if (!codes) return codes.error();
    if (judged_drawing != nullptr)
      return judge_program(*judged_drawing, session.settings, *codes, text, options);
    return judge_program(session.start.drawing, session.settings, *codes, text, options);
  };
  Result<Judgement> judged = judge();
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
