// Judges an NC program against the drawing it was made for, by exact
// geometry: what the machine would cut, not what the cut list meant. Each
// cut of the program is matched to the contour of the drawing its moves lie
// on; then, per cut:
//
//   lead_in_in_material   a cut's lead-in starts (pierces) in material
//   kerf_in_material      the side G41 (left) or G42 (right) puts the kerf
//                         on is material somewhere along a closed cutting
//                         contour
//   closed_cut_open       a closed cutting contour is cut without a lead-in
//                         carrying G41/G42, or the cut stops short of where
//                         it met the contour by more than a joint
//   cut_before_enclosed   a closed cutting contour is cut before a contour
//                         inside it is cut or marked: the freed part drops
//   lead_in_crosses       the straight lead-in meets another contour, or its
//                         own before the contact point
//   not_cut               a cutting contour (colour code 2) is never cut
//   off_contour           a cut matches no contour, or leaves the one it cuts
//
// Material is where an odd number of closed cutting contours enclose a point;
// on a nested sheet run without its outline the outline is the sheet's edge
// and is not counted. Where the user painted the material by hand the first
// two are not judged. A joint the settings allow is no gap.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/drawing.h"
#include "core/error.h"
#include "core/settings.h"
#include "geometry/drawing_geometry.h"
#include "judge/nc_path.h"

namespace makenc {

enum class FaultKind {
  lead_in_in_material,
  kerf_in_material,
  closed_cut_open,
  cut_before_enclosed,
  lead_in_crosses,
  not_cut,
  off_contour
};
inline constexpr std::array<FaultKind, 7> kFaultKinds{
    FaultKind::lead_in_in_material, FaultKind::kerf_in_material, FaultKind::closed_cut_open,
    FaultKind::cut_before_enclosed, FaultKind::lead_in_crosses,  FaultKind::not_cut,
    FaultKind::off_contour};

const char* fault_name(FaultKind kind);

struct Fault {
  FaultKind kind = FaultKind::not_cut;
  // The cut's place in the program's order, from 1 as "順番表示" numbers the
  // contours; 0 for a contour never cut.
  std::size_t cut = 0;
  int layer = -1;       // -1 for a cut that matches no contour
  std::string contour;  // the contour number as the layer table holds it
  Xy at;                // where it shows: the pierce, the sample, the end of the cut
  Xy contact;           // the cut's contact point; for a contour never cut its first point
  std::string detail;   // what is wrong, for the shop
};

// "kind lyN contour x y" at `at`, the coordinates to three places ("-" for
// no layer and contour).
std::string fault_line(const Fault& fault);

// "cut 12, contour 7 on layer 0 at (812.500, 340.000): the kerf is on the
// part's side", at the contact point in drawing units.
std::string fault_message(const Fault& fault);

struct JudgeOptions {
  bool outline_cut = true;  // the program cuts the outline (a run without --no-outline)
  bool edge = false;        // the outline is a nested sheet's edge, not a plate's outline
  LayerTicks layers{true, true, true, true, true, true};
  // Whether the material is known by containment: not when the user
  // painted it by hand, and then only what does not depend on it is judged
  // (order, closure, crossings, what is not cut or leaves its contour).
  bool material_known = true;
  // How many threads match and judge the cuts: 0 for as many as the
  // program's size is worth (two from a few thousand cuts).
  std::size_t threads = 0;
  // The kerf and the pierce asked of the whole drawing at every sample,
  // never told from what one look along a contour standing alone says of
  // its sides: slower, and the same faults.
  bool every_sample = false;
  // The drawing as the host wrote it, when the run's hand-back has taken
  // its place in the folder; empty for the folder's JWC_TEMP.TXT.
  std::filesystem::path drawing_file;
};

// The options a run's command line gives: --no-outline leaves the outline
// uncut, and with --nested makes it the sheet's edge; --layers ticks layers;
// --paint takes the material from the painting.
JudgeOptions judge_options_of(const std::vector<std::string>& run_args);

struct Judgement {
  std::vector<Fault> faults;
  std::size_t cuts = 0, marks = 0;  // contours of the program
  std::size_t unmatched = 0;        // cuts and markings that meet no contour
  std::size_t closed_contours = 0;  // of the drawing, on the ticked layers
  std::size_t count(FaultKind kind) const;
  // One line per fault, then "kind count" for every kind.
  std::string report() const;
  // "kind count" for every kind, separated by commas.
  std::string counts_text() const;
};

// The drawing's contours as the judge sees them (its layer tables after
// start-up): the ticked layers, closed within the tolerance, the outline
// counted as material or not as the options say. Made once, it may be made
// while the run goes on: the judge only reads it.
DrawingGeometry judge_geometry(const Drawing& drawing, const Settings& settings, const JudgeOptions& options);

// Judges the program's lines, or its whole text, against the drawing (its
// layer tables after start-up, or its contours made by judge_geometry) with
// the host folder's codes. A program the reader cannot follow is the error,
// naming the line.
Result<Judgement> judge_program(const DrawingGeometry& geometry, const Settings& settings,
                                const StartCodes& codes, std::span<const std::string_view> program,
                                const JudgeOptions& options);
Result<Judgement> judge_program(const DrawingGeometry& geometry, const Settings& settings,
                                const StartCodes& codes, std::string_view program,
                                const JudgeOptions& options);
Result<Judgement> judge_program(const Drawing& drawing, const Settings& settings, const StartCodes& codes,
                                std::span<const std::string_view> program, const JudgeOptions& options);
Result<Judgement> judge_program(const Drawing& drawing, const Settings& settings, const StartCodes& codes,
                                std::string_view program, const JudgeOptions& options);
Result<Judgement> judge_program(const Drawing& drawing, const Settings& settings, const StartCodes& codes,
                                const std::vector<std::string>& program, const JudgeOptions& options);

// The start and end codes of the host folder and the marking condition of
// the settings; every line of the templates and the condition codes.
Result<StartCodes> read_start_codes(const std::filesystem::path& folder, const Settings& settings);

// Whether the judgement says anything of this program: not when the
// drawing holds no closed contour, nor when the program has no cut or most
// of its cuts meet no contour (a program for another drawing).
Status judgement_holds(const Judgement& judgement);

// Reads the host folder's drawing (or options.drawing_file), set.ini, start
// codes and the program, and judges every cut. An error names what could
// not be read, and the line of the program it could not follow.
Result<Judgement> judge_nc_program(const std::filesystem::path& folder, const std::filesystem::path& nc_file,
                                   const JudgeOptions& options);

}  // namespace makenc
