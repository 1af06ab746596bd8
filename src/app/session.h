// Everything one run of the program holds, from start-up to the end: the
// settings, the drawing, the preview with its material map, the check boxes,
// the assignment and whether NC generation is available. The window and the
// command line drive the same session through these functions.
#pragma once

#include <filesystem>
#include <string>

#include "assign/assignment.h"
#include "assign/edits.h"
#include "core/error.h"
#include "core/settings.h"
#include "import/startup.h"
#include "judge/nc_judge.h"
#include "nc/hand_back.h"
#include "preview/material_map.h"
#include "preview/preview.h"

namespace makenc {

struct Session {
  std::filesystem::path folder;
  Settings settings;
  StartUp start;
  Preview preview;
  // Which regions are material.
  MaterialMap map;
  NcOptions options;
  // "全部品を材料": every part of a nested sheet is material.
  bool every_part_material = false;
  // The last assignment run with the operator's edits applied: what the
  // preview shows and NC generation cuts.
  Assignment assignment;
  // The operator's edits in the order made, and the run's own result they
  // apply to, kept once the first edit is made.
  std::vector<Edit> edits;
  Assignment automatic;
  bool automatic_kept = false;
  // What the program of the last assignment run asks of the machine, or why
  // NC generation would refuse it (set by measure_job).
  Result<JobSummary> summary = JobSummary{};
  // The button "makeNC": hidden until an assignment run completes.
  bool makeNC_visible = false;
  // Whether anybody looks at the preview after an assignment run: not a
  // batch run that saves no picture of it.
  bool preview_shown = true;
  // Why "option.ini" was refused at start-up, when the window took every
  // option off instead; empty when it was read.
  std::string options_refused;
};

// What start-up does with an "option.ini" it cannot take: a run without a
// window stops before anything is written; the window tells the user and
// goes on with every option off.
enum class BadOptions { refuse, turn_off };

// Start-up in the host folder with the shop's options; ticks the layer box
// of every layer that holds entities. The preview is not drawn until a size
// is given.
Result<Session> open_session(const std::filesystem::path& folder, BadOptions bad = BadOptions::refuse);

// The full redraw at the given picture size (the window's resize, a layer
// box, the redraw button).
void redraw(Session& session, int width, int height);

// The preview sized and fitted with nothing drawn, for a run that shows no
// picture of it and paints no material: an assignment run draws what it
// decides on.
void fit_unshown_preview(Session& session, int width, int height);

// The button "auto".
void run_assignment(Session& session);

// The job summary of the last assignment run, for the status bar after
// "auto" or a report: what its program would ask of the machine. It builds
// the program's body once, so a run that writes the program anyway takes
// the summary from the program written.
void measure_job(Session& session);

// Whether the program on offer draws the lead-ins of its cut contours itself
// (arc lead-ins: each as the machine cuts it), so that the run's straight
// ones are not shown under them.
bool lead_ins_shown_as_cut(const Session& session);

// The job summary measured again while the program of an assignment run is
// on offer ("makeNC" shown), after a box or the machining conditions
// changed what NC generation reads; nothing before a run.
void measure_offered_job(Session& session);

// An edit of the last assignment run, applied at once (the preview, the
// order and the job summary follow); a refused edit says why and changes
// nothing. Nothing to edit before a run.
Status add_edit(Session& session, const Edit& edit);

// Drops the last edit; false when there was none.
bool undo_edit(Session& session);

// The edit of the given kind on the contour nearest (x, y) (drawing units
// after translation) within `tolerance`, or why there is none. `to` is the
// point naming the contour an "after" edit follows.
Result<Edit> edit_at(const Session& session, EditKind kind, double x, double y, double tolerance,
                     double to_x = 0, double to_y = 0);

// The button "R_drew": hide "makeNC" and redraw.
void reset_assignment(Session& session);

// Mouse in the preview (x, y in its pixels): left paints material, right
// clears it and hides "makeNC".
void left_click(Session& session, double x, double y);
void right_click(Session& session);

// The same at a point of the drawing (drawing units after translation): the
// region of the material map around it becomes material, or every painting
// is cleared.
void paint_at(Session& session, double x, double y);
void clear_painting_at(Session& session, double x, double y);

// The program of the last assignment run, built and judged against the
// drawing, not yet written.
struct CheckedProgram {
  NcProgram program;
  Judgement judgement;
  // Why the program could not be judged; empty when it was.
  std::string unjudged;
};

// Builds the program and judges it: material by containment (every part
// with "全部品を材料", the outline then the sheet's edge with
// "外形線出力なし"), or, where the run took the material painted by hand,
// only what does not depend on it. The drawing as the judge sees it may be
// given, made from the session's drawing with judge_options_of(session).
Result<CheckedProgram> build_checked_program(const Session& session, const std::string& date,
                                             const DrawingGeometry* judged_drawing = nullptr);

// Whether a built program is judged: always, but where a measurement of the
// run alone asks for it to be left out (MAKENC_UNCHECKED set).
bool programs_are_judged();

// How the session's program is judged: its layers and outline, and whether
// the material is known by containment.
JudgeOptions judge_options_of(const Session& session);

// Writes the program and hands the interchange file back; the completion
// carries one line per fault.
Result<NcWritten> write_checked_program(Session& session, const CheckedProgram& checked);

// The button "makeNC": builds, judges and writes the NC program and hands
// the interchange file back, with the date given to name an unnamed
// drawing's program. On success the caller ends the program.
Result<NcWritten> make_nc(Session& session, const std::string& date = short_date_today());

}  // namespace makenc
