// A file layer for tests: it does the system's steps, records each of them,
// and makes chosen steps of the nth file written fail, or kills the process
// right before or right after them (for a forked child standing in for a
// crash or a power cut).
#pragma once

#include <signal.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/file_layer.h"

namespace makenc::test {

enum class Step { create, write, flush, sync, close, rename, remove, sync_folder };

inline const char* step_name(Step s) {
  switch (s) {
    case Step::create: return "create";
    case Step::write: return "write";
    case Step::flush: return "flush";
    case Step::sync: return "sync";
    case Step::close: return "close";
    case Step::rename: return "rename";
    case Step::remove: return "remove";
    case Step::sync_folder: return "sync_folder";
  }
  return "?";
}

inline void PrintTo(Step s, std::ostream* os) { *os << step_name(s); }

// The steps of writing one file, in the order they happen.
inline const std::vector<Step> kWriteSteps = {Step::create, Step::write,  Step::flush,      Step::sync,
                                              Step::close,  Step::rename, Step::sync_folder};

class FaultyFiles : public FileLayer {
 public:
  enum class Then { fail, crash_before, crash_after };
  struct Fault {
    Step step;
    int file = 1;  // the nth file created: 1 is the first
    Then then = Then::fail;
  };
  struct Call {
    Step step;
    std::filesystem::path path;  // the file created or removed, the rename's target, the folder synced
  };

  std::vector<Fault> faults;
  std::error_code error = std::make_error_code(std::errc::no_space_on_device);
  std::deque<std::string> tags;  // handed out first, before the system's own
  std::vector<Call> calls;
  int files_created = 0;

  std::string unique_tag() override {
    if (tags.empty()) return FileLayer::unique_tag();
    std::string tag = tags.front();
    tags.pop_front();
    return tag;
  }
  std::error_code create(const std::filesystem::path& path, const std::optional<KeptAttributes>& kept,
                         std::FILE*& file) override {
    return step(Step::create, path, [&] {
      std::error_code ec = FileLayer::create(path, kept, file);
      if (!ec) ++files_created;
      return ec;
    });
  }
  std::error_code write(std::FILE* file, std::string_view bytes) override {
    return step(Step::write, {}, [&] { return FileLayer::write(file, bytes); });
  }
  std::error_code flush(std::FILE* file) override {
    return step(Step::flush, {}, [&] { return FileLayer::flush(file); });
  }
  std::error_code sync(std::FILE* file) override {
    return step(Step::sync, {}, [&] { return FileLayer::sync(file); });
  }
  std::error_code close(std::FILE* file) override {
    // A failed close still closes the file, as the system's does.
    return step(Step::close, {}, kDoneAnyway, [&] { return FileLayer::close(file); });
  }
  std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return step(Step::rename, to, [&] { return FileLayer::rename(from, to); });
  }
  std::error_code remove(const std::filesystem::path& path) override {
    return step(Step::remove, path, [&] { return FileLayer::remove(path); });
  }
  std::error_code sync_folder(const std::filesystem::path& folder) override {
    return step(Step::sync_folder, folder, [&] { return FileLayer::sync_folder(folder); });
  }

  // The steps recorded, in order.
  std::vector<Step> steps() const {
    std::vector<Step> out;
    for (const Call& c : calls) out.push_back(c.step);
    return out;
  }

 private:
  // The file the step belongs to: a create starts the next one.
  int file_of(Step s) const { return s == Step::create ? files_created + 1 : files_created; }

  const Fault* fault_at(Step s) const {
    for (const Fault& f : faults)
      if (f.step == s && f.file == file_of(s)) return &f;
    return nullptr;
  }

  static constexpr bool kDoneAnyway = true;

  template <typename Do>
  std::error_code step(Step s, const std::filesystem::path& path, Do&& work) {
    return step(s, path, false, std::forward<Do>(work));
  }
  // A step `done_anyway` is done even when it is made to fail.
  template <typename Do>
  std::error_code step(Step s, const std::filesystem::path& path, bool done_anyway, Do&& work) {
    calls.push_back({s, path});
    const Fault* fault = fault_at(s);
    if (fault != nullptr && fault->then == Then::crash_before) ::raise(SIGKILL);
    if (fault != nullptr && fault->then == Then::fail) {
      if (done_anyway) static_cast<void>(work());
      return error;
    }
    std::error_code ec = work();
    if (fault != nullptr && fault->then == Then::crash_after) ::raise(SIGKILL);
    return ec;
  }
};

}  // namespace makenc::test
