#include "src/rfc/working_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "src/platform/folder.h"
#include "tests/support/temp_path.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Each test has a temporary folder and a sensor directory of its own, and runs in the latter.
class WorkingFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = testsupport::UniqueTempPath("working");
    fs::remove_all(root_);
    fs::create_directories(root_ / "temp");
    fs::create_directories(root_ / "sensor");
    if (const char* temp = std::getenv(kTemporaryVariable)) previousTemp_ = temp;
    SetTemporaryFolder((root_ / "temp").string());
    previous_ = fs::current_path();
    fs::current_path(root_ / "sensor");
  }
  void TearDown() override {
    fs::current_path(previous_);
    SetTemporaryFolder(previousTemp_);
    fs::remove_all(root_);
  }
#ifdef _WIN32
  static constexpr const char* kTemporaryVariable = "TMP";
  static void SetTemporaryFolder(const std::string& path) {
    _putenv_s(kTemporaryVariable, path.c_str());
  }
#else
  static constexpr const char* kTemporaryVariable = "TMPDIR";
  static void SetTemporaryFolder(const std::string& path) {
    if (path.empty()) {
      unsetenv(kTemporaryVariable);
    } else {
      setenv(kTemporaryVariable, path.c_str(), 1);
    }
  }
#endif
  // The runs' folders: in the one folder of the program's own in the temporary folder.
  std::vector<fs::path> RunFolders() const {
    std::vector<fs::path> entries;
    for (const auto& runs : fs::directory_iterator(root_ / "temp")) {
      EXPECT_TRUE(runs.path().filename().string().starts_with("sapsysinfo-runs")) << runs.path();
      for (const auto& entry : fs::directory_iterator(runs)) entries.push_back(entry);
    }
    return entries;
  }

  fs::path root_, previous_;
  std::string previousTemp_;
};

TEST_F(WorkingFolderTest, TheLibraryWorksInAFolderOfItsOwnThatIsGoneAtTheEnd) {
  std::optional<WorkingFolder> folder = WorkingFolder::Create();
  ASSERT_TRUE(folder);
  ASSERT_EQ(RunFolders().size(), 1u);
  EXPECT_EQ(fs::path(folder->path()), RunFolders()[0]);
#ifndef _WIN32
  for (const fs::path& path : {fs::path(folder->path()), fs::path(folder->path()).parent_path()}) {
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_all) << path;
  }
#endif
  {
    const std::optional<WorkingFolder::Inside> inside = folder->Enter();
    ASSERT_TRUE(inside);
    EXPECT_EQ(fs::current_path(), fs::path(folder->path()));
    Write(kTraceFile.data(), "**** ERROR now RfcOpen\nERROR       refused\n");
  }
  EXPECT_EQ(fs::current_path(), root_ / "sensor");

  Write(root_ / "sensor" / "Dev_Rfc.Trc", "**** ERROR earlier\n");
  folder->Finish();
  EXPECT_TRUE(RunFolders().empty());
  EXPECT_EQ(Contents(root_ / "sensor" / "Dev_Rfc.Trc"),
            "**** ERROR earlier\n**** ERROR now RfcOpen\nERROR       refused\n");
  folder->Finish();  // once only
  EXPECT_EQ(Contents(root_ / "sensor" / "Dev_Rfc.Trc"),
            "**** ERROR earlier\n**** ERROR now RfcOpen\nERROR       refused\n");
}

TEST_F(WorkingFolderTest, ARunWithoutTraceLeavesTheSharedTraceAlone) {
  WorkingFolder folder = *WorkingFolder::Create();
  folder.Finish();
  EXPECT_FALSE(fs::exists(root_ / "sensor" / "Dev_Rfc.Trc"));
}

TEST_F(WorkingFolderTest, TheDestinationsFileBecomesTheFoldersSapRfcIni) {
  WorkingFolder folder = *WorkingFolder::Create();
  const std::string ini = "DEST=PRD\r\nGWSERV=3300\r\n\xff\x01" + std::string(10000, 'x');
  Write(root_ / "sensor" / "SapRfc.PRD", ini);
  Write(root_ / "sensor" / "SapRfc.ini", "the administrator's own");
  EXPECT_EQ(folder.CopySapRfcIni("PRD"), SapRfcIniCopy::Copied);
  EXPECT_EQ(Contents(fs::path(folder.path()) / "SapRfc.ini"), ini);
  EXPECT_EQ(Contents(root_ / "sensor" / "SapRfc.ini"), "the administrator's own");
  EXPECT_EQ(folder.CopySapRfcIni("QAS"), SapRfcIniCopy::NoDestinationFile);

  // A destination named "ini" names the sensor's own SapRfc.ini, which is read, not truncated.
  EXPECT_EQ(folder.CopySapRfcIni("ini"), SapRfcIniCopy::Copied);
  EXPECT_EQ(Contents(fs::path(folder.path()) / "SapRfc.ini"), "the administrator's own");
  EXPECT_EQ(Contents(root_ / "sensor" / "SapRfc.ini"), "the administrator's own");
}

// A run removes the folders of runs that were killed; here "old" means older than a second
// rather than a day, as no file system of every host lets a folder's time be set.
TEST_F(WorkingFolderTest, FoldersOfKilledRunsGoOnceTheyAreOld) {
  const fs::path runs = root_ / "runs";
  const fs::path old = runs / "1-1";
  const fs::path other = root_ / "temp" / "other-program";
  for (const fs::path& folder : {old, other}) fs::create_directories(folder / "sub");
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const fs::path recent = runs / "2-2";
  fs::create_directories(recent / "sub");
  platform::Folder::Open(runs.string()).RemoveStaleFolders("", std::chrono::seconds(1));
  EXPECT_FALSE(fs::exists(old));
  EXPECT_TRUE(fs::exists(recent));
  EXPECT_TRUE(fs::exists(other));
}

