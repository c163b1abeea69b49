// Finding, opening and reading profiles, on a tree of drives, as the monitor starts the sensor;
// and writing them with sapprofile.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "tests/support/drives.h"

namespace {

using testsupport::Drives;
using testsupport::ProcessResult;

constexpr const char* kExeXml = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";

std::string InstallationDirectory(const std::string& drive, const std::string& folder) {
  return drive + ":\\" + folder + "\\" + kExeXml;
}

// A profile a single run accepts; it has no password, which a single run allows. Nothing
// listens at its address, so a run that accepts it ends at the connection.
std::string Profile(const std::string& client = "100") {
  return "Extcompany.: ACME\n"
         "Destination: PRD\n"
         "Client.....: " +
         client +
         "\n"
         "User.......: MONITOR\n"
         "Password...:\n"
         "Language...: E\n"
         "Mode.......: R/3\n"
         "Hostname...: 127.0.0.1\n"
         "Sysnr......: 00\n"
         "Gwhost.....: 127.0.0.1\n"
         "Gwservice..: 01\n";
}

// Found and read, but refused: shows which of two copies the sensor took.
std::string Decoy() { return Profile() + "Password...: not a stored password\n"; }

// The run has found, read and checked the entry, and tried to connect.
constexpr const char* kReachedConnection =
    "Error 1011: RFC-Open for PRD failed ! - partner 127.0.0.1:1 not reached";

std::string ErrorText(const ProcessResult& result) {
  const std::size_t from = result.out.find("<Text>");
  const std::size_t to = result.out.find("</Text>");
  if (from == std::string::npos || to == std::string::npos) return result.out;
  return result.out.substr(from + 6, to - from - 6);
}

struct Case {
  const char* what;
  std::vector<std::pair<std::string, std::string>> files;  // Windows path, content
  std::vector<std::string> arguments;
  std::string currentDirectory;
  std::string message;  // the error document's text
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    Drives drives;
    for (const auto& [path, content] : c.files) drives.Write(path, content);
    ProcessResult result = drives.RunSensor(c.arguments, c.currentDirectory);
    EXPECT_EQ(result.err, "") << c.what;
    EXPECT_EQ(ErrorText(result), c.message) << c.what;
    EXPECT_EQ(result.exitCode, 2) << c.what;
  }
}

const std::string kMissing = "Error 1002: Profile PRD.P00 is missing...";
const std::string kPlaceRefused = "Sorry, invalid Path-Usage...";
const std::string kDecoyTaken = "Error 1004: Invalid Password in Profile PRD.P00 found...";

TEST(DiscoveryEndToEnd, TheHintFileNamesTheMonitorsDirectory) {
  RunCases({
      {"hint without a trailing backslash, the monitor's subdirectory",
       {{"C:\\PRTG_Path.Txt", "D:\\Monitor\r\n"},
        {"D:\\Monitor\\" + std::string(kExeXml) + "PRD.P00", Profile()},
        {InstallationDirectory("C", "Program Files") + "PRD.P00", Decoy()}},
       {"PRD"},
       "C:\\work",
       kReachedConnection},
      {"an installation directory as hint, its Custom Sensors subdirectory",
       {{"C:\\PRTG_Path.Txt", "E:\\PRTG\\\n"},
        {"E:\\PRTG\\Custom Sensors\\ExeXml\\PRD.P00", Profile()}},
       {"PRD"},
       "C:\\work",
       kReachedConnection},
      {"the last line that counts wins",
       {{"C:\\PRTG_Path.Txt", "C:\\Old\nno directory\nE:\\PRTG\nMonitor\n"},
        {"C:\\Old\\Custom Sensors\\ExeXml\\PRD.P00", Decoy()},
        {"E:\\PRTG\\Custom Sensors\\ExeXml\\PRD.P00", Profile()}},
       {"PRD"},
       "C:\\work",
       kReachedConnection},
      {"a hint line longer than one read is no hint",
       {{"C:\\PRTG_Path.Txt", "E:\\PRTG\nC:\\" + std::string(120, 'x') + "\n"},
        {"E:\\PRTG\\Custom Sensors\\ExeXml\\PRD.P00", Profile()}},
       {"PRD"},
       "C:\\work",
       kReachedConnection},
      {"the hinted directory lacks the profile: the usual places are not searched",
       {{"C:\\PRTG_Path.Txt", "D:\\Monitor\n"},
        {InstallationDirectory("C", "Program Files") + "PRD.P00", Profile()}},
       {"PRD"},
       "C:\\work",
       kMissing},
      {"the hinted directory holds the profile but is no custom-sensor directory",
       {{"C:\\PRTG_Path.Txt", "D:\\Sensors"}, {"D:\\Sensors\\PRD.P00", Profile()}},
       {"PRD"},
       "C:\\work",
       kPlaceRefused},
      {"no line counts: the root of the current drive",
       {{"C:\\PRTG_Path.Txt", "Monitor\n"}, {"D:\\PRD.P00", Profile()}},
       {"PRD"},
       "D:\\work",
       kPlaceRefused},
  });
}

