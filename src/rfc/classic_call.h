// The one remote call of the sensor, RFC_SYSTEM_INFO, through the classic library.
#pragma once

#include <cstdint>
#include <string>

#include "src/output/system_text.h"
#include "src/rfc/conversation.h"
#include "src/rfc/rfc_client.h"
#include "src/rfc/rfc_library.h"
#include "src/rfc/saprfc.h"

// The values of the record that the sensor shows.
SystemFields FieldsOf(const RFCSI& info);

// Installs the structure RFCSI, once per run: `rfcsiType` keeps its type handle, 0 until then.
// False when the library refuses the description.
[[nodiscard]] bool InstallRfcsi(const RfcOperations& rfc, LibraryWatch& watch, RfcType& rfcsiType);

struct CallResult {
  std::int32_t code = RFC_OK;  // the library's return code
  std::string exception;       // the exception's name, for codes 2 and 3
  SystemFields fields;         // when the code is 0
};

// Calls RFC_SYSTEM_INFO on the connection and receives its answer; RFCSI must be installed.
[[nodiscard]] CallResult CallSystemInfo(const RfcOperations& rfc, LibraryWatch& watch,
                                        RfcHandle handle, RfcType rfcsiType);

// How a call that returned `code` ended: 0 answered, 1 failed, 2 an exception, 3 a system
// exception; any other code is another failure.
Outcome OutcomeOfCode(std::int32_t code);
