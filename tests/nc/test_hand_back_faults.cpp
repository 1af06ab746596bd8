// The host's "JWC_TEMP.TXT" when the NC program or the hand-back fails at
// any step, or the process dies in between: the host reads back its own
// file or the new one, whole, and never before the NC program is written.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "hand_back_folder.h"
#include "nc/hand_back.h"
#include "support/faulty_files.h"

namespace makenc {
namespace {

using test::FaultyFiles;
using test::Step;
using Then = FaultyFiles::Then;
using test::file_bytes;
using test::HandBack;
using test::names_in;

// The NC program and the handed-back drawing of a run that nothing
// disturbs, to compare a disturbed run with.
struct CleanRun {
  std::string nc, jwc;
  CleanRun() {
    HandBack h;
    h.c.options.check_drawing = true;
    const auto done = write_program_and_hand_back(h.c.input(), h.working_copy);
    EXPECT_TRUE(done) << done.error().message;
    nc = file_bytes(h.nc());
    jwc = file_bytes(h.jwc());
  }
};

const CleanRun& clean_run() {
  static const CleanRun run;
  return run;
}

// Which file the host's file is: its place on the disk and when it was
// last written, so that a file written again with the same bytes is told
// apart from one left alone.
struct Identity {
  ino_t inode;
  timespec written;
  bool operator==(const Identity& o) const {
    return inode == o.inode && written.tv_sec == o.written.tv_sec && written.tv_nsec == o.written.tv_nsec;
  }
};

Identity identity_of(const std::filesystem::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
  return {st.st_ino, st.st_mtim};
}

class Disturbed : public ::testing::Test {
 protected:
  HandBack h;
  Identity before{};
  const std::set<std::string> host_names = {"JWC_TEMP.TXT", "Zemlak"};

