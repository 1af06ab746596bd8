#include "judge/nc_judge.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <future>
#include <limits>
#include <optional>
#include <span>

#include "core/beside.h"
#include "core/constants.h"
#include "core/files.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "core/text.h"
#include "import/startup.h"
#include "judge/nc_path.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

Result<std::vector<std::string>> lines_of(const fs::path& file) {
  auto lines = read_text_lines(file);
  if (!lines) return Error{"cannot read " + display_path(file)};
  return std::move(*lines);
}

// A template as it is sent: up to its first empty line.
std::vector<std::string> sent_part(const std::vector<std::string>& lines) {
  std::vector<std::string> head;
  for (const std::string& line : lines) {
    if (line.empty()) break;
    head.push_back(line);
  }
  return head;
}

// To three places; a value that rounds to nothing has no sign.
std::string number_text(double v) {
  std::string text = fixed_text(v, 3);
  if (text == "-0.000") text.erase(0, 1);
  return text;
}

std::string point_text(Xy p) {
  std::string text(1, '(');
  text.append(number_text(p.x)).append(", ").append(number_text(p.y)).push_back(')');
  return text;
}

constexpr double kTurn = 2 * kPi;

double norm_turn(double a) {
  a = std::fmod(a, kTurn);
  return a < 0 ? a + kTurn : a;
}

// Places along a move, as NcMove::at and NcMove::heading give them, with
// an arc's radius, start angle and sweep worked out once.
class MovePlaces {
 public:
  explicit MovePlaces(const NcMove& m) : m_(m) {
    if (m.turn == 0) return;
    r_ = distance(m.from, m.centre);
    a0_ = std::atan2(m.from.y - m.centre.y, m.from.x - m.centre.x);
    // As NcMove::sweep gives it, from the start angle already known.
    if (distance(m.from, m.to) < 1e-9) {
      sweep_ = m.turn * kTurn;
    } else {
      const double a1 = std::atan2(m.to.y - m.centre.y, m.to.x - m.centre.x);
      sweep_ = m.turn > 0 ? norm_turn(a1 - a0_) : -norm_turn(a0_ - a1);
    }
  }
  // As NcMove::length gives it.
  double length() const { return m_.turn == 0 ? distance(m_.from, m_.to) : r_ * std::fabs(sweep_); }
  Xy at(double t) const {
    if (m_.turn == 0) return m_.at(t);
    const double a = a0_ + t * sweep_;
    return {m_.centre.x + r_ * std::cos(a), m_.centre.y + r_ * std::sin(a)};
  }
  Xy heading(double t) const {
    if (m_.turn == 0) return m_.heading(t);
    const double a = a0_ + t * sweep_;
    return {-m_.turn * std::sin(a), m_.turn * std::cos(a)};
  }

 private:
  const NcMove& m_;
  double r_ = 0, a0_ = 0, sweep_ = 0;
};

class Judge {
 public:
  Judge(const DrawingGeometry& geometry, const Settings& settings, const JudgeOptions& options,
        std::vector<NcCut> cuts)
      : g_(geometry), options_(options), cuts_(std::move(cuts)) {
    grid_ = 1.0 / settings.ini_S_suu;
    tol_ = std::max(settings.tolerance(), 0.0) + 4 * grid_;
    approach_ = settings.approach();
    joint_ = settings.ini_joint;
  }

  Judgement run() {
    Judgement j;
    match_.assign(cuts_.size(), kNone);
    for (const Contour& c : g_.contours()) j.closed_contours += c.closed;
    // The cuts in parts, each matched and judged on a thread of its own;
    // the faults are put together in the order of the cuts as one thread
    // finds them.
    const std::size_t n = cuts_.size();
    const std::size_t parts = options_.threads == 0 ? (n >= kCutsForTwoThreads ? 2 : 1)
                                                    : std::min<std::size_t>(options_.threads, 2);
    std::vector<Work> work(parts);
    const auto first_of = [&](std::size_t part) { return n * part / parts; };
    in_parts(parts, [&](std::size_t part) {
      for (std::size_t k = first_of(part); k < first_of(part + 1); ++k) match(k, work[part]);
      for (std::size_t k = first_of(part); k < first_of(part + 1); ++k) judge_cut(k, work[part]);
    });
    for (std::size_t k = 0; k < n; ++k) {
      (cuts_[k].marking ? j.marks : j.cuts) += 1;
      if (match_[k] == kNone) ++j.unmatched;
    }
    for (const Work& w : work) append(w.matched);
    for (const Work& w : work) append(w.judged);
    judge_order(CutsOf(match_, g_.contours().size()));
    judge_coverage();
    j.faults = std::move(faults_);
    return j;
  }

