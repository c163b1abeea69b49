// The system's temporary folder, which every account of the machine shares: what others put
// there, and a temporary folder the environment names badly, never stop a run, and a run
// touches nothing there that it did not make.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/file_age.h"
#include "tests/support/profiles.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testsupport::DaysOld;
using testsupport::Drives;
using testsupport::ProcessResult;
using testsupport::Sapsim;

// An account the machine does not have: only root can hand it anything.
constexpr uid_t kOtherAccount = 4242;

std::string RunsFolderName() { return "sapsysinfo-runs-" + std::to_string(::geteuid()); }

void GiveToAnotherAccount(const fs::path& path) {
  ASSERT_EQ(::lchown(path.c_str(), kOtherAccount, kOtherAccount), 0) << path;
}

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// PRD is reached through its profile, DS1 only through the per-destination file SapRfc.DS1 in the
// sensor's directory, which the run copies into its own folder.
class TemporaryFolderEndToEnd : public testing::Test {
 protected:
  TemporaryFolderEndToEnd() {
    drives_.MakeDirectory(testsupport::kSensorDirectory);
    sim_ = std::make_unique<Sapsim>(json{{"systems",
                                          {{{"name", "PRD"}, {"rfcsi", {{"RFCSYSID", "PRD"}}}},
                                           {{"name", "DS1"}, {"rfcsi", {{"RFCSYSID", "DS1"}}}}}}}
                                        .dump());
    testsupport::WriteSystemProfile(drives_, *sim_, "PRD");
    testsupport::ProfileValues values;
    values.destination = "DS1";
    values.gwservice = "99";  // nothing listens there
    testsupport::WriteProfile(drives_, testsupport::kSensorDirectory + std::string("DS1.P00"),
                              values, "secret");
    drives_.Write("C:\\work\\SapRfc.DS1",
                  "DEST=DS1\nGWHOST=127.0.0.1\nGWSERV=" + std::to_string(sim_->Port("DS1")) + "\n");
  }

  void SetUp() override {
    if (testsupport::UnderWine()) {
      GTEST_SKIP() << "Wine gives its programs the prefix user's temporary folder whatever the "
                      "environment says, and has no other accounts, links or modes to set";
    }
  }

  // The run answered as the system does.
  void ExpectAnswer(const ProcessResult& result, const std::string& system) const {
    EXPECT_NE(result.out.find("Sid=" + system + ", "), std::string::npos) << result.out;
    EXPECT_EQ(result.exitCode, 0) << result.out;
  }

  fs::path Temporary() const { return drives_.TemporaryFolder(); }

  Drives drives_;
  std::unique_ptr<Sapsim> sim_;
};

// What stands where the runs' folder belongs, made by another account before the sensor's
// first run (or by this one, carelessly).
struct Squatter {
  const char* name;
  bool otherAccount;  // the folder, or the link, is another account's
  bool link;          // a link to a folder elsewhere stands there
  fs::perms mode;     // of the folder (the one linked to)
};

void PrintTo(const Squatter& s, std::ostream* os) { *os << s.name; }

class SquattedRunsFolder : public TemporaryFolderEndToEnd,
                           public testing::WithParamInterface<Squatter> {};

