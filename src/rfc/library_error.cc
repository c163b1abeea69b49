// The handler that the RFC library calls when an operation fails, and how it reaches the run.
#include "src/rfc/library_error.h"

#include <cstdlib>

#include "src/output/console.h"
#include "src/rfc/conversation.h"
#include "src/rfc/system_info.h"

namespace {

const Document* reportingDocument = nullptr;
RfcSession* reportingSession = nullptr;

}  // namespace

void SetUpRfcEnvironment(const RfcOperations& rfc) {
  static RfcEnvironmentRecord environment{ReportRfcErrorAndExit, nullptr};
  rfc.environment(&environment);
}

void ReportRfcErrorsIn(const Document* document, RfcSession* session) {
  reportingDocument = document;
  reportingSession = session;
}

extern "C" void RFC_CALL ReportRfcErrorAndExit(const char* operation) {
  // The run names its session and document before the session can load the library and
  // install this handler.
  const RfcOperations& rfc = *reportingSession->operations();
  RfcErrorInfo info{};
  rfc.lastError(&info);
  const RfcErrorTexts error{
      operation != nullptr ? operation : "", std::string(BoundedText(info.key, sizeof info.key)),
      std::string(BoundedText(info.status, sizeof info.status)),
      std::string(BoundedText(info.message, sizeof info.message)),
      std::string(BoundedText(info.internalStatus, sizeof info.internalStatus))};
  const RfcErrorOutput output = reportingDocument->RfcError(error);
  Print(output.beforeClose);
  // What the library said is out before it is asked to close anything, whatever that does.
  FlushOutput();
  rfc.close(0);
  reportingSession->Finish();
  Print(output.afterClose);
  // Nothing else runs on top of the library's unfinished operation. A document that did not
  // reach the monitor whole is no library error to report: 2.
  std::_Exit(FlushOutput() ? 1 : 2);
}
