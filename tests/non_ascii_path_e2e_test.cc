// Folder names with letters beyond ASCII ("Prüfung", "Łódź"): a path means the same folder
// whether it comes from the command line or from the current directory, on Windows too, where
// the narrow functions would read it in the ANSI code page and lose every letter beyond it.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/profiles.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testsupport::Drives;
using testsupport::ErrorDocument;
using testsupport::ProcessResult;
using testsupport::Sapsim;

// Letters of Windows-1252, the ANSI code page of Western probes, and letters beyond it.
const std::string kProfiles = "D:\\Prüfung Łódź";
const std::string kCurrent = "C:\\Ärger Ω";

TEST(NonAsciiPathEndToEnd, ProfileAndSensorDirectoryMayHoldAnyLetter) {
  Drives drives;
  const json fail = {{"name", "FAIL"}, {"answer", {{"code", 1}, {"message", "FAIL's reason"}}}};
  const Sapsim sim(json{
      {"systems",
       {{{"name", "PRD"}, {"rfcsi", {{"RFCSYSID", "PRD"}}}},
        {{"name", "DS1"}, {"rfcsi", {{"RFCSYSID", "DS1"}}}},
        fail}}}.dump());
  drives.MakeDirectory(kProfiles);
  drives.MakeDirectory("D:\\profiles");
  for (const std::string system : {"PRD", "DS1", "FAIL"}) {
    testsupport::ProfileValues values;
    values.destination = system;
    values.gwservice = system == "DS1" ? "99" : std::to_string(sim.Port(system));
    // Written where sapprofile's own command line needs no such letter, then moved.
    const std::string written = "D:\\profiles\\" + system + ".P00";
    testsupport::WriteProfile(drives, written, values, "secret");
    fs::rename(drives.HostPath(written), drives.HostPath(kProfiles + "\\" + system + ".P00"));
  }
  // Only the per-destination file in the sensor's directory knows where DS1 is.
  drives.Write(kCurrent + "\\SapRfc.DS1", "DEST=DS1\r\nGWHOST=127.0.0.1\r\nGWSERV=" +
                                              std::to_string(sim.Port("DS1")) + "\r\n");

  for (const std::string system : {"PRD", "DS1"}) {
    const ProcessResult result =
        drives.RunSensor({"/Flavour=Tendril", kProfiles + "\\" + system}, kCurrent);
    EXPECT_NE(result.out.find("Sid=" + system + ", "), std::string::npos) << result.out;
    EXPECT_EQ(result.exitCode, 0) << result.out;
  }
  const ProcessResult failed =
      drives.RunSensor({"/Flavour=Tendril", kProfiles + "\\FAIL"}, kCurrent);
  EXPECT_EQ(failed.out, ErrorDocument("Error 1014: RFC-Failure raised ! - FAIL's reason"));
  EXPECT_NE(drives.Read(kCurrent + "\\Dev_Rfc.Trc").value_or("").find("FAIL's reason"),
            std::string::npos);
  EXPECT_TRUE(drives.RunFoldersLeft().empty());
}

}  // namespace
