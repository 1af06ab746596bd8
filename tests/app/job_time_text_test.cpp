// The job's time as the summary line and the report give it.
#include <gtest/gtest.h>

#include <string>

#include "app/forms.h"
#include "app/job_report.h"

namespace makenc {
namespace {

TEST(JobTime, ShownInWholeSecondsAndFromAnHourWithHours) {
  EXPECT_EQ(duration_text(0), "0分00秒");
  EXPECT_EQ(duration_text(41.5), "0分42秒");
  EXPECT_EQ(duration_text(41.49), "0分41秒");
  EXPECT_EQ(duration_text(754), "12分34秒");
  EXPECT_EQ(duration_text(3599.4), "59分59秒");
  EXPECT_EQ(duration_text(3599.5), "1時間00分00秒");
  EXPECT_EQ(duration_text(3723), "1時間02分03秒");
  EXPECT_EQ(duration_text(36000), "10時間00分00秒");
  JobSummary job;
  job.time_s = 42;
  EXPECT_EQ(summary_text(job).substr(summary_text(job).size() - std::string("、所要時間 0分42秒").size()),
            "、所要時間 0分42秒");
  job.time_s.reset();
  EXPECT_EQ(summary_text(job).find("所要時間"), std::string::npos);
}

TEST(JobTime, TheReportGivesItInSecondsWithThreeDecimals) {
  JobSummary job;
  const LayerTicks layers{};
  EXPECT_EQ(report_json(JobReport{job, layers, "", "", {}}).find("time_s"), std::string::npos);
  job.time_s = 754.1234;
  EXPECT_NE(report_json(JobReport{job, layers, "", "", {}}).find("  \"time_s\": 754.123,\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace makenc
