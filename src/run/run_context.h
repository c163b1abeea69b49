// The run's own state: one RunContext lives for the whole run, from main to the exit, and only
// the run's phases see it.
#pragma once

#include <string>

#include "src/config/parameters.h"
#include "src/config/password.h"
#include "src/config/profile_set.h"
#include "src/config/system_entry.h"
#include "src/output/document.h"
#include "src/rfc/conversation.h"

struct RunContext {
  std::string programPath;     // the first word of the command line
  std::string secondArgument;  // as typed; empty when absent
  Parameters parameterText;
  std::string startTime;  // HH:MM:SS
  std::string banner;     // "* HH:MM:SS SAP SysInfo Vers ..."
  PasswordKey passwordKeyTable{};

  ProfileSet profile;
  // The system being checked; a listing run reads every listed profile into it in turn, so a
  // value that a later profile does not name stays as an earlier one set it.
  SystemEntry entry;

  Document resultDocument;
  RfcSession session;
};
