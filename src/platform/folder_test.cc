#include "src/platform/folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "tests/support/file_age.h"
#include "tests/support/temp_path.h"

namespace {

namespace fs = std::filesystem;

TEST(UniqueFolderNameTest, NamesAreTheProgramsOwnPatternAndDiffer) {
  const std::string name = platform::UniqueFolderName("sapsysinfo-");
  EXPECT_TRUE(platform::IsUniqueFolderName(name, "sapsysinfo-")) << name;
  EXPECT_NE(name, platform::UniqueFolderName("sapsysinfo-"));
  struct Case {
    const char* name;
    const char* prefix;
    bool unique;
  } cases[] = {
      {"1234-00ff00ff00ff00ff", "", true},
      {"1234-567890123", "", true},  // as earlier versions named them
      {"sapsysinfo-1234-abc", "sapsysinfo-", true},
      {"sapsysinfo-runs-0", "sapsysinfo-", false},
      {"1234-", "", false},
      {"-abc", "", false},
      {"1234-abcdefg", "", false},
      {"1234-00ff00ff00ff00ff0", "", false},
      {"x1234-abc", "", false},
      {"1234-ab-c", "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::IsUniqueFolderName(c.name, c.prefix), c.unique) << c.name;
  }
}

#ifndef _WIN32

// An account the machine does not have: only root can hand it anything.
constexpr uid_t kOtherAccount = 4242;

using testsupport::DaysOld;

// A scratch folder of the test's own, in which it runs, and a folder outside it that nothing
// done in the scratch folder may reach.
class FolderTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = testsupport::UniqueTempPath("folder");
    fs::remove_all(root_);
    fs::create_directories(root_ / "scratch");
    fs::create_directories(root_ / "outside" / "1000-1");
    std::ofstream(root_ / "outside" / "1000-1" / "data") << "not the program's";
    DaysOld(root_ / "outside" / "1000-1", 3);
    previous_ = fs::current_path();
    fs::current_path(root_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(root_);
  }

  bool OutsideIntact() const { return fs::exists(root_ / "outside" / "1000-1" / "data"); }

  fs::path root_, previous_;
};

TEST_F(FolderTest, TheTemporaryFolderIsAnAbsoluteFolderThatCanBeWrittenInto) {
  fs::create_directories(root_ / "sub");
  std::ofstream(root_ / "a-file") << "not a folder";
  const std::string cwd = root_.string();
  struct Case {
    const char* tmpdir;
    std::string folder;
  } cases[] = {
      {nullptr, "/tmp"},   {"", "/tmp"},       {"sub", cwd + "/sub"},
      {"nowhere", "/tmp"}, {"a-file", "/tmp"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::TemporaryFolderFrom(c.tmpdir, cwd), c.folder)
        << (c.tmpdir ? c.tmpdir : "(unset)");
  }
  const std::string absolute = (root_ / "sub").string();
  EXPECT_EQ(platform::TemporaryFolderFrom(absolute.c_str(), "/elsewhere"), absolute);
}

// What may stand where a folder of the program's own belongs: only a folder itself, this
// account's and closed to others, is taken; nothing else is changed.
TEST_F(FolderTest, APrivateFolderIsTakenOnlyWhenItIsOne) {
  const platform::Folder scratch = platform::Folder::Open((root_ / "scratch").string());
  ASSERT_TRUE(scratch);
  struct Case {
    const char* name;
    bool taken;
  } cases[] = {
      {"missing", true}, {"private", true}, {"open-to-group", false},
      {"link", false},   {"a-file", false}, {"other-account", false},
  };
  fs::create_directory(root_ / "scratch" / "private");
  fs::permissions(root_ / "scratch" / "private", fs::perms::owner_all);
  fs::create_directory(root_ / "scratch" / "open-to-group");
  fs::permissions(root_ / "scratch" / "open-to-group", fs::perms::owner_all | fs::perms::group_all);
  fs::create_directory_symlink(root_ / "scratch" / "private", root_ / "scratch" / "link");
  std::ofstream(root_ / "scratch" / "a-file") << "a file";
  fs::create_directory(root_ / "scratch" / "other-account");
  fs::permissions(root_ / "scratch" / "other-account", fs::perms::owner_all);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown((root_ / "scratch" / "other-account").c_str(), kOtherAccount, 0), 0);
  }
  for (const Case& c : cases) {
    if (std::string_view(c.name) == "other-account" && !root) continue;  // needs root to make
    const platform::Folder folder = scratch.OpenPrivateFolder(c.name);
    EXPECT_EQ(static_cast<bool>(folder), c.taken) << c.name;
    if (folder) {
      EXPECT_EQ(fs::status(folder.path()).permissions(), fs::perms::owner_all) << c.name;
      EXPECT_EQ(fs::path(folder.path()), root_ / "scratch" / c.name);
    }
  }
  EXPECT_TRUE(fs::is_symlink(root_ / "scratch" / "link"));
  EXPECT_EQ(fs::status(root_ / "scratch" / "open-to-group").permissions(),
            fs::perms::owner_all | fs::perms::group_all);
}

