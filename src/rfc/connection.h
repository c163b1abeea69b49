// Opening the RFC connection of one system: through the options records, or through
// SapRfc.ini when the system has a per-destination file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "src/rfc/saprfc.h"
#include "src/run/run_context.h"

// The records handed to the library, with the copies of the entry values they point into. The
// padding is done on the copies, never on the entry. The caller keeps one for the whole run.
struct OpenRecords {
  RfcOpenOptions options{};
  GatewayOptions gateway{};
  HostOptions host{};
  RfcErrorInfo extendedError{};
  std::string connectString;

  std::string destination, client, user, password, language, mode, hostName, systemNumber,
      gatewayHost, gatewayService;
  std::string trace;
};

// The padded lengths the library expects of the logon values.
inline constexpr std::size_t kUserPadding = 12;
inline constexpr std::size_t kPasswordPadding = 10;

// The value after a marker such as ",HOST=" in the as-typed parameter text (the marker is
// searched in the upper-cased copy), up to the next comma, blank or the end; nothing when the
// marker is absent.
std::optional<std::string> ParameterOverride(const ParameterText& parameters,
                                             std::string_view marker);

// The decimal number at the start of a text, after blanks and a sign; 0 when there is none.
std::int32_t LeadingNumber(std::string_view text);

// Fills the records from the entry (and the overrides of the parameter text).
void FillOpenRecords(const RunContext& run, OpenRecords& records);

// Opens the connection of the current entry; the library's handle, 0 when none was opened.
RfcHandle OpenConnection(RunContext& run, OpenRecords& records);
