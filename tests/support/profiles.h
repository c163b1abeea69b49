// Profiles for end-to-end tests, written by sapprofile as a user would, and the sensor's
// output with its measured times masked.
#pragma once

#include <string>
#include <vector>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"

namespace testsupport {

// The custom-sensor directory the sensor finds without a hint file.
inline constexpr const char* kSensorDirectory =
    "C:\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";

struct ProfileValues {
  std::string company = "ACME";
  std::string destination = "PRD";
  std::string client = "100";
  std::string user = "monitor";
  std::string language = "E";
  std::string mode = "R/3";
  std::string host = "127.0.0.1";
  std::string sysnr = "00";
  std::string gwhost = "127.0.0.1";
  std::string gwservice;  // the port of the system to reach
};

// Writes the profile with sapprofile, the password typed on standard input. Fails the test
// when the tool refuses.
void WriteProfile(const Drives& drives, const std::string& windowsPath, const ProfileValues& values,
                  const std::string& password);

// The profile `system`.P00 in the custom-sensor directory for the sapsim system of that name:
// its destination is the name, its gateway service the system's port, its password "secret".
void WriteSystemProfile(const Drives& drives, const Sapsim& sim, const std::string& system);

// The text with every run of four or more digits (the measured times) replaced by "####";
// the numbers replaced, in order, go to `times` when it is given.
std::string MaskTimes(const std::string& text, std::vector<long>* times = nullptr);

// HH:MM:SS of the console lines as hh:mm:ss.
std::string MaskClock(std::string text);

// An XML channel with the unit every channel of the sensor has, its value masked.
std::string XmlChannel(const std::string& name);

// The error document around a message.
std::string ErrorDocument(const std::string& message);

// How many systems a listing run checks at a time in a test: as many as it checks by default,
// each in a process of its own, or one at a time in its own process (",PARALLEL=1"). Either
// way the document is the same.
enum class SystemsAtATime { Default, One };
std::string NameOf(SystemsAtATime systems);
// The command line for that: ",PARALLEL=1" goes into the third argument, so that the second
// stays as typed (messages repeat it) and the first word stays the sensor id.
std::vector<std::string> WithSystemsAtATime(std::vector<std::string> arguments,
                                            SystemsAtATime systems);

// A listing test's variant: how many systems at a time, through which RFC library.
struct ListingVariant {
  SystemsAtATime systems;
  RfcLibrary library;
};
// Every combination, and a name for each (such as "OneAtATime_NetWeaver").
std::vector<ListingVariant> ListingVariants();
std::string NameOf(const ListingVariant& variant);

// How many processes of the program at that host path still run (under Wine: none is seen);
// the parts of a run that ended a moment ago get a second to go.
std::size_t ProcessesOf(const std::string& hostProgram);

}  // namespace testsupport
