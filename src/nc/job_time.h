// The job's time for quoting, from the feeds and times of "option.ini":
// never a guess, so only when every feed the program needs is given.
#pragma once

#include <optional>

#include "core/shop_options.h"
#include "nc/contour_moves.h"

namespace makenc {

// Seconds: the cut length of each condition code at its feed, the marking
// length at the marking feed, the rapids at the rapid feed, plus the pierce
// time per pierce and the marking start time per marking. Nothing when a
// feed the job needs is missing, or when the file gives no feed at all.
std::optional<double> job_time(const JobSummary& job, const ShopOptions& options);

}  // namespace makenc