 private:
  const Contour& contour_of(std::size_t cut) const { return g_.contours()[match_[cut]]; }

  // What one thread keeps of its part of the cuts: the faults it found in
  // matching and in judging them, and room for a cut's contours.
  struct Work {
    std::vector<Fault> matched, judged;
    std::vector<std::size_t> candidates;
  };

  // Each contour's cuts in the program's order: those of contour c are
  // cuts_[start[c] .. start[c + 1]).
  class CutsOf {
   public:
    CutsOf(const std::vector<std::size_t>& match, std::size_t contours) : start_(contours + 1, 0) {
      for (std::size_t c : match)
        if (c != kNone) ++start_[c + 1];
      for (std::size_t c = 0; c < contours; ++c) start_[c + 1] += start_[c];
      cuts_.resize(start_[contours]);
      std::vector<std::size_t> next(start_.begin(), start_.end() - 1);
      for (std::size_t k = 0; k < match.size(); ++k)
        if (match[k] != kNone) cuts_[next[match[k]]++] = k;
    }
    std::span<const std::size_t> operator[](std::size_t contour) const {
      return std::span<const std::size_t>(cuts_).subspan(start_[contour],
                                                         start_[contour + 1] - start_[contour]);
    }

   private:
    std::vector<std::size_t> start_, cuts_;
  };

  // Below this many cuts a second thread costs more than it saves.
  static constexpr std::size_t kCutsForTwoThreads = 2000;

  // Runs part 1 beside part 0 when there are two.
  template <typename F>
  static void in_parts(std::size_t parts, F&& f) {
    if (parts == 1) {
      f(std::size_t{0});
      return;
    }
    auto second = start_beside([&f] { f(std::size_t{1}); });
    f(std::size_t{0});
    second.get();
  }

  void append(const std::vector<Fault>& faults) {
    faults_.insert(faults_.end(), faults.begin(), faults.end());
  }

  // A fault of the cut (kNone: of a contour never cut).
  void fault(FaultKind kind, std::size_t cut, std::size_t contour, Xy at, std::string detail) {
    faults_.push_back(make_fault(kind, cut, contour, at, std::move(detail)));
  }
  void fault(std::vector<Fault>& into, FaultKind kind, std::size_t cut, std::size_t contour, Xy at,
             std::string detail) const {
    into.push_back(make_fault(kind, cut, contour, at, std::move(detail)));
  }
  Fault make_fault(FaultKind kind, std::size_t cut, std::size_t contour, Xy at, std::string detail) const {
    Fault f;
    f.kind = kind;
    f.cut = cut == kNone ? 0 : cut + 1;
    f.at = at;
    f.contact = cut == kNone ? at : cuts_[cut].contact;
    f.detail = std::move(detail);
    if (contour != kNone) {
      f.layer = g_.contours()[contour].layer;
      f.contour = g_.contours()[contour].id;
    }
    return f;
  }

  std::string named(std::size_t contour) const {
    const Contour& c = g_.contours()[contour];
    return "contour " + c.id + " on layer " + std::to_string(c.layer);
  }

