// The handler the classic library calls when an operation fails, and its bridge to the run.
#pragma once

#include <string_view>

#include "src/output/error_block.h"
#include "src/rfc/rfc_client.h"
#include "src/rfc/rfc_library.h"
#include "src/rfc/saprfc.h"
#include "src/rfc/working_folder.h"

[[noreturn]] void ReportClassicLibraryFailure(const char* operation);

// The library calls its handler with nothing but the operation's name, so what the handler
// needs lives here, process-wide, for as long as this bridge lives: the library's operations,
// the run's working folder to hand over and the run's way to end. The classic client makes the
// bridge when it is made from the loaded library, before it installs the handler, so the
// handler never meets an empty one.
class ClassicErrorBridge {
 public:
  ClassicErrorBridge(const RfcOperations& rfc, WorkingFolder& folder, LibraryWatch& watch);
  ~ClassicErrorBridge();
  ClassicErrorBridge(const ClassicErrorBridge&) = delete;
  ClassicErrorBridge& operator=(const ClassicErrorBridge&) = delete;

  // Installs the handler in the library; before every opening.
  void SetUpEnvironment() const;
  LibraryWatch& watch() const { return watch_; }

 private:
  friend void ReportClassicLibraryFailure(const char* operation);
  const RfcOperations& rfc_;
  WorkingFolder& folder_;
  LibraryWatch& watch_;
};

// What the library says about the last failure of an operation.
LibraryFailure LastLibraryError(const RfcOperations& rfc, std::string_view operation);

// The handler: asks the run to end with what the library tells about the failure, closing every
// connection and handing the trace over on the way. It cannot unwind through the library's
// frames, so the run ends where it stands.
extern "C" [[noreturn]] void RFC_CALL ReportRfcErrorAndExit(const char* operation);
