// Files the host or the machine reads are replaced whole or not at all,
// whichever step of the writing fails.
#include "core/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>

#include "support/faulty_files.h"
#include "support/files.h"

namespace makenc {
namespace {

using test::FaultyFiles;
using test::file_bytes;
using test::Step;

std::set<std::string> names_in(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.insert(e.path().filename().string());
  return names;
}

struct stat stat_of(const std::filesystem::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
  return st;
}

void write_bytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

mode_t mode_of(const std::filesystem::path& file) { return stat_of(file).st_mode & 07777; }

// Sets the process's umask for one test and puts the old one back.
class Umask {
 public:
  explicit Umask(mode_t m) : old_(::umask(m)) {}
  ~Umask() { ::umask(old_); }
  Umask(const Umask&) = delete;
  Umask& operator=(const Umask&) = delete;

 private:
  mode_t old_;
};

// A folder holding the host's file, about to be replaced.
class Replacing : public ::testing::Test {
 protected:
  test::TempFolder folder;
  const std::filesystem::path target = folder.path() / "JWC_TEMP.TXT";
  const std::string old_bytes = "host header\r\nhq\r\n#\r\nly0\r\nlc2\r\n 0 0 100 0\r\n";
  const std::string new_bytes = "host header\r\n#\r\nlt1\r\nlyA\r\n";
  const std::set<std::string> only_target = {"JWC_TEMP.TXT"};

  void SetUp() override { folder.write("JWC_TEMP.TXT", old_bytes); }

  // The name a write with this tag gives its temporary file, as the write
  // itself shows it.
  std::filesystem::path temporary_name_for(const std::string& tag) {
    FaultyFiles files;
    files.tags = {tag};
    files.faults = {{Step::write}};
    EXPECT_FALSE(write_file_atomically(target, new_bytes, files));
    return files.calls.at(0).path;
  }
};

TEST_F(Replacing, TheNewBytesTakeThePlaceOfTheOldAndNothingIsLeftBeside) {
  ASSERT_TRUE(write_file_atomically(target, new_bytes));
  EXPECT_EQ(file_bytes(target), new_bytes);
  EXPECT_EQ(names_in(folder.path()), only_target);
  ASSERT_TRUE(write_file_atomically(target, ""));  // as start-up begins the working copy
  EXPECT_EQ(file_bytes(target), "");
  EXPECT_EQ(names_in(folder.path()), only_target);
}

TEST_F(Replacing, TheBytesAreOnTheDiskBeforeTheirNameAndTheNameAfter) {
  FaultyFiles files;
  ASSERT_TRUE(write_file_atomically(target, new_bytes, files));
  EXPECT_EQ(files.steps(), test::kWriteSteps);
  EXPECT_EQ(files.calls.at(5).path, target);         // the rename
  EXPECT_EQ(files.calls.at(6).path, folder.path());  // the target's folder synced
}

class FailingStep : public Replacing, public ::testing::WithParamInterface<Step> {};

TEST_P(FailingStep, LeavesTheOldFileWholeAndNoTemporaryFile) {
  FaultyFiles files;
  files.faults = {{GetParam()}};
  const auto written = write_file_atomically(target, new_bytes, files);
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().message.find(target.string()), std::string::npos) << written.error().message;
  EXPECT_NE(written.error().message.find("No space left on device"), std::string::npos)
      << written.error().message;
  EXPECT_EQ(file_bytes(target), old_bytes);
  EXPECT_EQ(names_in(folder.path()), only_target);