  // The place in the contour's pieces of one that the point lies within the
  // tolerance of, or kNone; looked for from `hint` on, round the contour,
  // where the last point was found: a cut's points follow its contour. A
  // piece whose box lies twice as far is not measured.
  std::size_t piece_at(std::size_t contour, Xy p, std::size_t& hint) const {
    const double reach = 2 * tol_;
    const PieceRange pieces = g_.contours()[contour].pieces;
    const std::size_t n = pieces.size();
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t at = hint + i < n ? hint + i : hint + i - n;
      const Piece& piece = g_.pieces()[pieces[at]];
      if (p.x < piece.min_x - reach || p.x > piece.max_x + reach || p.y < piece.min_y - reach ||
          p.y > piece.max_y + reach)
        continue;
      if (piece.distance_to(p) <= tol_) {
        hint = at;
        return at;
      }
    }
    return kNone;
  }

  // Whether every point of the move lies within the tolerance of the piece
  // its end lies on: a straight move whose start lies on the same line, an
  // arc whose circle is the whole circle's within the tolerance (how far
  // their centres and radii differ, together).
  bool runs_along(const Piece& piece, const NcMove& m) const {
    if (m.turn == 0) return piece.kind == Piece::Kind::line && piece.distance_to(m.from) <= tol_;
    if (piece.kind != Piece::Kind::circle) return false;
    return std::fabs(distance(m.from, m.centre) - piece.r) + distance(m.centre, piece.centre) <= tol_;
  }

  // The contour with the most of the cut's points on it (the contact point,
  // and a quarter, half and three quarters of the way along each move and
  // its end); it must hold the contact point.
  void match(std::size_t k, Work& work) {
    const NcCut& cut = cuts_[k];
    const Xy c = cut.contact;
    std::vector<std::size_t>& candidates = work.candidates;
    candidates.clear();
    g_.visit(c.x - tol_, c.y - tol_, c.x + tol_, c.y + tol_, [&](std::size_t piece) {
      const Piece& p = g_.pieces()[piece];
      if (p.distance_to(c) <= tol_ &&
          std::find(candidates.begin(), candidates.end(), p.contour) == candidates.end())
        candidates.push_back(p.contour);
    });
    const std::size_t points = 1 + 4 * cut.moves.size();
    std::size_t best = kNone, best_on = 0;
    Xy first_off = c;
    for (std::size_t contour : candidates) {
      std::size_t on = 0, hint = 0;
      Xy off = c;
      bool found_off = false;
      const auto count = [&](bool is_on, Xy p) {
        if (is_on) {
          ++on;
        } else if (!found_off) {
          off = p;
          found_off = true;
        }
      };
      count(piece_at(contour, c, hint) != kNone, c);
      for (const NcMove& m : cut.moves) {
        const std::size_t end = piece_at(contour, m.to, hint);
        if (end != kNone && runs_along(g_.pieces()[g_.contours()[contour].pieces[end]], m)) {
          on += 4;
          continue;
        }
        const MovePlaces places(m);
        for (double t : {0.25, 0.5, 0.75}) {
          const Xy p = places.at(t);
          count(piece_at(contour, p, hint) != kNone, p);
        }
        count(end != kNone, m.to);
      }
      const bool better = best == kNone || on > best_on ||
                          (on == best_on && g_.contours()[contour].cutting != cut.marking &&
                           g_.contours()[best].cutting == cut.marking);
      if (better) {
        best = contour;
        best_on = on;
        first_off = off;
      }
    }
    match_[k] = best;
    if (best == kNone) {
      fault(work.matched, FaultKind::off_contour, k, kNone, c, "the cut meets no contour of the drawing");
    } else if (best_on < points) {
      fault(work.matched, FaultKind::off_contour, k, best, first_off,
            "the cut leaves its contour at " + point_text(first_off));
    }
  }

  // The room beside the path at a point on it: the nearest piece the path
  // does not run along; none when another closed contour runs along it
  // there (an edge two parts drawn side by side share has material on both
  // sides, and whichever side the kerf takes, the neighbour is cut along it
  // too). One visit of the pieces near the point answers both.
  // A piece whose box lies farther than the room found so far (by more than
  // the tolerance) is not measured: it cannot make the room smaller.
  std::optional<double> clearance(Xy foot, std::size_t own) const {
    const double reach = approach_ / 10, look = std::max(reach, tol_);
    double room = std::numeric_limits<double>::max();
    bool shared = false;
    g_.visit(foot.x - look, foot.y - look, foot.x + look, foot.y + look, [&](std::size_t piece) {
      if (shared) return;
      const Piece& p = g_.pieces()[piece];
      const auto meets = [&](double r) {
        return !(p.max_x < foot.x - r || p.min_x > foot.x + r || p.max_y < foot.y - r ||
                 p.min_y > foot.y + r);
      };
      const bool near = meets(tol_);
      const double beyond =
          std::max({p.min_x - foot.x, foot.x - p.max_x, p.min_y - foot.y, foot.y - p.max_y});
      const bool measured = meets(reach) && !(beyond > room + tol_);
      if (!near && !measured) return;
      const double d = p.distance_to(foot);
      if (d <= tol_) {
        shared = near && p.contour != own && g_.contours()[p.contour].closed;
      } else if (measured) {
        room = std::min(room, d);
      }
    });
    if (shared) return std::nullopt;
    return room;
  }

  // What one look along a closed contour tells of both its sides: whether
  // it stands alone (no piece of another counted contour comes within
  // twice the tolerance of its pieces, so that the
  // others enclose every point beside it alike), whether those others make
  // the ground around it material, and whether its pieces run
  // counter-clockwise in chain order.
  struct Sides {
    bool alone = false, others_material = false, counter_clockwise = false;
  };

  Sides sides_of(std::size_t own) const {
    Sides s;
    const Contour& c = g_.contours()[own];
    const double reach = 2 * tol_;
    bool alone = true;
    double area = 0;
    for (std::size_t k : c.pieces) {
      const Piece& p = g_.pieces()[k];
      area += signed_area(p);
      if (!alone) continue;
      g_.visit(p.min_x - reach, p.min_y - reach, p.max_x + reach, p.max_y + reach, [&](std::size_t other) {
        const std::size_t contour = g_.pieces()[other].contour;
        if (alone && contour != own && g_.counted(contour) && !pieces_apart(p, g_.pieces()[other], reach))
          alone = false;
      });
    }
    s.alone = alone;
    s.counter_clockwise = area > 0;
    // On the contour itself its own part of the count is taken out again.
    const Xy on = g_.pieces()[c.pieces.front()].at(0.5);
    s.others_material = g_.is_material(on) != (g_.counted(own) && g_.encloses(own, on));
    return s;
  }

  // Twice the area a piece sweeps about the origin, taken in chain order.
  static double signed_area(const Piece& p) {
    if (p.kind == Piece::Kind::point) return 0;
    if (p.kind == Piece::Kind::circle) return p.sweep * p.r * p.r;
    const double chord = p.a.x * p.b.y - p.a.y * p.b.x;
    if (p.kind == Piece::Kind::line) return chord;
    const double segment = p.r * p.r * (p.sweep - std::sin(p.sweep));
    return chord + (chain_counter_clockwise(p) ? segment : -segment);
  }

  // Whether an arc runs counter-clockwise from its first end in chain order.
  static bool chain_counter_clockwise(const Piece& p) {
    if (p.kind == Piece::Kind::circle) return true;
    const Xy s{p.centre.x + p.r * std::cos(p.start), p.centre.y + p.r * std::sin(p.start)};
    return distance(p.a, s) <= distance(p.b, s);
  }

  // Whether the pierce lies in material. A straight lead-in that meets
  // nothing runs from the pierce to the contour within one stretch of
  // ground: beside a closed contour standing alone, the ground the others
  // make there, and the contour's own inside or outside.
  bool pierces_material(const NcCut& cut, std::size_t own, bool crosses, const Sides& sides) const {
    if (crosses || !sides.alone || cut.lead.size() > 1) return g_.is_material(cut.start);
    return sides.others_material != (g_.counted(own) && g_.encloses(own, cut.start));
  }

  // Whether the kerf side of a move of a contour standing alone may be
  // material: the side is the inside or the outside by the way the move
  // runs along the piece under its middle, and the ground on each side is
  // known from sides_of. Answers true whenever it cannot tell.
  bool kerf_may_be_in_material(const NcCut& cut, std::size_t own, const Sides& s) const {
    if (!s.alone) return true;
    const bool counted = g_.counted(own);
    const double once = g_.contours()[own].length - tol_;
    double along = 0;
    std::size_t hint = 0;
    for (const NcMove& m : cut.moves) {
      if (along >= once) break;
      const MovePlaces on(m);
      along += on.length();
      if (m.comp == 40 || on.length() < 20 * grid_) continue;
      const Xy mid = on.at(0.5), h = on.heading(0.5);
      const std::size_t at = piece_at(own, mid, hint);
      if (at == kNone) return true;
      const Piece& p = g_.pieces()[g_.contours()[own].pieces[at]];
      Xy along_chain{p.b.x - p.a.x, p.b.y - p.a.y};
      if (p.kind == Piece::Kind::arc || p.kind == Piece::Kind::circle) {
        const double turn = chain_counter_clockwise(p) ? 1 : -1;
        along_chain = {-turn * (mid.y - p.centre.y), turn * (mid.x - p.centre.x)};
      }
      const double forward = h.x * along_chain.x + h.y * along_chain.y;
      if (!(std::fabs(forward) > 1e-9 * std::hypot(along_chain.x, along_chain.y))) return true;
      const bool inside_on_left = (forward > 0) == s.counter_clockwise;
      const bool kerf_inside = (m.comp == 41) == inside_on_left;
      if (s.others_material != (counted && kerf_inside)) return true;
    }
    return false;
  }

  // The first point on the kerf side of the contour's moves that is
  // material, if any.
  bool kerf_in_material(const NcCut& cut, std::size_t own, Xy& where) const {
    // An overcut runs over the contour again: its side is judged once.
    const double once = g_.contours()[own].length - tol_;
    double along = 0;
    for (const NcMove& m : cut.moves) {
      if (along >= once) break;
      const MovePlaces on(m);
      along += on.length();
      if (m.comp == 40 || on.length() < 20 * grid_) continue;
      const bool whole = m.turn != 0 && distance(m.from, m.to) < 1e-9;
      static constexpr double kWhole[] = {0.125, 0.375, 0.625, 0.875}, kPart[] = {0.25, 0.5, 0.75};
      const std::span<const double> places = whole ? std::span<const double>(kWhole) : kPart;
      const double side = m.comp == 41 ? 1 : -1;
      for (double t : places) {
        const Xy foot = on.at(t), h = on.heading(t);
        const std::optional<double> room = clearance(foot, own);
        if (!room) continue;
        // Across an arc's own centre lies its other side.
        const double across = m.turn == 0 ? *room : std::min(*room, distance(m.from, m.centre));
        const double d = std::min(approach_ / 10, 0.45 * across);
        if (d < 10 * grid_) continue;
        const Xy p{foot.x - side * d * h.y, foot.y + side * d * h.x};
        if (g_.is_material(p)) {
          where = p;
          return true;
        }
      }
    }
    return false;
  }

  // Whether the lead-in meets a contour: its own only before the contact
  // point. A lead-in of several moves is followed move by move, an arc by
  // four chords, as NC generation fits it, where anything reaches inside
  // its circle: what does not cannot meet the arc running along it.
  bool lead_in_meets(const NcCut& cut, std::size_t own, std::string& what) const {
    if (cut.lead.size() <= 1) return segment_meets_contour(cut.start, cut.contact, own, true, what);
    for (std::size_t i = 0; i < cut.lead.size(); ++i) {
      const NcMove& m = cut.lead[i];
      const bool last = i + 1 == cut.lead.size();
      if (m.turn == 0) {
        if (segment_meets_contour(m.from, m.to, own, last, what)) return true;
        continue;
      }
      if (!reaches_inside(m)) continue;
      const MovePlaces on(m);
      Xy from = m.from;
      for (int k = 1; k <= 4; ++k) {
        const Xy to = k == 4 ? m.to : on.at(k / 4.0);
        if (segment_meets_contour(from, to, own, last && k == 4, what)) return true;
        from = to;
      }
    }
    return false;
  }

  // Whether a piece reaches inside the arc's circle; the contour it meets
  // touches the circle from outside, a thousandth of the radius is room for
  // the rounding of that touch.
  bool reaches_inside(const NcMove& arc) const {
    const double r = distance(arc.from, arc.centre) * (1 - 1e-3);
    const Xy o = arc.centre;
    bool inside = false;
    g_.visit(o.x - r, o.y - r, o.x + r, o.y + r, [&](std::size_t piece) {
      if (!inside && g_.pieces()[piece].distance_to(o) < r) inside = true;
    });
    return inside;
  }

  // Whether the segment from a to c meets a contour; its own only before c
  // when c is the contact point.
  bool segment_meets_contour(Xy a, Xy c, std::size_t own, bool at_contact, std::string& what) const {
    const double len = distance(a, c);
    bool meets = false;
    g_.visit(std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y),
             [&](std::size_t piece) {
               if (meets) return;
               const Piece& p = g_.pieces()[piece];
               const double t1 = p.contour == own && at_contact ? 1 - 2 * tol_ / std::max(len, 1e-12) : 1;
               if (t1 <= 0 || !segment_meets(a, c, 0, t1, p)) return;
               meets = true;
               what = p.contour == own ? "its own contour" : named(p.contour);
             });
    return meets;
  }

  void judge_cut(std::size_t k, Work& work) const {
    const NcCut& cut = cuts_[k];
    const std::size_t own = match_[k];
    if (cut.marking || own == kNone) return;
    const Contour& c = contour_of(k);
    const bool material = options_.material_known;
    std::string what;
    const bool crosses = cut.lead_in && lead_in_meets(cut, own, what);
    // Not alone: nothing is told from the sides of an open chain.
    const Sides sides = material && c.closed && !options_.every_sample ? sides_of(own) : Sides{};
    if (material && cut.lead_in && pierces_material(cut, own, crosses, sides))
      fault(work.judged, FaultKind::lead_in_in_material, k, own, cut.start,
            "the lead-in pierces the part at " + point_text(cut.start));
    if (crosses)
      fault(work.judged, FaultKind::lead_in_crosses, k, own, cut.start, "the lead-in crosses " + what);
    if (!c.cutting || !c.closed) return;
    Xy where;
    if (material && kerf_may_be_in_material(cut, own, sides) && kerf_in_material(cut, own, where))
      fault(work.judged, FaultKind::kerf_in_material, k, own, where, "the kerf is on the part's side");
    if (!cut.lead_in || cut.lead_comp == 40) {
      fault(work.judged, FaultKind::closed_cut_open, k, own, cut.contact,
            "the closed contour is cut open: no lead-in carries G41 or G42");
      return;
    }
    const Xy end = cut.moves.empty() ? cut.contact : cut.moves.back().to;
    double covered = 0;
    for (const NcMove& m : cut.moves) covered += m.length();
    // A joint stops the closing move short: by the joint length along an
    // axis, a whole number of units on a slant, a little more on a circle.
    const double allowed = (joint_ > 0 ? 1.5 * joint_ + 0.5 : 0) + tol_;
    const double gap = distance(end, cut.contact);
    // An overcut runs on past the contact point along the contour.
    const bool whole = covered >= c.length - tol_;
    if ((gap > allowed && !whole) || covered < c.length - 2 * allowed)
      fault(work.judged, FaultKind::closed_cut_open, k, own, end,
            "the cut ends " + number_text(gap) + " short of its contact point, after " +
                number_text(covered) + " of " + number_text(c.length) + ": the contour is cut open");
  }

  // Points that stand for a contour when asking what encloses it: the
  // middles of its first, middle and last pieces but bridges, or of all of
  // them when it has three or fewer.
  struct StandIns {
    std::array<Xy, 3> points;
    std::size_t count = 0;
  };
  StandIns stand_ins(std::size_t contour) const {
    const Contour& c = g_.contours()[contour];
    std::size_t drawn = 0;
    for (std::size_t k : c.pieces) drawn += !g_.pieces()[k].bridge;
    StandIns s;
    std::size_t n = 0;
    for (std::size_t k : c.pieces) {
      const Piece& p = g_.pieces()[k];
      if (p.bridge) continue;
      if (drawn <= 3 || n == 0 || n == drawn / 2 || n + 1 == drawn) s.points[s.count++] = p.at(0.5);
      ++n;
    }
    return s;
  }

  bool inside(std::size_t inner, std::size_t outer) const {
    const Contour& i = g_.contours()[inner];
    const Contour& o = g_.contours()[outer];
    if (i.min_x < o.min_x || i.max_x > o.max_x || i.min_y < o.min_y || i.max_y > o.max_y) return false;
    const StandIns s = stand_ins(inner);
    for (std::size_t k = 0; k < s.count; ++k)
      if (!g_.encloses(outer, s.points[k])) return false;
    return true;
  }

  // A closed cutting contour cut before one inside it. For each contour cut
  // or marked, the closed cutting contours whose boxes hold one of its
  // points and that are cut before its last cut are asked whether it lies
  // inside them; each such cut is named once, with the first cut after it
  // of a contour inside it.
  void judge_order(const CutsOf& cuts_of) {
    struct Inside {
      std::size_t cut = kNone, contour = kNone;  // the first cut after, and its contour
    };
    std::vector<Inside> first_inside(cuts_.size());
    for (std::size_t inner = 0; inner < g_.contours().size(); ++inner) {
      const std::span<const std::size_t> its = cuts_of[inner];
      if (its.empty()) continue;
      const Xy at = g_.pieces()[g_.contours()[inner].pieces.front()].a;
      g_.visit_closed_cutting(at, [&](std::size_t outer) {
        const std::span<const std::size_t> before = cuts_of[outer];
        if (outer == inner || before.empty() || before.front() > its.back()) return;
        if (g_.contours()[outer].outline && !options_.outline_cut) return;
        if (!inside(inner, outer)) return;
        for (std::size_t j : before) {
          if (j > its.back()) break;
          if (cuts_[j].marking) continue;
          const std::size_t next = *std::upper_bound(its.begin(), its.end(), j);
          if (next < first_inside[j].cut) first_inside[j] = {next, inner};
        }
      });
    }
    for (std::size_t j = 0; j < cuts_.size(); ++j) {
      const Inside& first = first_inside[j];
      if (first.cut == kNone) continue;
      fault(FaultKind::cut_before_enclosed, j, match_[j], cuts_[j].contact,
            "cut before " + named(first.contour) + " inside it (cut " + std::to_string(first.cut + 1) +
                "): what it frees drops first");
    }
  }

  void judge_coverage() {
    std::vector<bool> done(g_.contours().size(), false);
    for (std::size_t k = 0; k < cuts_.size(); ++k)
      if (match_[k] != kNone && (!cuts_[k].marking || g_.contours()[match_[k]].point)) done[match_[k]] = true;
    for (std::size_t c = 0; c < done.size(); ++c) {
      const Contour& contour = g_.contours()[c];
      if (done[c] || !contour.cutting || (contour.outline && !options_.outline_cut)) continue;
      fault(FaultKind::not_cut, kNone, c, g_.pieces()[contour.pieces.front()].a,
            "the cutting contour is never cut");
    }
  }

  const DrawingGeometry& g_;
  JudgeOptions options_;
  std::vector<NcCut> cuts_;
  std::vector<std::size_t> match_;
  std::vector<Fault> faults_;
  double grid_ = 0.001, tol_ = 0.01, approach_ = 5, joint_ = 2;
};

}  // namespace

