// What a conversation with one system came to: how it ended, what the system said about
// itself, how long each step took, and the library's reason where it failed.
#pragma once

#include <string>

#include "src/output/durations.h"
#include "src/output/error_block.h"
#include "src/output/system_text.h"

enum class Outcome {
  NotOpened,        // the connection could not be opened
  NotCalled,        // opened and closed without the call, as the caller asked
  Answered,         // RFC_SYSTEM_INFO answered
  Exception,        // the function raised an exception, named in `exception`
  SystemException,  // the system raised a system exception
  CallFailed,       // the call failed
  OtherFailure,     // the call ended in any other way
  LibraryFailed,    // the library failed; `libraryFailure` says how
};

struct Conversation {
  Outcome outcome = Outcome::NotOpened;
  bool throughSapRfcIni = false;  // opened through SapRfc.ini (the per-destination file)
  std::string exception;
  // Where the connection was not opened or the call failed: " - " and the library's reason,
  // or a hint where to look for it.
  std::string reason;
  LibraryFailure libraryFailure;
  SystemFields fields;  // when Answered
  Durations times;      // processing only when called; none when not opened

  bool opened() const { return outcome != Outcome::NotOpened; }
  bool answered() const { return outcome == Outcome::Answered; }
};

// The error text of a failed call (Exception, SystemException, CallFailed, OtherFailure):
// Error 1012 with the exception's name, 1013, 1014 or 1015.
std::string CallFailureMessage(const Conversation& conversation);
