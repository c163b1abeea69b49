// One conversation with a system: the library set up, the connection opened, RFC_SYSTEM_INFO
// called, the connection closed, each step timed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "src/output/console.h"
#include "src/output/system_text.h"
#include "src/rfc/connection.h"
#include "src/rfc/saprfc.h"
#include "src/rfc/working_folder.h"

// "Ok" once the system answered the call; "Err" when the call failed or was not made.
enum class CallStatus { Err, Ok };

struct Conversation {
  bool opened = false;            // false: no connection, nothing further was tried
  bool throughSapRfcIni = false;  // opened through SapRfc.ini and a connect string
  CallStatus status = CallStatus::Err;
  std::int32_t code = RFC_OK;  // the call's return code
  std::string exception;       // the exception's name, for codes 2 and 3
  SystemFields fields;         // when the status is Ok
  Durations times;             // processing only when called; none when not opened
};

// The run's side of the library: the records it fills for every system and the type handle of
// RFCSI, installed once per run.
class RfcSession {
 public:
  RfcSession() = default;
  explicit RfcSession(EventTrace trace) : trace_(trace) {}

  // Talks to the system of `logon`: sets up the library, opens, calls RFC_SYSTEM_INFO when
  // `call` is set (an invalid listed entry is only connected), closes. The first conversation
  // loads the library and makes the working folder; the run ends when either cannot be had.
  Conversation Converse(const Logon& logon, bool call);

  const EventTrace& trace() const { return trace_; }
  // The library's operations once a conversation has loaded it; nothing before.
  const RfcOperations* operations() const { return operations_; }

  // The note for a failed call, from this run's own trace.
  std::string TraceNote() const;

  // Hands this run's trace over to the sensor's directory and removes its working folder; the
  // run calls it however it ends.
  void Finish();

 private:
  EventTrace trace_;
  // Loaded when the run first needs the library, so that a run that ends before needs none.
  const RfcOperations* operations_ = nullptr;
  OpenRecords records_;
  RfcType rfcsiType_ = 0;
  // Made before the library is first set up.
  std::optional<WorkingFolder> folder_;
};