const char* fault_name(FaultKind kind) {
  switch (kind) {
    case FaultKind::lead_in_in_material: return "lead_in_in_material";
    case FaultKind::kerf_in_material: return "kerf_in_material";
    case FaultKind::closed_cut_open: return "closed_cut_open";
    case FaultKind::cut_before_enclosed: return "cut_before_enclosed";
    case FaultKind::lead_in_crosses: return "lead_in_crosses";
    case FaultKind::not_cut: return "not_cut";
    case FaultKind::off_contour: return "off_contour";
  }
  return "?";
}

std::string fault_line(const Fault& fault) {
  const bool contour = fault.layer >= 0;
  return std::string(fault_name(fault.kind)) + " " + (contour ? "ly" + std::to_string(fault.layer) : "-") +
         " " + (contour ? fault.contour : "-") + " " + number_text(fault.at.x) + " " +
         number_text(fault.at.y);
}

std::string fault_message(const Fault& fault) {
  std::string text;
  if (fault.cut > 0) text = "cut " + std::to_string(fault.cut);
  if (fault.layer >= 0)
    text += (text.empty() ? "" : ", ") + std::string("contour ") + fault.contour + " on layer " +
            std::to_string(fault.layer);
  return text + " at " + point_text(fault.contact) + ": " + fault.detail;
}

