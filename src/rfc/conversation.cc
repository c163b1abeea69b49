// One conversation with a system: the library set up, the connection opened, RFC_SYSTEM_INFO
// called, the connection closed, each step timed.
#include "src/rfc/conversation.h"

#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/platform/folder.h"
#include "src/rfc/library_error.h"
#include "src/rfc/system_info.h"
#include "src/rfc/trace.h"

namespace {

// The library's operations for the whole process: it is loaded once and never unloaded.
const RfcOperations& LoadedLibrary() {
  static const RfcLibrary library = LoadRfcLibrary(SensorLibrarySearch());
  if (const auto* problem = std::get_if<RfcLibraryProblem>(&library)) {
    EndRun(MessageId::RfcLibraryUnusable, DescribeRfcLibraryProblem(*problem));
  }
  return std::get<RfcOperations>(library);
}

}  // namespace

Conversation RfcSession::Converse(const Logon& logon, bool call) {
  if (operations_ == nullptr) operations_ = &LoadedLibrary();
  const RfcOperations& rfc = *operations_;
  if (!folder_) {
    folder_ = WorkingFolder::Create();
    if (!folder_) EndRun(MessageId::WorkingFolderMissing, platform::TemporaryFolder());
  }
  const std::optional<WorkingFolder::Inside> inside = folder_->Enter();
  if (!inside) EndRun(MessageId::WorkingFolderMissing, folder_->path());

  Conversation conversation;
  // The response time runs from before the library is set up to after the close.
  const std::int32_t responseStart = platform::ClockMilliseconds();
  SetUpRfcEnvironment(rfc);
  trace_.Event(0, "RfcEnvironment called", "");

  const OpenedConnection opened = OpenConnection(rfc, logon, records_, trace_, *folder_);
  conversation.throughSapRfcIni = opened.throughSapRfcIni;
  if (opened.handle == 0) return conversation;
  conversation.opened = true;
  conversation.times.open = platform::ClockMilliseconds() - responseStart;

  if (call) {
    const std::int32_t processingStart = platform::ClockMilliseconds();
    CallResult result = CallSystemInfo(rfc, opened.handle, rfcsiType_, trace_);
    conversation.times.processing = platform::ClockMilliseconds() - processingStart;
    conversation.code = result.code;
    conversation.exception = std::move(result.exception);
    conversation.fields = std::move(result.fields);
    if (result.code == RFC_OK) conversation.status = CallStatus::Ok;
  }

  const std::int32_t closeStart = platform::ClockMilliseconds();
  rfc.close(opened.handle);
  const std::int32_t closeEnd = platform::ClockMilliseconds();
  conversation.times.close = closeEnd - closeStart;
  conversation.times.response = closeEnd - responseStart;
  return conversation;
}

std::string RfcSession::TraceNote() const {
  return ::TraceNote(folder_ ? folder_->OpenOwnFile(kTraceFile) : nullptr);
}

void RfcSession::Finish() {
  if (folder_) folder_->Finish();
}
