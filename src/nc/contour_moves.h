// The pieces a contour's blocks are made of: its elements read from the
// layer table, the state carried from contour to contour and along one
// contour, and the moves along the elements.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/cell.h"
#include "core/settings.h"
#include "core/table.h"
#include "core/warnings.h"
#include "geometry/drawn_elements.h"
#include "nc/joints.h"
#include "nc/nc_blocks.h"

namespace makenc {

struct NcTemplates {
  TemplateLines Sta_cut, End_cd, Sta_mark;
};

// One entity of a contour, read from its layer table row.
struct ContourElement {
  std::string kind;  // "li", "cci", "ci", ...
  Point p1, p2;      // end points in chain order
  Point centre;
  double r = 0;
  double as = 0, ae = 0;  // arc angles in degrees, counter-clockwise from as to ae
  double length = 0;
  Cell number;  // position in the contour
};

ContourElement read_element(const Table& table, std::size_t row);

// Contour ids and element numbers meet as numbers when both read as numbers
// (a record may hold 3 where the table holds the text 3), else as texts.
bool same_number(const Cell& a, const Cell& b);
// A number cell, or a text that is wholly a number.
bool cell_as_number(const Cell& c, double& out);

// What a job asks of the machine, in drawing units along the moves the
// program makes: a contour is cut or marked as its start code says; its
// feed moves (lead-in, contour, closing move up to a joint) count to the
// cut or the marking length; a cutting contour with a lead-in is pierced
// (a marker does not pierce); the rapids are the "G00" moves between
// contours, from the program's start at the drawing's origin ("G92 X0 Y0"
// of the header) to the first approach and from where each contour ends to
// the next approach.
// A feed move as the machine makes it: straight (word none) or an arc
// about `centre` in the direction of `word`; an arc that ends where it
// starts is a whole circle.
struct PathPiece {
  Point from, to, centre;
  ArcWord word = ArcWord::none;
  double length() const;
};

// The moves a contour's program makes besides its straight lead-in and its
// elements once round: the lead-in as cut (with arc lead-ins every lead-in,
// the arc or the straight line the contour kept) and the overcut, for the
// check drawing and the preview. `row` is the contour's row of the cut list.
struct ShownCut {
  std::size_t row = 0;
  std::vector<PathPiece> lead_in, overcut;
};

struct JobSummary {
  std::int64_t contours_cut = 0, contours_marked = 0, pierces = 0;
  double cut_length = 0, marking_length = 0, rapid_length = 0;
  // The cut length by condition code, in the order the codes first occur.
  std::vector<std::pair<std::string, double>> cut_by_condition;
  // The job's time in seconds, when a feed is given for every condition
  // code, marking and rapid move the program has.
  std::optional<double> time_s;
  // The contours' lead-ins and overcuts as cut, when the shop's options
  // ask for either; in the program's order.
  std::vector<ShownCut> shown_cuts;
};

// Where the tool stands and how far it has gone, on the true geometry
// (unrounded): lines straight, arcs by the angle they turn through in
// their direction. The feed moves go to `trace` too while it is set.
struct ToolTravel {
  Point at{0, 0};
  double rapid = 0, feed = 0;
  std::vector<PathPiece>* trace = nullptr;
};

// The radius and length thresholds of the three condition rows as numbers,
// read once for a program rather than at every contour.
struct ConditionLimits {
  std::array<double, 3> r_min{}, l_min{};
};
ConditionLimits condition_limits(const Settings& settings);

// What carries over from one contour to the next within one program.
struct ToolpathRun {
  const Settings& settings;
  const NcTemplates& templates;
  bool joints = false;  // "ジョイントあり" ticked
  NcBlocks& blocks;
  std::string cond_code;             // kept for contours whose element kind picks none
  ArcWord arc_word = ArcWord::none;  // kept from one arc to the next
  // Contours cut otherwise than asked: a joint with no room is left out.
  Warnings warnings{};
  ToolTravel travel{};
  JobSummary job{};
  ConditionLimits limits = condition_limits(settings);
  // The drawing's elements, when arc lead-ins are asked for: an arc that
  // meets one is made smaller or left out.
  const DrawnElements* drawn = nullptr;
  // The feed moves of the contour being cut after its lead-in, when it may
  // run on past its contact point.
  std::vector<PathPiece> loop{};
  // The lead-in and overcut of the contour being cut, kept when the
  // options make them differ from the plain program.
  ShownCut shown{};
};

// The traversal of one contour.
struct ContourWalk {
  ToolpathRun& run;
  const std::vector<ContourElement>& elements;
  Point last;                 // the far end last reached, unrounded
  bool bad_number = false;    // a word had no text
  bool no_direction = false;  // no arc word could be chosen
  // A joint longer than the closing move has room for would stop behind
  // the move's start and run back over the cut: the contour is cut whole,
  // and this is the longest joint that would have fitted.
  std::optional<double> joint_misses;
};

// The X and Y words of p, and the I and J words of an offset (each left out
// when it rounds to 0), appended to the open block; a value without text
// marks the walk bad.
void put_xy(ContourWalk& walk, Point p);
void put_ij(ContourWalk& walk, double di, double dj);

// The tool's moves: a straight one (rapid or feed) and an arc about
// `centre` in the direction of `word`; an arc that ends where it starts is
// a whole circle, as the machine cuts it.
void travel_line(ToolTravel& travel, Point to, bool rapid);
void travel_arc(ToolTravel& travel, ArcWord word, Point centre, Point to);

// The G word of an arc direction; "" for none.
const char* arc_word_text(ArcWord word);

// One block per element for `count` elements from `start`, moving by `step`
// (+1 or -1) with wrap-around.
void put_elements(ContourWalk& walk, std::size_t start, int step, std::size_t count);

// The direction test of a loop entered on a line: true when going on
// towards P2 turns left from the approach A -> C, which with G41 keeps the
// kerf on the approach side.
bool starts_left_turn(Point A, Point C, Point P2, std::int16_t S);

}  // namespace makenc
