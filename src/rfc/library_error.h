// The handler that the RFC library calls when an operation fails, and how it reaches the run.
#pragma once

#include "src/output/document.h"
#include "src/rfc/rfc_library.h"
#include "src/rfc/saprfc.h"

// Installs ReportRfcErrorAndExit as the library's error handler; before every opening.
void SetUpRfcEnvironment(const RfcOperations& rfc);

class RfcSession;

// The document in which a library error is reported, and the session whose working folder is
// handed over before the process ends. The library calls its handler with nothing but the
// operation's name, so this is the one bridge from that C callback to the run, and the only
// process-wide value the sensor changes outside the run's own state.
void ReportRfcErrorsIn(const Document* document, RfcSession* session);

// The library calls this when an operation fails: prints what the library tells about the
// failure, closes every connection and ends the process with exit code 1. It cannot unwind
// through the library's frames, so it exits where it stands.
extern "C" [[noreturn]] void RFC_CALL ReportRfcErrorAndExit(const char* operation);