#ifndef _WIN32
// Every user shares /tmp: a runs' folder that another could have made, or could read, is none to
// work in. It is left as it is, and the run works in a folder of its own beside it.
TEST_F(WorkingFolderTest, ARunsFolderOthersCouldUseIsLeftAlone) {
  const fs::path runs = root_ / "temp" / ("sapsysinfo-runs-" + std::to_string(geteuid()));
  const auto madeBeside = [&] {
    const std::optional<WorkingFolder> folder = WorkingFolder::Create();
    EXPECT_TRUE(folder);
    return folder && fs::path(folder->path()).parent_path() == root_ / "temp" &&
           fs::path(folder->path()).filename().string().starts_with("sapsysinfo-");
  };
  fs::create_directories(runs);
  fs::permissions(runs, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  EXPECT_TRUE(madeBeside());
  EXPECT_TRUE(fs::is_empty(runs));
  fs::remove(runs);
  fs::create_directory_symlink(root_ / "sensor", runs);
  EXPECT_TRUE(madeBeside());
  EXPECT_TRUE(fs::is_empty(root_ / "sensor"));
  fs::remove(runs);
  EXPECT_FALSE(madeBeside());
  EXPECT_TRUE(fs::is_directory(fs::symlink_status(runs)));
  EXPECT_TRUE(RunFolders().empty());  // and nothing beside the runs' folder either
}

// The folder may be gone by the time the library is to work in it (nothing on Windows can
// remove a folder the run holds open). The current directory then stays the sensor's, and the
// caller learns it, so that the library never reads the shared SapRfc.ini.
TEST_F(WorkingFolderTest, AFolderThatIsGoneIsNotEntered) {
  std::optional<WorkingFolder> folder = WorkingFolder::Create();
  ASSERT_TRUE(folder);
  fs::remove(folder->path());
  EXPECT_FALSE(folder->Enter().has_value());
  EXPECT_EQ(fs::current_path(), root_ / "sensor");
  fs::create_directory(folder->path());  // a folder by that name, but not the run's
  EXPECT_FALSE(folder->Enter().has_value());
  EXPECT_EQ(fs::current_path(), root_ / "sensor");
  fs::remove(folder->path());
}
#endif

TEST_F(WorkingFolderTest, TheSharedTraceStaysBelowItsLimit) {
  const std::string trace = (root_ / "sensor" / "Dev_Rfc.Trc").string();
  AppendToSharedTrace(trace, std::string(60, 'a'), 100);
  AppendToSharedTrace(trace, std::string(40, 'b'), 100);  // exactly the limit: stays
  EXPECT_EQ(Contents(trace), std::string(60, 'a') + std::string(40, 'b'));
  AppendToSharedTrace(trace, "c", 100);
  EXPECT_EQ(Contents(trace), "c");
  EXPECT_EQ(Contents(trace + ".old"), std::string(60, 'a') + std::string(40, 'b'));
  Write(trace, std::string(99, 'd'));
  AppendToSharedTrace(trace, "ee", 100);  // an older .old is replaced
  EXPECT_EQ(Contents(trace), "ee");
  EXPECT_EQ(Contents(trace + ".old"), std::string(99, 'd'));
}

// A library that writes without end must not push every other run's sections out of the shared
// trace: of one run's trace only its last lines go there, from a line's start, after a line
// that says so.
TEST_F(WorkingFolderTest, ARunsTraceGoesIntoTheSharedOneAsItsLastLinesOnly) {
  const std::string line = "ERROR       the same thing once more, in line number ";
  struct Case {
    const char* what;
    std::size_t lines;
    const char* lineEnd;
  } cases[] = {{"27 MB", 400000, "\n"}, {"27 MB with CR LF", 400000, "\r\n"}, {"small", 3, "\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string trace;
    for (std::size_t i = 0; i < c.lines; ++i) trace += line + std::to_string(i) + c.lineEnd;
    fs::remove(root_ / "sensor" / "Dev_Rfc.Trc");
    WorkingFolder folder = *WorkingFolder::Create();
    Write(fs::path(folder.path()) / "Dev_Rfc.Trc", trace);
    folder.Finish();
    const std::string shared = Contents(root_ / "sensor" / "Dev_Rfc.Trc");
    if (trace.size() <= kRunTraceLimit) {
      EXPECT_EQ(shared, trace);
      continue;
    }
    const std::size_t noteEnd = shared.find(c.lineEnd);
    ASSERT_NE(noteEnd, std::string::npos);
    const std::string kept = shared.substr(noteEnd + std::string(c.lineEnd).size());
    EXPECT_LE(kept.size(), kRunTraceLimit);
    EXPECT_GT(kept.size(), kRunTraceLimit - line.size() - 20);
    EXPECT_TRUE(kept.starts_with(line)) << kept.substr(0, 80);
    EXPECT_TRUE(trace.ends_with(kept));
    EXPECT_EQ(shared.substr(0, noteEnd),
              "sapsysinfo: the first " + std::to_string(trace.size() - kept.size()) +
                  " bytes of this run's trace are left out, to keep Dev_Rfc.Trc below 1 MiB");
  }
}

}  // namespace