  void SetUp() override {
    ASSERT_FALSE(clean_run().nc.empty());
    h.c.options.check_drawing = true;
    before = identity_of(h.jwc());
  }
  void expect_host_file_untouched() {
    EXPECT_EQ(file_bytes(h.jwc()), h.host_file);
    EXPECT_TRUE(identity_of(h.jwc()) == before);
    EXPECT_EQ(names_in(h.host.path()), host_names);  // no temporary file beside it
    EXPECT_TRUE(std::filesystem::exists(h.copy()));  // kept for another try
  }
};

std::string step_param_name(const ::testing::TestParamInfo<Step>& info) {
  return test::step_name(info.param);
}

const auto kFailingSteps =
    ::testing::Values(Step::create, Step::write, Step::flush, Step::sync, Step::close, Step::rename);

class NcProgramStepFails : public Disturbed, public ::testing::WithParamInterface<Step> {};

TEST_P(NcProgramStepFails, TheHostFileIsNotTouchedAtAll) {
  FaultyFiles files;
  files.faults = {{GetParam(), 1}};
  const auto done = write_program_and_hand_back(h.c.input(), h.working_copy, files);
  ASSERT_FALSE(done);
  const std::string& message = done.error().message;
  EXPECT_EQ(message.rfind("the NC program was not written: ", 0), 0u) << message;
  EXPECT_NE(message.find(h.nc().string()), std::string::npos) << message;
  expect_host_file_untouched();
  EXPECT_FALSE(std::filesystem::exists(h.nc()));
  EXPECT_EQ(names_in(h.host.path() / "Zemlak"), std::set<std::string>{"Bin"});
  for (const auto& call : files.calls)  // nothing of the hand-back was begun
    EXPECT_NE(call.path.parent_path(), h.host.path()) << test::step_name(call.step) << " " << call.path;
}

INSTANTIATE_TEST_SUITE_P(EachStep, NcProgramStepFails, kFailingSteps, step_param_name);

class HandBackStepFails : public Disturbed, public ::testing::WithParamInterface<Step> {};

TEST_P(HandBackStepFails, TheHostFileStaysWholeAndTheProgramIsWritten) {
  FaultyFiles files;
  files.faults = {{GetParam(), 2}};
  const auto done = write_program_and_hand_back(h.c.input(), h.working_copy, files);
  ASSERT_FALSE(done);
  const std::string& message = done.error().message;
  EXPECT_EQ(message.rfind("the drawing was not handed back to the host: ", 0), 0u) << message;
  EXPECT_NE(message.find(h.jwc().string()), std::string::npos) << message;
  expect_host_file_untouched();
  EXPECT_EQ(file_bytes(h.nc()), clean_run().nc);
}

INSTANTIATE_TEST_SUITE_P(EachStep, HandBackStepFails, kFailingSteps, step_param_name);

TEST_F(Disturbed, AWorkingCopyThatCannotBeDeletedIsReportedAfterAWholeHandBack) {
  FaultyFiles files;
  files.faults = {{Step::remove, 2}};
  const auto done = write_program_and_hand_back(h.c.input(), h.working_copy, files);
  ASSERT_FALSE(done);
  const std::string& message = done.error().message;
  EXPECT_NE(message.find("handed back"), std::string::npos) << message;
  EXPECT_NE(message.find(h.copy().string()), std::string::npos) << message;
  EXPECT_EQ(file_bytes(h.jwc()), clean_run().jwc);
  EXPECT_EQ(file_bytes(h.nc()), clean_run().nc);
  EXPECT_EQ(names_in(h.host.path()), host_names);
}

TEST_F(Disturbed, AFolderStandingWhereTheProgramGoesLeavesTheHostFileAlone) {
  std::filesystem::create_directories(h.nc() / "inside");
  const auto done = write_program_and_hand_back(h.c.input(), h.working_copy);
  ASSERT_FALSE(done);
  EXPECT_NE(done.error().message.find(h.nc().string()), std::string::npos) << done.error().message;
  expect_host_file_untouched();
  EXPECT_TRUE(std::filesystem::is_directory(h.nc() / "inside"));
  EXPECT_EQ(names_in(h.host.path() / "Zemlak"), (std::set<std::string>{"Bin", "part.nc"}));
}

TEST_F(Disturbed, TheHostFileIsReplacedOnlyOnceTheProgramIsOnTheDisk) {
  FaultyFiles files;
  ASSERT_TRUE(write_program_and_hand_back(h.c.input(), h.working_copy, files));
  std::vector<Step> expected = test::kWriteSteps;                                       // the NC program
  expected.insert(expected.end(), test::kWriteSteps.begin(), test::kWriteSteps.end());  // the hand-back
  expected.push_back(Step::remove);                                                     // the working copy
  ASSERT_EQ(files.steps(), expected);
  const std::size_t n = test::kWriteSteps.size();
  EXPECT_EQ(files.calls[5].path, h.nc());
  EXPECT_EQ(files.calls[6].path, h.host.path() / "Zemlak");
  EXPECT_EQ(files.calls[n].path.parent_path(), h.host.path());  // the hand-back's temporary file
  EXPECT_EQ(files.calls[n + 5].path, h.jwc());
  EXPECT_EQ(files.calls[2 * n].path, h.copy());
  EXPECT_EQ(file_bytes(h.jwc()), clean_run().jwc);
}

// A crash at one step of one file: the process is killed right before or
// right after it, as by a power cut or the user ending it.
struct Crash {
  Step step;
  int file;
  Then then;
};

std::string crash_name(const Crash& c) {
  return std::string(c.file == 1 ? "NcProgram_" : "HandBack_") +
         (c.then == Then::crash_before ? "Before_" : "After_") + test::step_name(c.step);
}

std::string crash_param_name(const ::testing::TestParamInfo<Crash>& info) { return crash_name(info.param); }

void PrintTo(const Crash& c, std::ostream* os) { *os << crash_name(c); }

std::vector<Crash> all_crashes() {
  std::vector<Crash> crashes;
  for (int file : {1, 2})
    for (Step step : test::kWriteSteps)
      for (Then then : {Then::crash_before, Then::crash_after}) crashes.push_back({step, file, then});
  crashes.push_back({Step::remove, 2, Then::crash_before});  // the working copy
  crashes.push_back({Step::remove, 2, Then::crash_after});
  return crashes;
}

// Whether the hand-back's rename was done when the process died.
bool host_file_replaced(const Crash& c) {
  if (c.file != 2) return false;
  return c.step == Step::sync_folder || c.step == Step::remove ||
         (c.step == Step::rename && c.then == Then::crash_after);
}

class CrashWhileWriting : public Disturbed, public ::testing::WithParamInterface<Crash> {};

TEST_P(CrashWhileWriting, LeavesTheOldOrTheNewFileWholeAndTheNextRunSucceeds) {
  const Crash crash = GetParam();
  std::fflush(nullptr);  // nothing buffered twice
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FaultyFiles files;
    files.faults = {{crash.step, crash.file, crash.then}};
    static_cast<void>(write_program_and_hand_back(h.c.input(), h.working_copy, files));
    ::_exit(3);  // the crash did not come
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child ended with status " << status;

  const std::string expected = host_file_replaced(crash) ? clean_run().jwc : h.host_file;
  EXPECT_EQ(file_bytes(h.jwc()), expected);
  if (std::filesystem::exists(h.nc())) {
    EXPECT_EQ(file_bytes(h.nc()), clean_run().nc);
  }

  const auto left_by_crash = names_in(h.host.path());
  const auto done = write_program_and_hand_back(h.c.input(), h.working_copy);
  ASSERT_TRUE(done) << done.error().message;
  EXPECT_EQ(file_bytes(h.jwc()), clean_run().jwc);
  EXPECT_EQ(file_bytes(h.nc()), clean_run().nc);
  EXPECT_EQ(names_in(h.host.path()), left_by_crash);  // the next run leaves nothing of its own
  EXPECT_FALSE(std::filesystem::exists(h.copy()));
}

INSTANTIATE_TEST_SUITE_P(EachStep, CrashWhileWriting, ::testing::ValuesIn(all_crashes()), crash_param_name);

// A folder the user cannot write in. Root writes anywhere, so as root the
// run happens in a child that has become the unprivileged user "nobody",
// who owns the host folder as the host's user would.
enum class ReadOnly { host_folder, nc_folder };

void PrintTo(ReadOnly r, std::ostream* os) {
  *os << (r == ReadOnly::host_folder ? "host folder" : "NC folder");
}

constexpr uid_t kNobody = 65534;
constexpr int kCannotDropRoot = 70, kFolderUnreachable = 71, kPermissionsNotEnforced = 72;

void give_to_nobody(const std::filesystem::path& folder) {
  ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    ASSERT_EQ(::lchown(e.path().c_str(), kNobody, kNobody), 0) << e.path();
}

class ReadOnlyFolder : public Disturbed, public ::testing::WithParamInterface<ReadOnly> {
 protected:
  std::filesystem::path locked;
  void TearDown() override {
    if (!locked.empty()) ::chmod(locked.c_str(), 0755);
  }