std::size_t Judgement::count(FaultKind kind) const {
  return static_cast<std::size_t>(
      std::count_if(faults.begin(), faults.end(), [kind](const Fault& f) { return f.kind == kind; }));
}

std::string Judgement::report() const {
  std::string text;
  for (const Fault& f : faults) text += fault_line(f) + "  (" + f.detail + ")\n";
  for (FaultKind kind : kFaultKinds)
    text += std::string(fault_name(kind)) + " " + std::to_string(count(kind)) + "\n";
  return text;
}

std::string Judgement::counts_text() const {
  std::string text;
  for (FaultKind kind : kFaultKinds)
    text += (text.empty() ? "" : ", ") + std::string(fault_name(kind)) + " " + std::to_string(count(kind));
  return text;
}

JudgeOptions judge_options_of(const std::vector<std::string>& run_args) {
  JudgeOptions options;
  bool nested = false;
  for (std::size_t k = 0; k < run_args.size(); ++k) {
    if (run_args[k] == "--no-outline") options.outline_cut = false;
    if (run_args[k] == "--nested") nested = true;
    if (run_args[k] == "--paint") options.material_known = false;
    if (run_args[k] == "--clear") options.material_known = true;
    if (run_args[k] == "--layers" && k + 1 < run_args.size()) {
      options.layers.fill(false);
      for (char c : run_args[k + 1])
        if (c >= '0' && c < '0' + kLayerCount) options.layers[static_cast<std::size_t>(c - '0')] = true;
    }
  }
  options.edge = nested && !options.outline_cut;
  return options;
}