TEST(DiscoveryEndToEnd, WithoutHintTheUsualInstallationDirectoriesOfTheCurrentDrive) {
  RunCases({
      {"\\Programme",
       {{InstallationDirectory("D", "Programme") + "PRD.P00", Profile()}},
       {"PRD"},
       "D:\\work",
       kReachedConnection},
      {"\\Program Files",
       {{InstallationDirectory("D", "Program Files") + "PRD.P00", Profile()}},
       {"PRD"},
       "D:\\work",
       kReachedConnection},
      {"\\Program Files (x86)",
       {{InstallationDirectory("D", "Program Files (x86)") + "PRD.P00", Profile()}},
       {"PRD"},
       "D:\\work",
       kReachedConnection},
      {"the first that holds the profile is taken",
       {{InstallationDirectory("D", "Program Files") + "PRD.P00", Decoy()},
        {InstallationDirectory("D", "Program Files (x86)") + "PRD.P00", Profile()}},
       {"PRD"},
       "D:\\work",
       kDecoyTaken},
      {"another drive is not searched",
       {{InstallationDirectory("C", "Program Files") + "PRD.P00", Profile()}},
       {"PRD"},
       "D:\\work",
       kMissing},
      {"the current directory comes first, and is refused",
       {{"D:\\work\\PRD.P00", Profile()},
        {InstallationDirectory("D", "Program Files") + "PRD.P00", Profile()}},
       {"PRD"},
       "D:\\work",
       kPlaceRefused},
      {"a directory on the command line does not count in EXEXML",
       {{"D:\\Sensors\\PRD.P00", Profile()}},
       {"D:\\Sensors\\PRD"},
       "D:\\work",
       kMissing},
  });
}

TEST(DiscoveryEndToEnd, TheEntryIsReadAndChecked) {
  const std::string exeXml = InstallationDirectory("C", "Program Files");
  RunCases({
      {"a value too short",
       {{exeXml + "PRD.P00", Profile("10")}},
       {"PRD", "%"},
       "C:\\work",
       "Error 1003: Invalid Parameter(s) at PRD.P00 found..."},
      {"a name with its own extension",
       {{exeXml + "prd.p01", Profile()}},
       {"prd.p01"},
       "C:\\work",
       kReachedConnection},
      {"a name that no longer fits with its extension",
       {},
       {std::string(60, 'n')},
       "C:\\work",
       "Error 1041: Profile-Name " + std::string(60, 'n') + ".P00 is longer than 63 characters !"},
  });
}

TEST(ProfileSetEndToEnd, OtherFlavoursOpenThePathOnTheCommandLine) {
  RunCases({
      {"Vigilor, a directory that is no custom-sensor directory",
       {{"D:\\Sensors\\PRD.P00", Profile()}},
       {"/Flavour=Vigilor", "D:\\Sensors\\PRD"},
       "C:\\work",
       kReachedConnection},
      {"Quillon, the current directory",
       {{"C:\\work\\PRD.P00", Profile()}},
       {"/Flavour=Quillon", "PRD"},
       "C:\\work",
       kReachedConnection},
      {"Tendril, missing: the full path",
       {{InstallationDirectory("C", "Program Files") + "PRD.P00", Profile()}},
       {"/Flavour=Tendril", "D:\\Sensors\\PRD"},
       "C:\\work",
       "Error 1002: Profile D:\\Sensors\\PRD.P00 is missing..."},
      {"Nebulant, missing",
       {},
       {"/Flavour=Nebulant", "D:\\Sensors\\PRD"},
       "C:\\work",
       "Error 100x: Profile D:\\Sensors\\PRD.P00 is missing..."},
  });
}

