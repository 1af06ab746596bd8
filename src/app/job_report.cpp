#include "app/job_report.h"

#include <cstdio>

#include "core/number_text.h"

namespace makenc {
namespace {

// Quotes and backslashes escaped, control characters as \u00XX, the rest
// of the UTF-8 as it is.
std::string json_string(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[7];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + '"';
}

}  // namespace

std::string report_json(const JobReport& report) {
  std::string layers;
  for (int k = 0; k < kLayerCount; ++k)
    if (report.layers[static_cast<std::size_t>(k)])
      layers += (layers.empty() ? "" : ", ") + json_string("ly" + std::to_string(k));
  const JobSummary& job = report.job;
  std::string faults = "{";
  for (const auto& [kind, count] : report.faults)
    faults += (faults.size() > 1 ? ", " : "") + json_string(kind) + ": " + std::to_string(count);
  faults += "}";
  auto member = [](const char* name, const std::string& value, bool last = false) {
    return std::string("  \"") + name + "\": " + value + (last ? "\r\n" : ",\r\n");
  };
  return "{\r\n" + member("drawing", json_string(report.drawing)) +
         member("nc_file", json_string(report.nc_file)) + member("layers", "[" + layers + "]") +
         member("contours_cut", std::to_string(job.contours_cut)) +
         member("contours_marked", std::to_string(job.contours_marked)) +
         member("pierces", std::to_string(job.pierces)) +
         member("cut_length", fixed_text(job.cut_length, 3)) +
         member("marking_length", fixed_text(job.marking_length, 3)) +
         member("rapid_length", fixed_text(job.rapid_length, 3)) +
         (job.time_s ? member("time_s", fixed_text(*job.time_s, 3)) : std::string()) +
         member("faults", faults, true) + "}\r\n";
}

}  // namespace makenc
