// Opening a connection through the classic library: through the options records, or through
// SapRfc.ini when the system has a per-destination file.
#pragma once

#include <cstddef>
#include <string>

#include "src/rfc/logon.h"
#include "src/rfc/rfc_client.h"
#include "src/rfc/rfc_library.h"
#include "src/rfc/saprfc.h"
#include "src/rfc/working_folder.h"

// The records handed to the library, with the copies of the logon values they point into. The
// padding is done on the copies, never on the logon. The run keeps one for all its systems.
struct OpenRecords {
  RfcOpenOptions options{};
  GatewayOptions gateway{};
  HostOptions host{};
  std::string connectString;
  Logon copies;
};

// The padded lengths the library expects of the logon values.
inline constexpr std::size_t kUserPadding = 12;
inline constexpr std::size_t kPasswordPadding = 10;

// Fills the records from the logon.
void FillOpenRecords(const Logon& logon, OpenRecords& records);

struct OpenedConnection {
  RfcHandle handle = 0;           // 0: no connection
  bool throughSapRfcIni = false;  // the per-destination file was copied onto SapRfc.ini
};

// Opens the connection of the logon: through SapRfc.ini and a connect string when the sensor's
// directory holds "SapRfc." + destination (copied into the run's folder as SapRfc.ini), else
// through the options records.
[[nodiscard]] OpenedConnection OpenConnection(const RfcOperations& rfc, LibraryWatch& watch,
                                              const Logon& logon, OpenRecords& records,
                                              const WorkingFolder& folder);
