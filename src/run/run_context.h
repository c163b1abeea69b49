// The run's own state: one RunContext lives for the whole run, from main to the exit, and only
// the run's phases see it.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "src/config/parameters.h"
#include "src/config/password.h"
#include "src/config/profile_set.h"
#include "src/config/system_entry.h"
#include "src/output/document.h"
#include "src/output/text_output.h"
#include "src/platform/child_process.h"
#include "src/rfc/library_choice.h"
#include "src/rfc/rfc_client.h"

// Reads a listed profile into the run's entry: the file system in the program, a table in tests.
using ListedProfileReader = std::function<ListedProfile(const std::string& path, SystemEntry&)>;

class ListedSystems;
class ListingReport;

struct RunContext {
  RunContext() = default;
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  TextOutput* out = &StandardOutput();
  // When the run started: its deadline counts from here.
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();

  std::string secondArgument;  // as typed; empty when absent
  Parameters parameterText;
  std::string startTime;  // HH:MM:SS
  std::string banner;     // "* HH:MM:SS SAP SysInfo Vers ..."
  PasswordKey passwordKeyTable{};

  ProfileSet profile;
  // The system being checked; a listing run reads every listed profile into it in turn, so a
  // value that a later profile does not name stays as an earlier one set it.
  SystemEntry entry;
  ListedProfileReader readListedProfile;

  Document resultDocument;

  // The RFC library, loaded when the first system is checked, so that a run that ends before
  // needs none.
  RfcClientFactory loadClient = LoadRfcClient;
  std::unique_ptr<RfcClient> client;
  // Watches the library's operations; made with the client.
  std::unique_ptr<LibraryWatch> libraryWatch;
  // A listing run's system being checked, as the deadline's message names it.
  std::string currentSystem;
  // How a listing checks several systems at a time; nothing: one at a time in this process
  // whatever ",PARALLEL=" says, as the tests of the listing's rules do.
  std::function<std::optional<int>(RunContext&, ListedSystems&, ListingReport&)> checkInParallel;
  // The processes of a listing's systems that have reported and may still hand their trace
  // over: waited for once the document is out.
  std::vector<std::unique_ptr<platform::ChildProcess>> finishingChildren;
};
