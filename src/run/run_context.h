// The run-wide values: one RunContext lives for the whole run and is handed to each step.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "src/config/password.h"
#include "src/output/flavour.h"
#include "src/platform/file.h"
#include "src/rfc/saprfc.h"

enum class ProfileMode { Single, ItemListing, GlobalListing };
enum class DisplayMode { Profile, Alias, Host, Sid };

// The second and third command-line arguments joined by one blank: as typed, where values are
// taken from, and upper-cased (a to z only), where keywords are searched.
struct ParameterText {
  std::string typed;
  std::string upper;
};

// The eleven values of one system, as read from its profile.
struct SystemEntry {
  std::string Extcompany;
  std::string Destination;
  std::string Client;
  std::string User;
  std::string Password;
  std::string Language;
  std::string Mode;
  std::string Hostname;
  std::string Sysnr;
  std::string Gwhost;
  std::string Gwservice;
};

struct RunContext {
  // Command line.
  OutputFlavour Flavour = OutputFlavour::EXEXML;
  std::string ProgramPath;     // the first word of the command line
  std::string SecondArgument;  // as typed; empty when absent
  std::string ProfileName;
  ParameterText Parameters;
  bool ConsoleTrace = false;
  std::string Banner;              // "* HH:MM:SS SAP SysInfo Vers 4.4 / 15.02.23"
  std::string StartTime;           // HH:MM:SS of the banner
  PasswordKey PasswordKeyTable{};  // built at start-up; unscrambles the profiles' passwords

  // Profile set.
  ProfileMode Mode = ProfileMode::Single;
  std::string ProfileDirectory;  // empty or ending in a backslash
  std::string ItemName;
  std::unique_ptr<platform::File> ProfileStream;

  // The system being checked.
  SystemEntry Entry;
  bool EntryInvalid = false;

  // Listing runs.
  std::string ServerListing;
  DisplayMode Display = DisplayMode::Profile;
  std::string DisplayName;
  std::uint32_t SystemCount = 0;
  std::uint32_t ProcessedCount = 0;
  std::uint32_t FailedCount = 0;
  bool ItemDelivered = false;

  // The conversation with the system.
  std::string CallStatus = "ERR";
  RfcHandle ConnectionHandle = 0;
  std::int32_t ResponseStartTime = 0;
  std::int32_t OpenEndTime = 0;
  std::int32_t CloseStartTime = 0;
  std::int32_t RunResult = 0;
  RfcType RfcsiType = 0;

  // Output.
  std::string ResultDocument;
  std::string ConsoleLine;
  std::int32_t ChannelCount = 0;
  std::FILE* TraceStream = nullptr;  // no step opens it; TraceEvent writes only when it is set

  bool IsListingRun() const { return Mode != ProfileMode::Single; }
};