// A profile must be a file: a FIFO would keep the run waiting for a writer for ever, a device
// would be read as an empty profile. On Windows the device names (NUL, CON, ...) stand for
// devices in every folder, with any extension.
TEST(ProfileSetEndToEnd, AProfileThatIsNoFileIsMissing) {
  Drives drives;
  drives.MakeDirectory("D:\\S");
  std::string name = "NUL";
  if (!testsupport::UnderWine()) {
    name = "FIFO";
    ASSERT_EQ(mkfifo(drives.HostPath("D:\\S\\FIFO.P00").c_str(), 0600), 0);
  }
  const ProcessResult result = drives.RunSensor({"/Flavour=Tendril", "D:\\S\\" + name});
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(ErrorText(result), "Error 1002: Profile D:\\S\\" + name + ".P00 is missing...");
  EXPECT_EQ(result.exitCode, 2);
}

TEST(ProfileSetEndToEnd, ListingNamesOpenTheirListingFile) {
  const std::string exeXml = InstallationDirectory("C", "Program Files");
  // Each selected file is missing; the message names it.
  const std::vector<std::pair<std::string, std::string>> files = {{exeXml + "PRD.P00", Profile()}};
  const std::string global = "Error 1002: Profile Talvex.Gbl is missing...";
  const std::string item = "Error 1002: Profile Talvex.Prf is missing...";
  RunCases({
      {"GLOBAL", files, {"GLOBAL"}, "C:\\work", global},
      {"global", files, {"global"}, "C:\\work", global},
      {"GLOBAL.P00", files, {"GLOBAL.P00"}, "C:\\work", global},
      {"a path ending in Global.p00", files, {"C:\\x\\Global.p00"}, "C:\\work", global},
      {"a path ending in Global.p00, another flavour",
       files,
       {"/Flavour=Vigilor", "C:\\x\\Global.p00"},
       "C:\\work",
       "Error 1002: Profile C:\\x\\Talvex.Gbl is missing..."},
      {"ITEM=", files, {"PRD", "ITEM=Response:Time"}, "C:\\work", item},
      {"item= in any letter case, even with GLOBAL",
       files,
       {"GLOBAL", "x iTeM=a"},
       "C:\\work",
       item},
  });
}

// A profile in the usual place, written by sapprofile with the password on standard input.
class ProfileToolEndToEnd : public testing::Test {
 protected:
  ProfileToolEndToEnd() { drives_.MakeDirectory(InstallationDirectory("C", "Program Files")); }

  const std::string profile_ = InstallationDirectory("C", "Program Files") + "PRD.P00";
  Drives drives_;