// The folder's path may be swapped for a link to elsewhere after it was opened and checked
// (a temporary folder without the sticky bit lets every account rename what is in it):
// everything done afterwards happens in the folder that was checked.
TEST_F(FolderTest, WhatIsDoneInAnOpenedFolderStaysThereWhenItsPathIsSwapped) {
  const platform::Folder scratch = platform::Folder::Open((root_ / "scratch").string());
  const platform::Folder runs = scratch.OpenPrivateFolder("runs");
  ASSERT_TRUE(runs);
  fs::create_directory(root_ / "scratch" / "runs" / "1000-1");
  DaysOld(root_ / "scratch" / "runs" / "1000-1", 3);

  fs::rename(root_ / "scratch" / "runs", root_ / "scratch" / "moved");
  fs::create_directory_symlink(root_ / "outside", root_ / "scratch" / "runs");

  runs.RemoveStaleFolders("", std::chrono::hours(24));
  EXPECT_TRUE(OutsideIntact());
  EXPECT_FALSE(fs::exists(root_ / "scratch" / "moved" / "1000-1"));
  const platform::Folder made = runs.MakeUniqueFolder("");
  ASSERT_TRUE(made);
  EXPECT_TRUE(fs::is_directory(root_ / "scratch" / "moved" / made.name()));
  EXPECT_FALSE(fs::exists(root_ / "outside" / made.name()));
  runs.RemoveFolder(made.name());
  EXPECT_TRUE(fs::is_empty(root_ / "scratch" / "moved"));
}

// Killed runs' folders are removed once old; nothing else is, whatever its age: no link, no
// file, no folder of another account or of another name, nothing a removed folder links to.
TEST_F(FolderTest, OnlyTheProgramsOwnOldFoldersAreRemovedAsStale) {
  const fs::path scratch = root_ / "scratch";
  const platform::Folder folder = platform::Folder::Open(scratch.string());
  fs::create_directories(scratch / "1000-2" / "sub");
  fs::create_directory_symlink(root_ / "outside" / "1000-1", scratch / "1000-2" / "sub" / "link");
  fs::create_directory_symlink(root_ / "outside" / "1000-1", scratch / "1000-3");
  std::ofstream(scratch / "1000-4") << "a file";
  fs::create_directory(scratch / "1000-5");
  fs::create_directory(scratch / "other");
  fs::create_directory(scratch / "1000-6");  // recent
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown((scratch / "1000-5").c_str(), kOtherAccount, 0), 0);
  }
  for (const char* name : {"1000-2", "1000-3", "1000-4", "1000-5", "other"}) {
    DaysOld(scratch / name, 3);
  }
  folder.RemoveStaleFolders("", std::chrono::hours(24));
  EXPECT_FALSE(fs::exists(scratch / "1000-2"));
  EXPECT_TRUE(OutsideIntact());
  EXPECT_TRUE(fs::is_symlink(scratch / "1000-3"));
  EXPECT_TRUE(fs::is_regular_file(scratch / "1000-4"));
  EXPECT_EQ(fs::exists(scratch / "1000-5"), root);
  EXPECT_TRUE(fs::exists(scratch / "other"));
  EXPECT_TRUE(fs::exists(scratch / "1000-6"));
}

// The files of an opened folder: regular ones only, never through a link, never a FIFO that
// would wait for a writer.
TEST_F(FolderTest, FilesInAFolderAreRegularFilesOnly) {
  const fs::path scratch = root_ / "scratch";
  const platform::Folder folder = platform::Folder::Open(scratch.string());
  std::ofstream(root_ / "outside" / "target") << "outside";
  fs::create_symlink(root_ / "outside" / "target", scratch / "link");
  ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);

  auto written = folder.WriteFile("own", platform::FileMode::Binary);
  ASSERT_TRUE(written);
  ASSERT_TRUE(written->Write("own bytes"));
  ASSERT_TRUE(written->Close());
  EXPECT_EQ(fs::status(scratch / "own").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  auto read = folder.OpenFile("own");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->ReadBytes(100), "own bytes");

  for (const char* name : {"link", "fifo", "missing"}) {
    EXPECT_EQ(folder.OpenFile(name), nullptr) << name;
  }
  EXPECT_EQ(folder.WriteFile("link"), nullptr);
  EXPECT_EQ(folder.WriteFile("fifo"), nullptr);
  std::ifstream target(root_ / "outside" / "target");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(target), {}), "outside");
}

#endif

}  // namespace