Result<StartCodes> read_start_codes(const fs::path& folder, const Settings& settings) {
  StartCodes codes;
  auto cut = lines_of(host_path(folder, "Zemlak\\Bin\\sta_cut.ini"));
  if (!cut) return cut.error();
  auto mark = lines_of(host_path(folder, "Zemlak\\Bin\\sta_mark.ini"));
  if (!mark) return mark.error();
  auto end = lines_of(host_path(folder, "Zemlak\\Bin\\end.ini"));
  if (!end) return end.error();
  codes.cut = sent_part(*cut);
  codes.mark = sent_part(*mark);
  codes.end = sent_part(*end);
  codes.mark_condition = settings.ini_M_Joukn;
  for (const auto* lines : {&codes.cut, &codes.mark, &codes.end})
    codes.template_lines.insert(codes.template_lines.end(), lines->begin(), lines->end());
  for (const char* name : {"head.ini", "foot.ini"}) {
    auto lines = lines_of(host_path(folder, std::string("Zemlak\\Bin\\") + name));
    if (lines) codes.template_lines.insert(codes.template_lines.end(), lines->begin(), lines->end());
  }
  codes.template_lines.push_back(settings.ini_M_Joukn);
  return codes;
}

Result<Judgement> judge_program(const Drawing& drawing, const Settings& settings, const StartCodes& codes,
                                const std::vector<std::string>& program, const JudgeOptions& options) {
  const std::vector<std::string_view> lines(program.begin(), program.end());
  return judge_program(drawing, settings, codes, std::span<const std::string_view>(lines), options);
}

