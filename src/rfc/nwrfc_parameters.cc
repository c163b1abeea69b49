// The logon parameters handed to the NetWeaver library's RfcOpenConnection.
#include "src/rfc/nwrfc_parameters.h"

#include <array>

#include "src/platform/text.h"

namespace {

// The keys of a SapRfc block the library is given, and their names there.
struct BlockKey {
  std::string_view key;
  std::string_view parameter;
};
constexpr std::array<BlockKey, 14> kBlockKeys{{
    {"ASHOST", "ASHOST"},
    {"SYSNR", "SYSNR"},
    {"GWHOST", "GWHOST"},
    {"GWSERV", "GWSERV"},
    {"MSHOST", "MSHOST"},
    {"MSSERV", "MSSERV"},
    {"R3NAME", "SYSID"},
    {"GROUP", "GROUP"},
    {"SAPROUTER", "SAPROUTER"},
    {"SNC_MODE", "SNC_MODE"},
    {"SNC_PARTNERNAME", "SNC_PARTNERNAME"},
    {"SNC_QOP", "SNC_QOP"},
    {"SNC_MYNAME", "SNC_MYNAME"},
    {"SNC_LIB", "SNC_LIB"},
}};

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

void Add(NwRfcParameters& parameters, std::string_view name, std::string_view value) {
  if (!value.empty()) parameters.emplace_back(name, value);
}

// What the classic connect string gives, whatever the block says.
void AddLogon(NwRfcParameters& parameters, const Logon& logon, std::string_view language) {
  Add(parameters, "CLIENT", logon.client);
  Add(parameters, "USER", logon.user);
  Add(parameters, "PASSWD", logon.password);
  Add(parameters, "LANG", language);
}

}  // namespace

NwRfcParameters ParametersOfLogon(const Logon& logon) {
  NwRfcParameters parameters;
  // An R/2 system has no application server: its gateway is its address.
  if (logon.mode != "R/2") {
    Add(parameters, "ASHOST", logon.hostName);
    std::string systemNumber = std::to_string(platform::LeadingNumber(logon.systemNumber));
    if (systemNumber.size() < 2) systemNumber.insert(0, 2 - systemNumber.size(), '0');
    Add(parameters, "SYSNR", systemNumber);
  }
  Add(parameters, "GWHOST", logon.gatewayHost);
  Add(parameters, "GWSERV", logon.gatewayService);
  AddLogon(parameters, logon, logon.language);
  return parameters;
}

std::optional<NwRfcParameters> ParametersOfDestination(std::string_view sapRfcText,
                                                       const Logon& logon) {
  if (sapRfcText.size() > kLongestSapRfcFile) return std::nullopt;
  const std::string destination = platform::UpperCaseAtoZ(logon.destination);
  NwRfcParameters parameters;
  bool inBlock = false;
  bool found = false;
  while (!sapRfcText.empty()) {
    const std::size_t end = sapRfcText.find('\n');
    const std::string_view line = Trimmed(sapRfcText.substr(0, end));
    sapRfcText.remove_prefix(end == std::string_view::npos ? sapRfcText.size() : end + 1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string key = platform::UpperCaseAtoZ(Trimmed(line.substr(0, equals)));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    if (key == "DEST") {
      if (found && inBlock) break;  // the next destination's block
      inBlock = platform::UpperCaseAtoZ(value) == destination;
      found = found || inBlock;
      continue;
    }
    if (!inBlock) continue;
    if (value.size() > kLongestSapRfcValue) return std::nullopt;
    for (const BlockKey& known : kBlockKeys) {
      if (known.key != key) continue;
      // A key given twice counts once, as the last line gives it.
      std::erase_if(parameters, [&known](const auto& p) { return p.first == known.parameter; });
      Add(parameters, known.parameter, value);
    }
  }
  if (!found) return std::nullopt;
  AddLogon(parameters, logon, "D");
  return parameters;
}
