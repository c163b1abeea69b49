// The numbered messages of the system, and how a run that detects a failure ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The capacities of the command line's arguments. Longer ones are refused, not cut: a cut
// parameter text could drop a keyword and the sensor would report the wrong thing. The
// messages that refuse them state these numbers.
inline constexpr std::size_t kProfileNameCapacity = 63;
inline constexpr std::size_t kParameterTextCapacity = 119;
// The most milliseconds a channel's limit may name.
inline constexpr std::size_t kLargestLimit = 999999;
// How long a run may take, in seconds: the monitor's own timeout for a sensor is 60 by default,
// and one of up to 900 can be set.
inline constexpr std::size_t kDefaultTimeout = 55;
inline constexpr std::size_t kLargestTimeout = 900;
// How many systems a listing run checks at a time, each in a process of its own.
inline constexpr std::size_t kDefaultParallel = 8;
inline constexpr std::size_t kLargestParallel = 32;

// Every message of the catalogue, in the catalogue's order.
enum class MessageId {
  PathCheckCreated,            // Info 0000
  ProfileNameMissing,          // 1001
  ProfileMissing,              // 1002: the full path, or in EXEXML the bare name
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
  UnexpectedFailure,           // 1044
  WorkingFolderMissing,        // 1045
  InvalidLimit,                // 1046
  RfcLibraryUnusable,          // 1047
  NoAnswer,                    // 1048
  InvalidTimeout,              // 1049
  LibraryQuit,                 // 1050
  InvalidParallel,             // 1051
  Count,
};

// An argument as a message repeats it: cut to its capacity, with "..." when it is longer.
std::string EchoedArgument(std::string_view argument, std::size_t capacity);

// The message's text with its variable part (if it has one) put in.
std::string MessageFor(MessageId message, std::string_view variable = {});
int ExitCodeOf(MessageId message);

// Thrown to end a run: main wraps the message into the error document, prints it and returns
// the exit code.
struct RunEnded {
  std::string message;
  int exitCode;
};

// Ends the run with a message of the catalogue and its exit code. Never returns.
[[noreturn]] void EndRun(MessageId message, std::string_view variable = {});
// Ends the run with a composed text.
[[noreturn]] void EndRunWithMessage(std::string message, int exitCode);
