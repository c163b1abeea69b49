// Conversations through the NetWeaver RFC library (sapnwrfc): the connection opened with logon
// parameters, RFC_SYSTEM_INFO looked up, invoked and its record read field by field, the
// connection closed, each step timed, and every outcome given the document the classic
// library's gives.
#pragma once

#include <string>

#include "src/rfc/rfc_client.h"
#include "src/rfc/rfc_library.h"
#include "src/rfc/working_folder.h"

class NwRfcClient : public RfcClient {
 public:
  // The library loaded from `libraryFile`, the run's folder made. The library writes no trace of
  // its own: the client writes a section in the classic library's form for every failure into
  // the run's trace, which goes to the shared Dev_Rfc.Trc at the run's end.
  NwRfcClient(const NwRfcOperations& rfc, const std::string& libraryFile, WorkingFolder folder,
              LibraryWatch& watch);

  [[nodiscard]] Conversation Converse(const Logon& logon, CallChoice call) override;
  void Finish() override;

 private:
  struct Failure;

  // The section of a failure in the run's trace; the reason the document gives.
  std::string Report(std::string_view operation, const Logon& logon, const Failure& failure);
  void Call(const Logon& logon, nwrfc::RFC_CONNECTION_HANDLE connection,
            Conversation& conversation);

  const NwRfcOperations& rfc_;
  std::string library_;  // its file and version, as the trace names it
  WorkingFolder folder_;
  LibraryWatch& watch_;
};
