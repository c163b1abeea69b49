// Opening the RFC connection of one system: through the options records, or through
// SapRfc.ini when the system has a per-destination file.
#include "src/rfc/connection.h"

#include <limits>

#include "src/output/console.h"

namespace {

// Copying the per-destination file onto SapRfc.ini goes in blocks of this size.
constexpr std::size_t kCopyBlock = 4096;

const char* TextOrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

void PadWithBlanks(std::string& text, std::size_t length) {
  if (text.size() < length) text.resize(length, ' ');
}

// Copies the file byte for byte; false when SapRfc.ini cannot be written.
bool CopyOntoSapRfcIni(platform::File& source) {
  auto target = platform::File::OpenForWriting("SapRfc.ini", platform::FileMode::Binary);
  if (!target) return false;
  for (;;) {
    std::string block = source.ReadBytes(kCopyBlock);
    if (block.empty()) return true;
    if (!target->Write(block)) return false;
  }
}

}  // namespace

std::optional<std::string> ParameterOverride(const ParameterText& parameters,
                                             std::string_view marker) {
  std::size_t at = parameters.upper.find(marker);
  if (at == std::string::npos) return std::nullopt;
  // A listing's allocation may have replaced the typed copy with a shorter text.
  const std::size_t start = at + marker.size();
  if (start >= parameters.typed.size()) return std::string();
  std::string value = parameters.typed.substr(start);
  return value.substr(0, value.find_first_of(", "));
}

std::int32_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) {
      value = std::numeric_limits<std::int32_t>::max();
    }
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

void FillOpenRecords(const RunContext& run, OpenRecords& records) {
  const SystemEntry& entry = run.Entry;
  records.destination = entry.Destination;
  records.client = entry.Client;
  records.user = entry.User;
  records.password = entry.Password;
  records.language = entry.Language;
  records.mode = entry.Mode;
  records.hostName = entry.Hostname;
  records.systemNumber = entry.Sysnr;
  records.gatewayHost = entry.Gwhost;
  records.gatewayService = entry.Gwservice;
  records.trace = "off";

  if (auto host = ParameterOverride(run.Parameters, ",HOST=")) records.hostName = *host;
  if (auto number = ParameterOverride(run.Parameters, ",NO=")) records.systemNumber = *number;

  PadWithBlanks(records.user, kUserPadding);
  PadWithBlanks(records.password, kPasswordPadding);

  RfcOpenOptions& options = records.options;
  options.destination = records.destination.c_str();
  options.client = records.client.c_str();
  options.user = records.user.c_str();
  options.password = records.password.c_str();
  options.language = records.language.c_str();
  if (records.mode == "R/2") {
    options.mode = RFC_MODE_R2;
    records.gateway.gatewayHost = TextOrNull(records.gatewayHost);
    records.gateway.gatewayService = TextOrNull(records.gatewayService);
    options.connectionParameters = &records.gateway;
  } else {
    options.mode = RFC_MODE_HOST;
    records.host.hostName = TextOrNull(records.hostName);
    records.host.systemNumber = LeadingNumber(records.systemNumber);
    records.host.gatewayHost = TextOrNull(records.gatewayHost);
    records.host.gatewayService = TextOrNull(records.gatewayService);
    options.connectionParameters = &records.host;
  }
  options.trace = 0;
}

RfcHandle OpenConnection(RunContext& run, OpenRecords& records) {
  FillOpenRecords(run, records);
  const SystemEntry& entry = run.Entry;

  auto perDestination =
      platform::File::OpenForReading("SapRfc." + entry.Destination, platform::FileMode::Binary);
  if (!perDestination) {
    run.ConnectionHandle = RfcOpen(&records.options);
    TraceEvent(run, static_cast<std::int32_t>(run.ConnectionHandle), "RfcOpen called", "");
    return run.ConnectionHandle;
  }

  Print("* SapRfc.Ini.......: " + entry.Destination + "<\n");
  if (!CopyOntoSapRfcIni(*perDestination)) return 0;
  perDestination.reset();
  // The library takes the connection data of DEST from SapRfc.ini; the language is always D.
  records.connectString = "CLIENT=" + entry.Client + " USER=" + entry.User +
                          " PASSWD=" + entry.Password + " LANG=D DEST=" + entry.Destination;
  records.extendedError = RfcErrorInfo{};
  run.ConnectionHandle = RfcOpenEx(records.connectString.c_str(), &records.extendedError);
  TraceEvent(run, static_cast<std::int32_t>(run.ConnectionHandle), "RfcOpenEx called", "");
  return run.ConnectionHandle;
}