DrawingGeometry judge_geometry(const Drawing& drawing, const Settings& settings,
                               const JudgeOptions& options) {
  const double grid = 1.0 / settings.ini_S_suu;
  const double closure = std::max(settings.tolerance(), 0.0) + grid;
  DrawingGeometry geometry(drawing, options.layers, closure);
  geometry.count_outline_as_material(!options.edge);
  return geometry;
}

namespace {

// The program as its lines or as its whole text, as read_nc_cuts takes it.
template <class Program>
Result<Judgement> judge_read(const DrawingGeometry& geometry, const Settings& settings,
                             const StartCodes& codes, const Program& program, const JudgeOptions& options) {
  const double grid = 1.0 / settings.ini_S_suu;
  // A coordinate may lie a drawing's size beyond it, and at least 1000
  // units: the origin, the return home, a lead-in off the sheet.
  NcLimits limits;
  const DrawingGeometry::Box box = geometry.box();
  const double room = std::max({1000.0, box.max_x - box.min_x, box.max_y - box.min_y});
  limits.min_x = std::min(box.min_x, 0.0) - room;
  limits.min_y = std::min(box.min_y, 0.0) - room;
  limits.max_x = std::max(box.max_x, 0.0) + room;
  limits.max_y = std::max(box.max_y, 0.0) + room;
  limits.radius_tolerance = std::max(settings.tolerance(), 0.0) + 4 * grid;
  limits.lead_in_moves = settings.shop.lead_in == LeadInShape::arc ? 2 : 1;
  auto cuts = read_nc_cuts(program, codes, limits);
  if (!cuts) return cuts.error();
  return Judge(geometry, settings, options, std::move(*cuts)).run();
}

}  // namespace

