// A host folder as start-up leaves it, ready for the button "makeNC": the
// interchange file as the host wrote it, the templates and the working copy.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "nc_fixtures.h"
#include "support/host_folder.h"

namespace makenc::test {

struct HandBack {
  using Lines = std::vector<std::string>;

  HostFolder host;
  NcCase c = worked_example();
  const Lines working_copy = {"jwc header", "#"};
  const std::string host_file = "jwc header\r\nhq\r\n#\r\nly0\r\n";

  HandBack() {
    c.folder = host.path();
    write_host_templates(host.path());
    write_file(jwc(), host_file);
    write_file(copy(), "jwc header\r\n#\r\n");
  }
  std::filesystem::path jwc() const { return host.path() / "JWC_TEMP.TXT"; }
  std::filesystem::path copy() const { return host.path() / "Zemlak" / "Bin" / "makeNC.txt"; }
  std::filesystem::path nc() const { return host.path() / "Zemlak" / "part.nc"; }
  std::size_t files_in_host() const {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(host.path())) n += e.exists() ? 1 : 0;
    return n;
  }
};

inline std::set<std::string> names_in(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.insert(e.path().filename().string());
  return names;
}

}  // namespace makenc::test
