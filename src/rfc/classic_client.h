// Conversations through the classic RFC library (librfc32): the library set up, the connection
// opened, RFC_SYSTEM_INFO called, the connection closed, each step timed.
#pragma once

#include "src/rfc/classic_error_handler.h"
#include "src/rfc/classic_open.h"
#include "src/rfc/rfc_client.h"
#include "src/rfc/rfc_library.h"
#include "src/rfc/working_folder.h"

class ClassicRfcClient : public RfcClient {
 public:
  // The library loaded, the run's folder made: the library works there for each conversation.
  ClassicRfcClient(const RfcOperations& rfc, WorkingFolder folder, LibraryWatch& watch);

  [[nodiscard]] Conversation Converse(const Logon& logon, CallChoice call) override;
  void Finish() override;

 private:
  // The library's reason for a failure, from this run's own trace.
  std::string TraceNote() const;
  // After a failed open: names the system below the library's section of this run's trace.
  void NameSystemInTrace(const Logon& logon) const;

  const RfcOperations& rfc_;
  WorkingFolder folder_;
  ClassicErrorBridge bridge_;
  // Filled for every system; the records point into their copies.
  OpenRecords records_;
  // RFCSI's type handle, installed at the first call of the run.
  RfcType rfcsiType_ = 0;
};
