// Conversations through the classic RFC library (librfc32).
#include "src/rfc/classic_client.h"

#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/rfc/classic_call.h"
#include "src/rfc/trace.h"

ClassicRfcClient::ClassicRfcClient(const RfcOperations& rfc, WorkingFolder folder,
                                   LibraryWatch& watch)
    : rfc_(rfc), folder_(std::move(folder)), bridge_(rfc_, folder_, watch) {}

Conversation ClassicRfcClient::Converse(const Logon& logon, CallChoice call) {
  // Outside its own folder the library would read the shared SapRfc.ini and write into the
  // shared trace, which the folder is there to prevent.
  const std::optional<WorkingFolder::Inside> inside = folder_.Enter();
  if (!inside) EndRun(MessageId::WorkingFolderMissing, folder_.path());
  Conversation conversation;
  // The response time runs from before the library is set up to after the close.
  const std::int32_t responseStart = platform::ClockMilliseconds();
  bridge_.SetUpEnvironment();

  const OpenedConnection opened = OpenConnection(rfc_, bridge_.watch(), logon, records_, folder_);
  conversation.throughSapRfcIni = opened.throughSapRfcIni;
  if (opened.handle == 0) {
    conversation.reason = TraceNote();
    NameSystemInTrace(logon);
    return conversation;
  }
  conversation.outcome = Outcome::NotCalled;
  conversation.times.open = platform::ClockMilliseconds() - responseStart;

  if (call == CallChoice::CallSystemInfo) {
    const std::int32_t processingStart = platform::ClockMilliseconds();
    if (!InstallRfcsi(rfc_, bridge_.watch(), rfcsiType_)) {
      conversation.outcome = Outcome::LibraryFailed;
      conversation.libraryFailure = LastLibraryError(rfc_, "RfcInstallStructure");
    } else {
      CallResult result = CallSystemInfo(rfc_, bridge_.watch(), opened.handle, rfcsiType_);
      conversation.outcome = OutcomeOfCode(result.code);
      conversation.exception = std::move(result.exception);
      conversation.fields = std::move(result.fields);
    }
    conversation.times.processing = platform::ClockMilliseconds() - processingStart;
  }

  const std::int32_t closeStart = platform::ClockMilliseconds();
  {
    const OperationInProgress operation(bridge_.watch(), "RfcClose");
    rfc_.close(opened.handle);
  }
  const std::int32_t closeEnd = platform::ClockMilliseconds();
  conversation.times.close = closeEnd - closeStart;
  conversation.times.response = closeEnd - responseStart;
  if (!conversation.answered() && conversation.outcome != Outcome::NotCalled &&
      conversation.outcome != Outcome::LibraryFailed) {
    conversation.reason = TraceNote();
  }
  return conversation;
}

void ClassicRfcClient::NameSystemInTrace(const Logon& logon) const {
  // The library's section names the partner it could not reach, not the system the
  // administrator knows; a listing's Error 1033 names none either. A line in the form the
  // NetWeaver library's sections have, which the trace note does not read, says which it was.
  // Without a section of the library's there is nothing to add it to.
  const std::unique_ptr<platform::File> trace = folder_.OpenOwnFile(kTraceFile);
  if (!trace || !trace->ReadPiece(1)) return;
  static_cast<void>(folder_.AddToOwnTrace(
      TraceLine("      system ", logon.system + " (" + logon.destination + ")")));
}

std::string ClassicRfcClient::TraceNote() const {
  return ::TraceNote(folder_.OpenOwnFile(kTraceFile));
}

void ClassicRfcClient::Finish() { folder_.Finish(); }
