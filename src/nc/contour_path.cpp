#include "nc/contour_path.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/constants.h"
#include "core/number_text.h"
#include "core/settings_check.h"
#include "core/text.h"
#include "core/warnings.h"
#include "nc/arc_lead_in.h"
#include "nc/overcut.h"

namespace makenc {

namespace {

// The record of one contour in the cut list; its cells stay in the list.
struct ContourRow {
  const Cell &layer, &id, &approach;
  Point A, C;
  bool marking = false;
  std::string kind;
};

ContourRow read_contour_row(const Table& Ord_dat, std::size_t k) {
  auto num = [&](std::size_t c) { return Ord_dat.at(k, c).number(); };
  return {Ord_dat.at(k, 0),
          Ord_dat.at(k, 1),
          Ord_dat.at(k, 2),
          {num(3), num(4)},
          {num(5), num(6)},
          Ord_dat.at(k, 7) == "mark",
          Ord_dat.at(k, 8).text_form()};
}

// Small holes and short elements need other cutting conditions than large
// ones; the rows are tried from the smallest threshold on.
void choose_condition(ToolpathRun& run, const ContourElement& e) {
  const auto& cond = run.settings.ini_Cond;
  const ConditionLimits& limits = run.limits;
  if (e.kind == "ci") {
    run.cond_code = limits.r_min[0] > e.r ? cond[0].K_Joukn() : cond[1].K_Joukn();
  } else if (e.kind == "li" || e.kind == "cci") {
    if (limits.l_min[0] > e.length)
      run.cond_code = cond[0].K_Joukn();
    else if (limits.l_min[1] > e.length)
      run.cond_code = cond[1].K_Joukn();
    else
      run.cond_code = cond[2].K_Joukn();
  }
}

// A start code ends at its first empty line: the lines after it are kept in
// the file for the operator but not sent.
void put_template_head(NcBlocks& blocks, const TemplateLines& lines) {
  for (const std::string& line : lines) {
    if (line.empty()) return;
    put_line(blocks, line);
  }
}

void put_template_all(NcBlocks& blocks, const TemplateLines& lines) {
  for (const std::string& line : lines)
    if (!line.empty()) put_line(blocks, line);
}

void put_move(ContourWalk& walk, const char* code, Point p, const char* comp) {
  open_block(walk.run.blocks, code);
  put_xy(walk, p);
  add_text(walk.run.blocks, comp);
  close_block(walk.run.blocks);
  travel_line(walk.run.travel, p, std::string_view(code) == "G00");
}

// Inside the contour (D < 0) the tool goes counter-clockwise, outside
// clockwise, so that G41 keeps the kerf on the scrap side; on the contour
// itself the direction of the previous arc stays.
void choose_arc_word(ContourWalk& walk, double D) {
  if (D < 0) walk.run.arc_word = ArcWord::G03;
  if (D > 0) walk.run.arc_word = ArcWord::G02;
  if (walk.run.arc_word == ArcWord::none) walk.no_direction = true;
}

double approach_D(const ContourElement& e, const ContourRow& row) {
  return pt_dist(e.centre.x, e.centre.y, row.A.x, row.A.y) -
         pt_dist(e.centre.x, e.centre.y, row.C.x, row.C.y);
}

std::size_t next_index(std::size_t i, int step, std::size_t m) {
  return step > 0 ? (i + 1) % m : (i + m - 1) % m;
}

// The overcut of a contour cut whole: a joint wins over it.
void run_on_past_contact(ContourWalk& walk, bool joint) {
  ToolTravel& travel = walk.run.travel;
  if (travel.trace == nullptr) return;
  travel.trace = nullptr;
  if (joint) return;
  travel.trace = &walk.run.shown.overcut;
  put_overcut(walk, walk.run.loop, walk.run.settings.shop.overcut);
  travel.trace = nullptr;
}

void loop_on_line(ContourWalk& walk, const ContourRow& row, std::size_t a, bool joint) {
  const ContourElement& e = walk.elements[a];
  const std::int16_t S = walk.run.settings.ini_S_suu;
  const int step = starts_left_turn(row.A, row.C, e.p2, S) ? 1 : -1;
  walk.last = step > 0 ? e.p2 : e.p1;
  put_move(walk, "G01", walk.last, "");
  const std::size_t m = walk.elements.size();
  put_elements(walk, next_index(a, step, m), step, m - 1);
  const double closing = pt_dist(walk.last.x, walk.last.y, row.C.x, row.C.y);
  if (joint && !(walk.run.settings.ini_joint <= closing)) {
    walk.joint_misses = closing;
    joint = false;
  }
  const Point stop = joint ? joint_on_line(walk.last, row.C, walk.run.settings.ini_joint) : row.C;
  put_move(walk, "G01", stop, "");
  run_on_past_contact(walk, joint);
  put_template_head(walk.run.blocks, walk.run.templates.End_cd);
}

void put_arc(ContourWalk& walk, ArcWord word, Point to, Point centre, Point from) {
  open_block(walk.run.blocks, arc_word_text(word));
  put_xy(walk, to);
  put_ij(walk, centre.x - from.x, centre.y - from.y);
  close_block(walk.run.blocks);
  travel_arc(walk.run.travel, word, centre, to);
}

// The angle the closing arc turns through from `from` to `to` about
// `centre`, in the direction its word gives.
double closing_sweep(Point centre, Point from, Point to, ArcWord word) {
  double a = std::atan2(to.y - centre.y, to.x - centre.x) - std::atan2(from.y - centre.y, from.x - centre.x);
  if (word == ArcWord::G02) a = -a;
  return a < 0 ? a + 2 * kPi : a;
}

// The side of the arc the lead-in comes from, as the sign of D: the
// distances from the centre tell it as long as the lead-in is shorter than
// the arc's diameter. A longer one from the centre's side (a slot narrower
// than twice the approach length) passes the centre and starts farther from
// it than the arc, yet it comes from inside.
double approach_side(const ContourElement& e, const ContourRow& row) {
  const double D = approach_D(e, row);
  const double towards_centre =
      (row.A.x - row.C.x) * (e.centre.x - row.C.x) + (row.A.y - row.C.y) * (e.centre.y - row.C.y);
  return D > 0 && towards_centre > 0 ? -D : D;
}

void loop_on_arc(ContourWalk& walk, const ContourRow& row, std::size_t a, bool joint) {
  const ContourElement& e = walk.elements[a];
  const std::int16_t S = walk.run.settings.ini_S_suu;
  const double D = approach_side(e, row);
  choose_arc_word(walk, D);
  const ArcWord word = walk.run.arc_word;
  const double far_angle = word == ArcWord::G03 ? e.ae : e.as;
  const double rad = far_angle * kPi / 180;
  const Point target{round_to_grid(e.centre.x + e.r * std::cos(rad), S),
                     round_to_grid(e.centre.y + e.r * std::sin(rad), S)};
  auto is_target = [&](Point p) {
    return round_to_grid(p.x, S) == target.x && round_to_grid(p.y, S) == target.y;
  };
  int step = 1;
  if (!is_target(e.p2)) {
    if (!is_target(e.p1)) walk.no_direction = true;
    step = -1;
  }
  const Point far = step > 0 ? e.p2 : e.p1;
  const Point near = step > 0 ? e.p1 : e.p2;
  put_arc(walk, word, far, e.centre, row.C);
  walk.last = far;
  const std::size_t m = walk.elements.size();
  put_elements(walk, next_index(a, step, m), step, m - 1);
  const double j = walk.run.settings.ini_joint;
  const double sweep = closing_sweep(e.centre, near, row.C, word);
  // The stop lies atan(j / r) back from C: a closing arc of a quarter turn
  // or more has room for any joint.
  if (joint && D != 0 && sweep < kPi / 2 && !(j <= e.r * std::tan(sweep))) {
    walk.joint_misses = e.r * std::tan(sweep);
    joint = false;
  }
  const Point stop = joint ? joint_on_arc(e.centre, e.r, row.C, D, j) : row.C;
  // The closing move runs along the approach arc itself, whatever the
  // elements between turned the current word into.
  walk.run.arc_word = word;
  put_arc(walk, word, stop, e.centre, near);
  run_on_past_contact(walk, joint);
  put_template_all(walk.run.blocks, walk.run.templates.End_cd);
}

void full_circle(ContourWalk& walk, const ContourRow& row, const ContourElement& e, bool joint) {
  choose_arc_word(walk, approach_D(e, row));
  open_block(walk.run.blocks, arc_word_text(walk.run.arc_word));
  Point stop = walk.run.travel.at;  // without X and Y words: the whole circle
  if (joint) {
    stop = joint_on_circle(e.centre, e.r, walk.run.arc_word, walk.run.settings.ini_joint, row.C);
    put_xy(walk, stop);
  }
  put_ij(walk, e.centre.x - row.C.x, e.centre.y - row.C.y);
  close_block(walk.run.blocks);
  travel_arc(walk.run.travel, walk.run.arc_word, e.centre, stop);
  run_on_past_contact(walk, joint);
  put_template_head(walk.run.blocks, walk.run.templates.End_cd);
}

// The direction the contour's moves leave the contact point in, as they
// will choose it; nothing where it cannot be told.
std::optional<Point> cutting_heading(const ContourRow& row, const ContourElement& e, std::int16_t S) {
  const Point C = row.C;
  if (row.kind == "loop" && e.kind == "li") {
    const Point far = starts_left_turn(row.A, C, e.p2, S) ? e.p2 : e.p1;
    const double len = std::hypot(far.x - C.x, far.y - C.y);
    if (!(len > 0)) return std::nullopt;
    return Point{(far.x - C.x) / len, (far.y - C.y) / len};
  }
  double D = 0;
  if (row.kind == "circle")
    D = approach_D(e, row);
  else if (row.kind == "loop" && e.kind == "cci")
    D = approach_side(e, row);
  const double r = std::hypot(C.x - e.centre.x, C.y - e.centre.y);
  if (D == 0 || !(r > 0)) return std::nullopt;
  // Counter-clockwise inside (D < 0), clockwise outside.
  const double turn = D < 0 ? 1 : -1;
  return Point{-turn * (C.y - e.centre.y) / r, turn * (C.x - e.centre.x) / r};
}

// An arc lead-in smaller than a tenth of the approach length leaves no
// mark worth the block: that contour keeps the straight lead-in.
constexpr double kLeastArcShare = 0.1;

// The lead-in with cutter compensation. With arc lead-ins every lead-in is
// two moves, so that the machine and its checks find it alike on every
// contour: compensation on along a straight move, then the arc, or where no
// arc fits (markings, a narrow hole, a small circle) the rest of the
// straight lead-in.
void put_lead_in(ContourWalk& walk, const ContourRow& row, const ContourElement& e) {
  const Settings& settings = walk.run.settings;
  if (settings.shop.lead_in != LeadInShape::arc) {
    put_move(walk, "G01", row.C, "G41");
    return;
  }
  std::optional<ArcLeadIn> arc;
  if (!row.marking) {
    const std::optional<Point> heading = cutting_heading(row, e, settings.ini_S_suu);
    const double approach = settings.approach();
    if (heading)
      arc = fit_arc_lead_in(row.A, row.C, *heading, lead_in_radius_or_default(settings.shop, approach),
                            kLeastArcShare * approach, walk.run.drawn);
  }
  ToolTravel& travel = walk.run.travel;
  // A marking shows no approach of its own.
  travel.trace = row.marking ? nullptr : &walk.run.shown.lead_in;
  if (arc) {
    put_move(walk, "G01", arc->start, "G41");
    put_arc(walk, ArcWord::G03, row.C, arc->centre, arc->start);
  } else {
    put_move(walk, "G01", {(row.A.x + row.C.x) / 2, (row.A.y + row.C.y) / 2}, "G41");
    put_move(walk, "G01", row.C, "");
  }
  travel.trace = nullptr;
}

// The contour's share of the job: cut or marked, pierced, and its feed.
void count_contour(JobSummary& job, const ContourRow& row, double feed, const std::string& code) {
  if (row.marking) {
    ++job.contours_marked;
    job.marking_length += feed;
    return;
  }
  ++job.contours_cut;
  job.cut_length += feed;
  auto& by_code = job.cut_by_condition;
  auto same =
      std::find_if(by_code.begin(), by_code.end(), [&](const auto& entry) { return entry.first == code; });
  if (same == by_code.end())
    by_code.emplace_back(code, feed);
  else
    same->second += feed;
  if (row.kind == "loop" || row.kind == "circle") ++job.pierces;
}

std::string contour_name(const ContourRow& row) {
  return contour_reference(row.layer.text_form(), row.id.text_form());
}

// The moves and end code of the contour after its lead-in.
Status put_moves(ContourWalk& walk, const ContourRow& row, std::size_t a, bool Is_outer) {
  const ContourElement& e = walk.elements[a];
  const ToolpathRun& run = walk.run;
  JointQuestion q{run.joints, Is_outer, e.kind == "ci", e.r, e.length};
  const bool joint = leaves_joint(q, run.settings, run.limits.r_min[2], run.limits.l_min[2]);
  if (row.kind == "circle") {
    full_circle(walk, row, e, joint);
  } else if (row.kind == "loop" && e.kind == "li") {
    loop_on_line(walk, row, a, joint);
  } else if (row.kind == "loop" && e.kind == "cci") {
    loop_on_arc(walk, row, a, joint);
  } else if (row.kind == "line") {
    put_elements(walk, 0, 1, walk.elements.size());
    put_template_all(walk.run.blocks, run.templates.End_cd);
  } else if (row.kind == "pt") {
    put_template_head(walk.run.blocks, run.templates.End_cd);
  } else {
    return Error{contour_name(row) + ": a contour of kind \"" + row.kind + "\" entered on \"" + e.kind +
                 "\" cannot be cut"};
  }
  return ok_status();
}

}  // namespace

Status put_contour(ToolpathRun& run, const Table& Ord_dat, std::size_t k,
                   const std::vector<ContourElement>& elements, bool Is_outer) {
  const ContourRow row = read_contour_row(Ord_dat, k);
  std::size_t a = 0;
  while (a < elements.size() && !same_number(elements[a].number, row.approach)) ++a;
  if (a == elements.size()) return ok_status();
  const std::size_t first_block = run.blocks.NC_blk.size();
  const ToolTravel travel_before = run.travel;
  choose_condition(run, elements[a]);
  ContourWalk walk{run, elements, row.A, false, false, std::nullopt};
  put_move(walk, "G00", row.A, "G40");
  put_template_head(run.blocks, row.marking ? run.templates.Sta_mark : run.templates.Sta_cut);
  if (row.marking) run.cond_code = run.settings.ini_M_Joukn;
  put_line(run.blocks, run.cond_code);
  run.shown = ShownCut{k, {}, {}};
  if (row.kind == "loop" || row.kind == "circle") {
    put_lead_in(walk, row, elements[a]);
    if (!row.marking && run.settings.shop.overcut > 0) {
      run.loop.clear();
      run.travel.trace = &run.loop;
    }
  }
  Status done = put_moves(walk, row, a, Is_outer);
  if (done.ok() && walk.bad_number)
    done = Error{contour_name(row) +
                 ": a coordinate is not a finite number "
                 "(check the rounding factor, the joint length and the contour's geometry)"};
  if (done.ok() && walk.no_direction)
    done = Error{contour_name(row) +
                 ": the direction of an arc cannot be decided "
                 "(the approach starts on the arc, or the arc's ends do not match its angles)"};
  run.travel.trace = nullptr;
  if (!done.ok()) {
    truncate_blocks(run.blocks, first_block);
    run.travel = travel_before;
    return done;
  }
  count_contour(run.job, row, run.travel.feed - travel_before.feed, run.cond_code);
  if (!run.shown.lead_in.empty() || !run.shown.overcut.empty())
    run.job.shown_cuts.push_back(std::move(run.shown));
  run.job.rapid_length = run.travel.rapid;
  if (walk.joint_misses)
    run.warnings.push_back(
        {contour_name(row) + ": the joint length \"" +
         cp932_to_utf8(excerpt(joint_as_typed(run.settings), kExcerptBytes)) +
         "\" of Zemlak/Bin/set.ini line 8 does not fit on the closing move, which has room "
         "for " +
         double_text(*walk.joint_misses) + ": cut whole, without a joint"});
  return done;
}

}  // namespace makenc
