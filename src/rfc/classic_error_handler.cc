// The handler the classic library calls when an operation fails, and its bridge to the run.
#include "src/rfc/classic_error_handler.h"

#include <cstdlib>

#include "src/rfc/record_text.h"

namespace {

const ClassicErrorBridge* bridge = nullptr;

}  // namespace

ClassicErrorBridge::ClassicErrorBridge(const RfcOperations& rfc, WorkingFolder& folder,
                                       LibraryWatch& watch)
    : rfc_(rfc), folder_(folder), watch_(watch) {
  bridge = this;
}

ClassicErrorBridge::~ClassicErrorBridge() {
  if (bridge == this) bridge = nullptr;
}

void ClassicErrorBridge::SetUpEnvironment() const {
  static RfcEnvironmentRecord environment{ReportRfcErrorAndExit, nullptr};
  const OperationInProgress operation(watch_, "RfcEnvironment");
  rfc_.environment(&environment);
}

LibraryFailure LastLibraryError(const RfcOperations& rfc, std::string_view operation) {
  RfcErrorInfo info{};
  rfc.lastError(&info);
  return {std::string(operation), std::string(BoundedText(info.key, sizeof info.key)),
          std::string(BoundedText(info.status, sizeof info.status)),
          std::string(BoundedText(info.message, sizeof info.message)),
          std::string(BoundedText(info.internalStatus, sizeof info.internalStatus))};
}

void ReportClassicLibraryFailure(const char* operation) {
  // Installed only by a living bridge; a library that calls a handler it was never given ends
  // the process without a word it could not explain.
  if (bridge == nullptr) std::_Exit(2);
  const ClassicErrorBridge& current = *bridge;
  current.watch_.LibraryFailed(
      LastLibraryError(current.rfc_, operation != nullptr ? operation : ""), [&current] {
        current.rfc_.close(0);
        current.folder_.Finish();
      });
  // The run ends the process; were it to come back, the library's operation would still have
  // nowhere to go on from.
  std::_Exit(2);
}

extern "C" void RFC_CALL ReportRfcErrorAndExit(const char* operation) {
  ReportClassicLibraryFailure(operation);
}