Result<Judgement> judge_program(const Drawing& drawing, const Settings& settings, const StartCodes& codes,
                                std::span<const std::string_view> program, const JudgeOptions& options) {
  return judge_read(judge_geometry(drawing, settings, options), settings, codes, program, options);
}

Result<Judgement> judge_program(const Drawing& drawing, const Settings& settings, const StartCodes& codes,
                                std::string_view program, const JudgeOptions& options) {
  return judge_read(judge_geometry(drawing, settings, options), settings, codes, program, options);
}

Result<Judgement> judge_program(const DrawingGeometry& geometry, const Settings& settings,
                                const StartCodes& codes, std::span<const std::string_view> program,
                                const JudgeOptions& options) {
  return judge_read(geometry, settings, codes, program, options);
}

Result<Judgement> judge_program(const DrawingGeometry& geometry, const Settings& settings,
                                const StartCodes& codes, std::string_view program,
                                const JudgeOptions& options) {
  return judge_read(geometry, settings, codes, program, options);
}

Status judgement_holds(const Judgement& judgement) {
  if (judgement.closed_contours == 0)
    return Error{
        "the drawing holds no closed contour on the ticked layers: there is nothing to judge against"};
  const std::size_t all = judgement.cuts + judgement.marks;
  if (all == 0) return Error{"the program holds no cut: no rapid move is followed by a start code"};
  if (2 * judgement.unmatched > all)
    return Error{std::to_string(judgement.unmatched) + " of the program's " + std::to_string(all) +
                 " cuts meet no contour of the drawing: it is a program for another drawing"};
  return ok_status();
}

Result<Judgement> judge_nc_program(const fs::path& folder, const fs::path& nc_file,
                                   const JudgeOptions& options) {
  Settings settings;
  if (!read_set_ini(host_path(folder, "Zemlak\\Bin\\set.ini"), settings))
    return Error{"cannot read set.ini in " + display_path(folder)};
  auto shop = read_option_ini(folder);
  if (!shop) return shop.error();
  settings.shop = std::move(*shop);
  const fs::path drawing_file =
      options.drawing_file.empty() ? host_path(folder, "JWC_TEMP.TXT") : options.drawing_file;
  const std::optional<std::string> drawing_text = read_file_bytes(drawing_file);
  if (!drawing_text) return Error{"cannot read " + display_path(drawing_file)};
  const std::vector<std::string_view> drawing_lines = line_views(*drawing_text);
  // The contours are judged, not what chaining left out or found overlapping.
  auto start =
      read_drawing(std::span<const std::string_view>(drawing_lines), settings, {}, StartWarnings::none);
  if (!start) return start.error();
  auto codes = read_start_codes(folder, settings);
  if (!codes) return codes.error();
  auto program = read_nc_text(nc_file);
  if (!program) return program.error();
  auto judged = judge_program(start->drawing, settings, *codes, std::string_view(*program), options);
  if (!judged) return Error{display_path(nc_file) + " " + judged.error().message};
  return judged;
}

}  // namespace makenc
