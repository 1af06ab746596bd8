// Chaining written the plain way, row by row with the assembly area and a
// scan that restarts from the top after every new member. The tests hold the
// indexed chaining against it.
#pragma once

#include <cstdint>

#include "core/constants.h"
#include "core/drawing.h"
#include "core/settings.h"

namespace makenc::test {

class ReferenceChain {
 public:
  ReferenceChain(double tolerance, std::int16_t S, std::int64_t first)
      : tol_(tolerance), S_(S), Cnt_total(first) {}

  Table chain(Table W) {
    W_ = std::move(W);
    n_ = W_.last_row();
    Table Lp(n_, kLastColumn);
    std::size_t Lp_row = 0;
    for (std::size_t Ent_no = 0; Ent_no != n_; ++Ent_no) {
      const Cell& kind = W_.at(Ent_no, 0);
      const bool single = kind == "ci" || kind == "pt";
      if (!(single || kind == "li" || kind == "cci") || !W_.at(Ent_no, 13).is_blank()) continue;
      Table C(n_ + 1, kLastColumn);
      std::size_t Fwd_row = 1, Bak_row = n_;
      std::int64_t Seq_no = 1;
      W_.at(Ent_no, 13) = Cnt_total;
      W_.at(Ent_no, 14) = Seq_no;
      C.copy_row(0, W_, Ent_no);
      for (int c = 1; c <= 4; ++c) end_[c] = W_.at(Ent_no, static_cast<std::size_t>(c)).number();
      if (single) {
        Lp.copy_row(Lp_row++, W_, Ent_no);
      } else {
        scan(C, Fwd_row, Bak_row, Seq_no);
        finish(C, Lp, Lp_row);
      }
      ++Cnt_total;
    }
    return Lp;
  }

 private:
  int match(double px, double py) const {
    const float xl = static_cast<float>(round_to_grid(px - tol_, S_));
    const float xh = static_cast<float>(round_to_grid(px + tol_, S_));
    const float yl = static_cast<float>(round_to_grid(py - tol_, S_));
    const float yh = static_cast<float>(round_to_grid(py + tol_, S_));
    auto in = [&](double x, double y) { return xl <= x && x <= xh && yl <= y && y <= yh; };
    if (in(end_[1], end_[2])) return 1;
    if (in(end_[3], end_[4])) return 2;
    return 0;
  }

  void swap_ends(std::size_t r) {
    std::swap(W_.at(r, 1), W_.at(r, 3));
    std::swap(W_.at(r, 2), W_.at(r, 4));
  }

  void scan(Table& C, std::size_t& Fwd_row, std::size_t& Bak_row, std::int64_t& Seq_no) {
    for (std::size_t Cand_no = 0; Cand_no != n_; ++Cand_no) {
      const Cell& kind = W_.at(Cand_no, 0);
      if (!(kind == "li" || kind == "cci") || !W_.at(Cand_no, 13).is_blank()) continue;
      int hit = match(W_.at(Cand_no, 1).number(), W_.at(Cand_no, 2).number());
      bool reverse = hit == 1;
      if (hit == 0) {
        hit = match(W_.at(Cand_no, 3).number(), W_.at(Cand_no, 4).number());
        reverse = hit == 2;
      }
      if (hit == 0) continue;
      if (reverse) swap_ends(Cand_no);
      W_.at(Cand_no, 13) = Cnt_total;
      W_.at(Cand_no, 14) = ++Seq_no;
      if (hit == 1) {
        C.copy_row(Bak_row--, W_, Cand_no);
        end_[1] = W_.at(Cand_no, 1).number();
        end_[2] = W_.at(Cand_no, 2).number();
      } else {
        C.copy_row(Fwd_row++, W_, Cand_no);
        end_[3] = W_.at(Cand_no, 3).number();
        end_[4] = W_.at(Cand_no, 4).number();
      }
      Cand_no = 0;
    }
  }

  void finish(Table& C, Table& Lp, std::size_t& Lp_row) const {
    std::int64_t Seq_no = 1;
    auto take = [&](std::size_t r) {
      Lp.copy_row(Lp_row, C, r);
      Lp.at(Lp_row, 14) = Seq_no++;
      ++Lp_row;
      C.at(r, 0) = "";
    };
    bool gap = false;
    for (std::size_t r = 0; r <= n_; ++r) {
      if (C.at(r, 0).is_blank())
        gap = true;
      else if (gap)
        take(r);
    }
    for (std::size_t r = 0; r < n_ && !C.at(r, 0).is_blank(); ++r) take(r);
  }

  double tol_;
  std::int16_t S_;
  Table W_;
  std::size_t n_ = 0;
  double end_[5] = {};

 public:
  std::int64_t Cnt_total;
};

}  // namespace makenc::test
