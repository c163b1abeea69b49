// The numbered messages of the system, and how a run that detects a failure ends.
#pragma once

#include <string>
#include <string_view>

#include "src/run/run_context.h"

enum class Message {
  PathCheckCreated,            // Info 0000
  ProfileNameMissing,          // 1001
  ProfilePathMissing,          // 1002, the full path (flavours other than EXEXML)
  ProfileNameMissingHere,      // 1002, the bare name (EXEXML discovery)
  ProfilePathMissingNebulant,  // 100x
  InvalidParameters,           // 1003
  InvalidPassword,             // 1004
  WrongPassword,               // 1005
  OpenFailed,                  // 1011
  CallException,               // 1012
  CallSysException,            // 1013
  CallRfcFailure,              // 1014
  CallOtherFailure,            // 1015
  DefaultProfileMissing,       // 1024
  GlobalListingMissing,        // 10x1
  ServerListingMissing,        // 1025
  ItemMissing,                 // 1026
  InvalidAllocation,           // 1029
  SensorNotFound,              // 1030
  ListingOpenError,            // 1033
  InvalidPathUsage,            // no number
  ProfileNameTooLong,          // 1041
  ParametersTooLong,           // 1042
  UnknownFlavour,              // 1043
  ProfilePathTooLong,          // 1044
};

// The message's text with its variable part (if it has one) put in.
std::string MessageFor(Message message, std::string_view variable = {});

// Ends the run: the text becomes the error document, which main prints before it returns the
// exit code. Never returns.
[[noreturn]] void EndRunWithMessage(RunContext& run, std::string_view text, int exitCode);
// The same with a catalogued message and its own exit code.
[[noreturn]] void EndRun(RunContext& run, Message message, std::string_view variable = {});

// Thrown by EndRunWithMessage; the document to print is the run's ResultDocument.
struct RunEnded {
  int exitCode;
};