  // `input` is what standard input holds: the password and a line end. A run that ends before
  // it reads its input is given none, or the test would die of SIGPIPE writing it.
  ProcessResult Write(const std::string& input, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments{
        "write",    profile_,    "--company",   "ACME",      "--destination", "PRD",
        "--client", "100",       "--user",      "monitor",   "--language",    "E",
        "--mode",   "R/3",       "--host",      "127.0.0.1", "--sysnr",       "00",
        "--gwhost", "127.0.0.1", "--gwservice", "01"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return drives_.Run("sapprofile", arguments, "C:\\work", input);
  }
};

TEST_F(ProfileToolEndToEnd, TheSensorReadsWhatTheToolWrote) {
  ProcessResult written = Write("Pass word#1\n");
  ASSERT_EQ(written.exitCode, 0) << written.err;
  EXPECT_EQ(drives_.Read(profile_)->find("Pass word#1"), std::string::npos);

  ProcessResult check = drives_.Run("sapprofile", {"check", profile_});
  EXPECT_EQ(check.exitCode, 0);
  EXPECT_NE(check.out.find("User.......: \"MONITOR\""), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("Password...: decodes, 11 characters"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("Single run: accepted"), std::string::npos) << check.out;
  EXPECT_EQ(check.out.find("Pass word#1"), std::string::npos);

  ProcessResult run = drives_.RunSensor({"PRD"});
  EXPECT_EQ(ErrorText(run), kReachedConnection);
  EXPECT_EQ(run.exitCode, 2);
}

TEST_F(ProfileToolEndToEnd, ADamagedPasswordIsReportedByBothFrontEnds) {
  ASSERT_EQ(Write("Secret12\n").exitCode, 0);
  std::string text = *drives_.Read(profile_);
  const std::size_t stored = text.find("Password...: ") + 13;
  text[stored] = static_cast<char>(text[stored] ^ 1);  // the check digit, another digit
  drives_.Write(profile_, text);

  const std::string wrong = "Error 1005: Wrong Password in Profile PRD.P00 found...";
  ProcessResult check = drives_.Run("sapprofile", {"check", profile_});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_NE(check.out.find("Single run: refused with " + wrong), std::string::npos) << check.out;
  EXPECT_EQ(ErrorText(drives_.RunSensor({"PRD"})), wrong);
}

TEST_F(ProfileToolEndToEnd, RefusesWhatItCannotStore) {
  ProcessResult tooLong = Write(std::string(21, 'p') + "\n");
  EXPECT_EQ(tooLong.exitCode, 1);
  EXPECT_NE(tooLong.err.find("Password: at most 20 characters"), std::string::npos) << tooLong.err;
  EXPECT_FALSE(drives_.Read(profile_));

  // The password is never an option: other users could read it from the process list.
  ProcessResult onCommandLine = Write("", {"--password", "Secret12"});
  EXPECT_NE(onCommandLine.exitCode, 0);
  EXPECT_FALSE(drives_.Read(profile_));

  ASSERT_EQ(Write("Secret12\n").exitCode, 0);
  ProcessResult again = Write("");
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("--force"), std::string::npos);
  EXPECT_EQ(Write("Other123\n", {"--force"}).exitCode, 0);
}

// A symbolic link at the profile's place, dangling or not, is a file that exists: refused
// without --force, and with it replaced by the profile, never written through.
TEST_F(ProfileToolEndToEnd, ASymbolicLinkIsNeverWrittenThrough) {
  if (testsupport::UnderWine()) {
    GTEST_SKIP() << "Wine shows a Windows program a host's symbolic link as what it points to, "
                    "and a dangling one as nothing: no NTFS link to test with";
  }
  const std::string target = drives_.HostPath("C:\\work\\elsewhere.txt");
  for (const bool dangling : {true, false}) {
    SCOPED_TRACE(dangling ? "dangling" : "to a file");
    std::filesystem::remove(drives_.HostPath(profile_));
    std::filesystem::remove(target);
    if (!dangling) drives_.Write("C:\\work\\elsewhere.txt", "someone else's file");
    std::filesystem::create_symlink(target, drives_.HostPath(profile_));

    ProcessResult refused = Write("");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(drives_.Read("C:\\work\\elsewhere.txt"),
              dangling ? std::nullopt : std::optional<std::string>("someone else's file"));

    ASSERT_EQ(Write("Secret12\n", {"--force"}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::is_symlink(drives_.HostPath(profile_)));
    EXPECT_NE(drives_.Read(profile_)->find("Destination: PRD"), std::string::npos);
    EXPECT_EQ(drives_.Read("C:\\work\\elsewhere.txt"),
              dangling ? std::nullopt : std::optional<std::string>("someone else's file"));
  }
}

// sapprofile check finds a profile as the sensor does and says what the sensor makes of it: the
// report names the file read, and the sensor, run with the same name from the same folder, ends
// as the report says.
TEST(ProfileToolAndSensorEndToEnd, CheckFindsABareNameWhereTheSensorLooks) {
  const std::string usual = InstallationDirectory("C", "Program Files");
  const std::string hinted = "D:\\Monitor\\" + std::string(kExeXml);
  struct ToolCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // Windows path, content
    std::vector<std::string> arguments;
    std::string currentDirectory;
    int exitCode;
    std::vector<std::string> out;  // pieces of standard output
    std::vector<std::string> err;  // pieces of standard error; none: it stays empty
    std::string sensorMessage;     // what the sensor ends with; empty: a path, not run
  } cases[] = {
      {"a bare name in the usual folder on the current drive",
       {{usual + "PRD.P00", Profile()}},
       {"check", "PRD"},
       "C:\\work",
       0,
       {"Profile " + usual + "PRD.P00 (found in the monitor's usual folder on the current drive)",
        "Single run: accepted"},
       {},
       kReachedConnection},
      {"the hint file's folder before the usual one",
       {{"C:\\PRTG_Path.Txt", "D:\\Monitor\r\n"},
        {hinted + "PRD.P00", Profile()},
        {usual + "PRD.P00", Decoy()}},
       {"check", "PRD"},
       "C:\\work",
       0,
       {"Profile " + hinted + "PRD.P00 (found through C:\\PRTG_Path.Txt)", "Single run: accepted"},
       {},
       kReachedConnection},
      {"run in the custom-sensor folder: found in the current folder, which the sensor refuses",
       {{usual + "PRD.P00", Profile()}},
       {"check", "PRD"},
       usual.substr(0, usual.size() - 1),
       1,
       {"Profile " + usual + "PRD.P00 (found in the current folder)",
        "Single run: refused with Sorry, invalid Path-Usage..."},
       {"warning: " + usual + "PRD.P00 was found in the current folder", "C:\\PRTG_Path.Txt"},
       kPlaceRefused},
      {"with the hint file, run in the custom-sensor folder itself",
       {{"C:\\PRTG_Path.Txt", "C:\\Program Files\\PRTG Network Monitor\r\n"},
        {usual + "PRD.P00", Profile()}},
       {"check", "PRD"},
       usual.substr(0, usual.size() - 1),
       0,
       {"Profile " + usual + "PRD.P00 (found through C:\\PRTG_Path.Txt)", "Single run: accepted"},
       {},
       kReachedConnection},
      {"the hint file names a folder that is no custom-sensor folder",
       {{"C:\\PRTG_Path.Txt", "D:\\Sensors"}, {"D:\\Sensors\\PRD.P00", Profile()}},
       {"check", "PRD"},
       "C:\\work",
       1,
       {"Profile D:\\Sensors\\PRD.P00 (found through C:\\PRTG_Path.Txt)",
        "Single run: refused with Sorry, invalid Path-Usage..."},
       {"warning: the sensor reads no profile from D:\\Sensors\\: ", "EXEXML"},
       kPlaceRefused},
      {"nowhere: the places searched, and the sensor's message",
       {{"C:\\Sensors\\PRD.P00", Profile()}},
       {"check", "PRD"},
       "D:\\work",
       2,
       {},
       {"PRD.P00 is in none of the places the sensor looks", "  D:\\work\\PRD.P00\n",
        "  D:\\Program Files (x86)\\" + std::string(kExeXml) + "PRD.P00\n",
        "The sensor ends with " + kMissing},
       kMissing},
      {"a path is read where it is, with the default extension, and its folder is judged",
       {{"D:\\Sensors\\PRD.P00", Profile()}},
       {"check", "D:\\Sensors\\PRD"},
       "C:\\work",
       0,
       {"Profile D:\\Sensors\\PRD.P00, read as a single run",
        "Single run: accepted, but the EXEXML form reads no profile from its folder\n"},
       {"warning: the sensor reads no profile from D:\\Sensors\\: "},
       ""},
      {"a path into a custom-sensor folder, relative to the current one",
       {{"D:\\Monitor\\Custom Sensors\\EXEXML\\QAS.P00", Profile()}},
       {"check", "EXEXML\\QAS.P00"},
       "D:\\Monitor\\Custom Sensors",
       0,
       {"Profile D:\\Monitor\\Custom Sensors\\EXEXML\\QAS.P00, read", "Single run: accepted\n"},
       {},
       ""},
  };
  for (const ToolCase& c : cases) {
    SCOPED_TRACE(c.what);
    Drives drives;
    for (const auto& [path, content] : c.files) drives.Write(path, content);
    const ProcessResult check = drives.Run("sapprofile", c.arguments, c.currentDirectory);
    EXPECT_EQ(check.exitCode, c.exitCode);
    for (const std::string& piece : c.out) {
      EXPECT_NE(check.out.find(piece), std::string::npos) << piece << " in\n" << check.out;
    }
    if (c.err.empty()) {
      EXPECT_EQ(check.err, "");
    }
    for (const std::string& piece : c.err) {
      EXPECT_NE(check.err.find(piece), std::string::npos) << piece << " in\n" << check.err;
    }
    if (!c.sensorMessage.empty()) {
      EXPECT_EQ(ErrorText(drives.RunSensor({c.arguments[1]}, c.currentDirectory)), c.sensorMessage);
    }
  }
}

// What sapprofile write accepts and where it says the file went: the password's line end goes,
// a blank before it stays only on purpose, the mode is one the sensor knows, and a folder the
// sensor never reads is warned of.
TEST(ProfileToolAndSensorEndToEnd, WriteTakesWhatTheSensorWillUse) {
  const std::string usual = InstallationDirectory("C", "Program Files");
  struct WriteCase {
    const char* what;
    std::string currentDirectory;
    std::string profile;
    std::string input;
    std::vector<std::string> options;
    int exitCode;
    std::string written;           // the full path; empty: nothing written
    std::vector<std::string> err;  // pieces of standard error; none: it stays empty
    std::string password;          // what check says of the stored password
  } cases[] = {
      {"a line end, LF or CR LF, is no part of the password",
       "C:\\work",
       usual + "PRD",
       "secret\r\n",
       {},
       0,
       usual + "PRD.P00",
       {},
       "decodes, 6 characters"},
      {"a trailing blank, as cmd's echo leaves it, is refused",
       "C:\\work",
       usual + "PRD.P00",
       "secret \n",
       {},
       1,
       "",
       {"Password: ends with a blank", "--keep-trailing-blanks", usual + "PRD.P00 not written"},
       ""},
      {"trailing blanks kept on purpose",
       "C:\\work",
       usual + "PRD.P00",
       "secret  \n",
       {"--keep-trailing-blanks"},
       0,
       usual + "PRD.P00",
       {},
       "decodes, 8 characters"},
      {"a mode the sensor does not know",
       "C:\\work",
       usual + "PRD.P00",
       "secret\n",
       {"--mode", "R/4"},
       105,
       "",
       {"--mode: R/4 not in {R/3,R/2}"},
       ""},
      {"R/2, through the gateway",
       "C:\\work",
       usual + "PRD.P00",
       "secret\n",
       {"--mode", "R/2"},
       0,
       usual + "PRD.P00",
       {},
       "decodes, 6 characters"},
      {"a bare name in a folder the sensor never reads: written there, with a warning",
       "D:\\Profiles",
       "PRD",
       "secret\n",
       {},
       0,
       "D:\\Profiles\\PRD.P00",
       {"warning: the sensor reads no profile from D:\\Profiles\\: "},
       "decodes, 6 characters"},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.what);
    Drives drives;
    drives.MakeDirectory(usual);
    std::vector<std::string> arguments{"write",         c.profile,   "--company",   "ACME",
                                       "--destination", "PRD",       "--client",    "100",
                                       "--user",        "monitor",   "--language",  "E",
                                       "--host",        "127.0.0.1", "--sysnr",     "00",
                                       "--gwhost",      "127.0.0.1", "--gwservice", "01"};
    if (std::find(c.options.begin(), c.options.end(), "--mode") == c.options.end()) {
      arguments.insert(arguments.end(), {"--mode", "R/3"});
    }
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const ProcessResult write = drives.Run("sapprofile", arguments, c.currentDirectory, c.input);
    EXPECT_EQ(write.exitCode, c.exitCode);
    if (c.err.empty()) {
      EXPECT_EQ(write.err, "");
    }
    for (const std::string& piece : c.err) {
      EXPECT_NE(write.err.find(piece), std::string::npos) << piece << " in\n" << write.err;
    }
    if (c.written.empty()) {
      EXPECT_EQ(write.out, "");
      EXPECT_FALSE(drives.Read(usual + "PRD.P00"));
      continue;
    }
    EXPECT_EQ(write.out, "sapprofile: " + c.written + " written\n");
    const ProcessResult check = drives.Run("sapprofile", {"check", c.written});
    EXPECT_NE(check.out.find("Password...: " + c.password), std::string::npos) << check.out;
  }
}

}  // namespace
