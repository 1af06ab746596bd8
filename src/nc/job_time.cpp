#include "nc/job_time.h"

namespace makenc {

std::optional<double> job_time(const JobSummary& job, const ShopOptions& options) {
  if (options.feeds.empty() && !options.feed_mark && !options.rapid_feed) return std::nullopt;
  double minutes = 0;
  for (const auto& [code, length] : job.cut_by_condition) {
    if (length == 0) continue;
    const std::optional<double> feed = options.feed_of(code);
    if (!feed) return std::nullopt;
    minutes += length / *feed;
  }
  if (job.marking_length > 0) {
    if (!options.feed_mark) return std::nullopt;
    minutes += job.marking_length / *options.feed_mark;
  }
  if (job.rapid_length > 0) {
    if (!options.rapid_feed) return std::nullopt;
    minutes += job.rapid_length / *options.rapid_feed;
  }
  return minutes * 60 + options.pierce_time * static_cast<double>(job.pierces) +
         options.mark_start_time * static_cast<double>(job.contours_marked);
}

}  // namespace makenc