  // Nor does a file come into being where there was none.
  FaultyFiles again;
  again.faults = {{GetParam()}};
  EXPECT_FALSE(write_file_atomically(folder.path() / "part.nc", new_bytes, again));
  EXPECT_EQ(names_in(folder.path()), only_target);
}

INSTANTIATE_TEST_SUITE_P(EachStepBeforeTheFileIsReplaced, FailingStep,
                         ::testing::Values(Step::create, Step::write, Step::flush, Step::sync, Step::close,
                                           Step::rename),
                         [](const ::testing::TestParamInfo<Step>& p) {
                           return std::string(test::step_name(p.param));
                         });

TEST_F(Replacing, AFolderThatCannotBeSyncedAfterTheRenameHoldsTheNewFileAndIsNoFailure) {
  FaultyFiles files;
  files.faults = {{Step::sync_folder}};
  ASSERT_TRUE(write_file_atomically(target, new_bytes, files));
  EXPECT_EQ(file_bytes(target), new_bytes);
  EXPECT_EQ(names_in(folder.path()), only_target);
}

TEST_F(Replacing, ATemporaryFileThatCannotBeRemovedIsNamedInTheMessage) {
  FaultyFiles files;
  files.faults = {{Step::write}, {Step::remove}};
  const auto written = write_file_atomically(target, new_bytes, files);
  ASSERT_FALSE(written);
  const std::filesystem::path left = files.calls.at(0).path;
  EXPECT_EQ(left.parent_path(), folder.path());
  EXPECT_TRUE(std::filesystem::exists(left));
  const std::string& message = written.error().message;
  EXPECT_EQ(message.rfind("cannot write " + target.string() + ": ", 0), 0u) << message;
  EXPECT_NE(message.find("the temporary file " + left.string() + " is left"), std::string::npos) << message;
  EXPECT_EQ(file_bytes(target), old_bytes);
}

TEST_F(Replacing, WhatACrashedRunLeftAtTheTemporaryNameIsPassedOverUntouched) {
  const std::filesystem::path stale_file = temporary_name_for("a");
  const std::filesystem::path stale_folder = temporary_name_for("b");
  ASSERT_NE(stale_file, stale_folder);
  write_bytes(stale_file, "half a drawi");
  std::filesystem::create_directories(stale_folder / "inside");

  FaultyFiles files;
  files.tags = {"a", "b", "c"};
  ASSERT_TRUE(write_file_atomically(target, new_bytes, files));
  EXPECT_EQ(file_bytes(target), new_bytes);
  EXPECT_EQ(file_bytes(stale_file), "half a drawi");
  EXPECT_TRUE(std::filesystem::is_directory(stale_folder / "inside"));
  EXPECT_EQ(names_in(folder.path()).size(), 3u);
}

TEST_F(Replacing, ANameTakenAtEveryTryIsAFailureNotAnOverwrite) {
  const std::filesystem::path stale = temporary_name_for("a");
  write_bytes(stale, "stale");
  FaultyFiles files;
  files.tags.assign(1000, "a");
  const auto written = write_file_atomically(target, new_bytes, files);
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error().message.rfind("cannot create " + target.string(), 0), 0u)
      << written.error().message;
  EXPECT_EQ(file_bytes(stale), "stale");
  EXPECT_EQ(file_bytes(target), old_bytes);
}

TEST_F(Replacing, AVeryLongNameStillGetsATemporaryFileBesideIt) {
  const std::filesystem::path long_target = folder.path() / (std::string(250, 'n') + ".nc");
  ASSERT_TRUE(write_file_atomically(long_target, new_bytes));
  EXPECT_EQ(file_bytes(long_target), new_bytes);
  EXPECT_EQ(names_in(folder.path()).size(), 2u);
}

TEST_F(Replacing, AFolderStandingAtTheTargetIsReportedAndLeftAsItIs) {
  const std::filesystem::path taken = folder.path() / "part.nc";
  std::filesystem::create_directories(taken / "inside");
  const auto written = write_file_atomically(taken, new_bytes);
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error().message.rfind("cannot replace " + taken.string() + ": ", 0), 0u)
      << written.error().message;
  EXPECT_TRUE(std::filesystem::is_directory(taken / "inside"));
  EXPECT_EQ(names_in(folder.path()), (std::set<std::string>{"JWC_TEMP.TXT", "part.nc"}));
}

TEST_F(Replacing, AReplacedFileKeepsItsPermissionBitsButNoSetIdBits) {
  const Umask umask(022);  // would turn 0664 into 0644 if the bits were not carried over
  for (const mode_t before : {0640, 0600, 0444, 0664, 0604}) {
    ASSERT_EQ(::chmod(target.c_str(), before), 0);
    ASSERT_TRUE(write_file_atomically(target, new_bytes));
    EXPECT_EQ(mode_of(target), before) << std::oct << before;
  }
  ASSERT_EQ(::chmod(target.c_str(), 04755), 0);
  ASSERT_TRUE(write_file_atomically(target, new_bytes));
  EXPECT_EQ(mode_of(target), 0755u);
}

TEST_F(Replacing, ANewFileGetsWhatTheUmaskLeaves) {
  const Umask umask(027);
  const std::filesystem::path nc = folder.path() / "part.nc";
  ASSERT_TRUE(write_file_atomically(nc, new_bytes));
  EXPECT_EQ(mode_of(nc), 0640u);
}

TEST_F(Replacing, RootHandsTheReplacedFileBackToItsOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
  ASSERT_TRUE(write_file_atomically(target, new_bytes));
  const struct stat st = stat_of(target);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(file_bytes(target), new_bytes);
}

TEST(SystemFiles, SyncsTheWorkingFolderForAnEmptyFolderNameAndReportsAMissingFolder) {
  test::TempFolder folder;
  EXPECT_FALSE(system_files().sync_folder({}));
  EXPECT_FALSE(system_files().sync_folder(folder.path()));
  EXPECT_EQ(system_files().sync_folder(folder.path() / "missing"), std::errc::no_such_file_or_directory);
}

TEST(SystemFiles, CreatesOnlyWhereNothingStands) {
  test::TempFolder folder;
  folder.write("taken", "x");
  std::filesystem::create_directories(folder.path() / "folder");
  std::FILE* file = nullptr;
  EXPECT_EQ(system_files().create(folder.path() / "taken", std::nullopt, file), std::errc::file_exists);
  EXPECT_EQ(system_files().create(folder.path() / "folder", std::nullopt, file), std::errc::file_exists);
  EXPECT_EQ(file, nullptr);
  EXPECT_EQ(file_bytes(folder.path() / "taken"), "x");
}

}  // namespace
}  // namespace makenc
