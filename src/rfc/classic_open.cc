// Opening a connection through the classic library: through the options records, or through
// SapRfc.ini when the system has a per-destination file.
#include "src/rfc/classic_open.h"

#include "src/platform/text.h"

namespace {

const char* TextOrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

void PadWithBlanks(std::string& text, std::size_t length) {
  if (text.size() < length) text.resize(length, ' ');
}

}  // namespace

void FillOpenRecords(const Logon& logon, OpenRecords& records) {
  Logon& copies = records.copies;
  copies = logon;
  PadWithBlanks(copies.user, kUserPadding);
  PadWithBlanks(copies.password, kPasswordPadding);

  RfcOpenOptions& options = records.options;
  options.destination = copies.destination.c_str();
  options.client = copies.client.c_str();
  options.user = copies.user.c_str();
  options.password = copies.password.c_str();
  options.language = copies.language.c_str();
  if (copies.mode == "R/2") {
    options.mode = RFC_MODE_R2;
    records.gateway.gatewayHost = TextOrNull(copies.gatewayHost);
    records.gateway.gatewayService = TextOrNull(copies.gatewayService);
    options.connectionParameters = &records.gateway;
  } else {
    options.mode = RFC_MODE_HOST;
    records.host.hostName = TextOrNull(copies.hostName);
    records.host.systemNumber = platform::LeadingNumber(copies.systemNumber);
    records.host.gatewayHost = TextOrNull(copies.gatewayHost);
    records.host.gatewayService = TextOrNull(copies.gatewayService);
    options.connectionParameters = &records.host;
  }
  options.trace = 0;
}

OpenedConnection OpenConnection(const RfcOperations& rfc, LibraryWatch& watch, const Logon& logon,
                                OpenRecords& records, const WorkingFolder& folder) {
  FillOpenRecords(logon, records);
  const SapRfcIniCopy copied = folder.CopySapRfcIni(logon.destination);
  if (copied == SapRfcIniCopy::NoDestinationFile) {
    const OperationInProgress operation(watch, "RfcOpen");
    return {rfc.open(&records.options), false};
  }
  if (copied == SapRfcIniCopy::Failed) return {0, true};
  // The library takes the connection data of DEST from SapRfc.ini; the language is always D.
  records.connectString = "CLIENT=" + logon.client + " USER=" + logon.user +
                          " PASSWD=" + logon.password + " LANG=D DEST=" + logon.destination;
  RfcErrorInfo extendedError{};  // the library's to fill; the sensor reports through the trace
  const OperationInProgress operation(watch, "RfcOpenEx");
  return {rfc.openEx(records.connectString.c_str(), &extendedError), true};
}