  // Runs the button in a child that the folder's bits bind; gives its exit
  // code and the error message.
  std::pair<int, std::string> makeNC_as_user() {
    int pipe_fds[2];
    EXPECT_EQ(::pipe(pipe_fds), 0);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(pipe_fds[0]);
      if (::geteuid() == 0 &&
          (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
        ::_exit(kCannotDropRoot);
      if (::access(h.host.path().c_str(), R_OK | X_OK) != 0) ::_exit(kFolderUnreachable);
      if (::access(locked.c_str(), W_OK) == 0) ::_exit(kPermissionsNotEnforced);
      const auto done = write_program_and_hand_back(h.c.input(), h.working_copy);
      const std::string message = done ? "" : done.error().message;
      const bool sent =
          ::write(pipe_fds[1], message.data(), message.size()) == static_cast<ssize_t>(message.size());
      ::_exit(!sent ? 2 : done ? 0 : 1);
    }
    ::close(pipe_fds[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;)
      message.append(buffer, static_cast<std::size_t>(n));
    ::close(pipe_fds[0]);
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, message};
  }
};

TEST_P(ReadOnlyFolder, IsReportedAndTheHostFileStaysAsItWas) {
  if (::geteuid() == 0) give_to_nobody(h.host.path());
  locked = GetParam() == ReadOnly::host_folder ? h.host.path() : h.host.path() / "Zemlak";
  ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
  const auto [code, message] = makeNC_as_user();
  if (code == kCannotDropRoot)
    GTEST_SKIP() << "cannot become an unprivileged user here to meet the folder's bits";
  if (code == kFolderUnreachable) GTEST_SKIP() << "the unprivileged user cannot reach the temporary folder";
  if (code == kPermissionsNotEnforced) GTEST_SKIP() << "folder permissions are not enforced here";
  ASSERT_EQ(code, 1) << message;
  EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
  if (GetParam() == ReadOnly::host_folder) {
    EXPECT_EQ(
        message.rfind("the drawing was not handed back to the host: cannot create " + h.jwc().string(), 0),
        0u)
        << message;
    EXPECT_EQ(file_bytes(h.nc()), clean_run().nc);
  } else {
    EXPECT_EQ(message.rfind("the NC program was not written: cannot create " + h.nc().string(), 0), 0u)
        << message;
    EXPECT_EQ(names_in(locked), std::set<std::string>{"Bin"});
  }
  expect_host_file_untouched();
}

INSTANTIATE_TEST_SUITE_P(Either, ReadOnlyFolder,
                         ::testing::Values(ReadOnly::host_folder, ReadOnly::nc_folder),
                         [](const ::testing::TestParamInfo<ReadOnly>& p) {
                           return std::string(p.param == ReadOnly::host_folder ? "HostFolder" : "NcFolder");
                         });

}  // namespace
}  // namespace makenc