TEST_P(SquattedRunsFolder, TheRunWorksElsewhereAndPutsNothingThere) {
  const Squatter& squatter = GetParam();
  if (squatter.otherAccount && ::geteuid() != 0) {
    GTEST_SKIP() << "only root can make a folder or link another account's";
  }
  const fs::path runs = Temporary() / RunsFolderName();
  const fs::path folder = squatter.link ? Temporary() / "elsewhere" : runs;
  fs::create_directory(folder);
  fs::permissions(folder, squatter.mode);
  if (squatter.link) fs::create_directory_symlink(folder, runs);
  if (squatter.otherAccount) GiveToAnotherAccount(runs);

  for (const std::string system : {"PRD", "DS1"}) {
    SCOPED_TRACE(system);
    ExpectAnswer(drives_.RunSensor({system}), system);
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(fs::is_symlink(runs), squatter.link);
  }
  EXPECT_TRUE(drives_.RunFoldersLeft().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Squatters, SquattedRunsFolder,
    testing::Values(
        Squatter{"another account's folder open to all", true, false, fs::perms::all},
        Squatter{"another account's folder closed to others", true, false, fs::perms::owner_all},
        Squatter{"this account's folder open to all", false, false, fs::perms::all},
        Squatter{"a link to this account's private folder", false, true, fs::perms::owner_all},
        Squatter{"another account's link to a private folder", true, true, fs::perms::owner_all}));

// A killed run's folder is removed once it is a day old. Among the runs' folders may stand what
// no run of this program made, through a link swapped in between the sensor's steps or put
// there by hand: only real folders of this account, named as runs name them, go.
TEST_F(TemporaryFolderEndToEnd, OnlyTheProgramsOwnOldFoldersAreRemoved) {
  ExpectAnswer(drives_.RunSensor({"PRD"}), "PRD");  // makes the runs' folder
  const fs::path runs = Temporary() / RunsFolderName();
  const fs::path outside = Temporary() / "outside";
  fs::create_directories(outside / "kept");
  std::ofstream(outside / "kept" / "data") << "not the sensor's";
  DaysOld(outside, 3);

  fs::create_directory_symlink(outside, runs / "1000-1");  // a link named as a run's folder
  fs::create_directories(runs / "1000-2" / "sub");         // a killed run's folder
  fs::create_directories(runs / "somebody");               // no run's name
  fs::create_directories(runs / "1000-3");                 // another account's
  bool otherAccount = ::geteuid() == 0;
  if (otherAccount) GiveToAnotherAccount(runs / "1000-3");
  for (const char* name : {"1000-1", "1000-2", "somebody", "1000-3"}) DaysOld(runs / name, 3);

  ExpectAnswer(drives_.RunSensor({"PRD"}), "PRD");
  std::vector<std::string> expected = {"1000-1", "somebody"};
  if (otherAccount) expected.insert(expected.begin() + 1, "1000-3");
  EXPECT_EQ(Entries(runs), expected);
  EXPECT_TRUE(fs::is_symlink(runs / "1000-1"));
  EXPECT_TRUE(fs::exists(outside / "kept" / "data"));
}

// TMPDIR as the environment may give it: relative to the directory the sensor runs in, empty,
// naming nothing, or naming a file. A relative one is that folder below the sensor's directory;
// the others are passed over for /tmp, as the C library does.
TEST_F(TemporaryFolderEndToEnd, ARelativeTemporaryFolderIsTakenFromTheSensorsDirectory) {
  drives_.MakeDirectory("C:\\work\\sub");
  drives_.SetEnvironment("TMPDIR", "sub");
  for (const std::string system : {"PRD", "DS1"}) {
    SCOPED_TRACE(system);
    ExpectAnswer(drives_.RunSensor({system}), system);
  }
  EXPECT_EQ(Entries(drives_.HostPath("C:\\work\\sub")), std::vector<std::string>{RunsFolderName()});
  EXPECT_TRUE(drives_.RunFoldersLeftIn(drives_.HostPath("C:\\work\\sub")).empty());
}

TEST_F(TemporaryFolderEndToEnd, AnUnusableTemporaryFolderIsPassedOverForTmp) {
  drives_.Write("C:\\work\\a-file", "not a folder");
  struct Case {
    const char* what;
    std::string tmpdir;
  } cases[] = {
      {"empty", ""},
      {"naming nothing", drives_.HostPath("C:\\nowhere")},
      {"naming a file", drives_.HostPath("C:\\work\\a-file")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    drives_.SetEnvironment("TMPDIR", c.tmpdir);
    for (const std::string system : {"PRD", "DS1"}) {
      SCOPED_TRACE(system);
      ExpectAnswer(drives_.RunSensor({system}), system);
    }
  }
  EXPECT_EQ(drives_.Read("C:\\work\\a-file"), "not a folder");
}

// A temporary folder that looks usable but holds no new folder (root may write anywhere, but
// not into /proc): the message names the folder the run tried.
TEST_F(TemporaryFolderEndToEnd, NoWorkingFolderNamesTheTemporaryFolderTried) {
  if (::access("/proc", W_OK | X_OK) != 0) {
    GTEST_SKIP() << "/proc is not writable for this account, so it is passed over for /tmp";
  }
  drives_.SetEnvironment("TMPDIR", "/proc");
  const ProcessResult result = drives_.RunSensor({"PRD"});
  EXPECT_EQ(result.out, testsupport::ErrorDocument(
                            "Error 1045: No Working-Folder for the RFC-Library in /proc !"));
  EXPECT_EQ(result.exitCode, 2);
}

}  // namespace
