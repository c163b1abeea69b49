// Where the library connects and what logon it sends.
#include "standin/address.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "standin/failure.h"

namespace standin {
namespace {

constexpr int kGatewayBasePort = 3300;
constexpr std::array<std::string_view, 5> kConnectKeys{"CLIENT", "USER", "PASSWD", "LANG", "DEST"};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::string> Text(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

std::optional<std::string> Value(const std::map<std::string, std::string>& values,
                                 const std::string& key) {
  auto found = values.find(key);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

// A system number as SapRfc.ini writes it: one or two digits.
std::int32_t SystemNumberText(std::string_view text) {
  std::string_view digits = Trim(text);
  if (!AllDigits(digits) || digits.size() > 2) {
    throw Failure("BAD_ADDRESS", "SYSNR=" + std::string(text) + " is not a system number");
  }
  return std::stoi(std::string(digits));
}

// The value of the last parameter of that name (in upper case), matched in any letter case.
std::optional<std::string> ParameterValue(const std::vector<wire::Parameter>& parameters,
                                          std::string_view name) {
  auto found = std::find_if(parameters.rbegin(), parameters.rend(),
                            [name](const wire::Parameter& p) { return Upper(p.name) == name; });
  if (found == parameters.rend()) return std::nullopt;
  return found->value;
}

bool Blank(const std::optional<std::string>& text) { return !text || Trim(*text).empty(); }

// A port number written in decimal, 1 to 65535.
std::optional<std::uint16_t> DecimalPort(std::string_view text) {
  if (!AllDigits(text) || text.size() > 5) return std::nullopt;
  const int port = std::stoi(std::string(text));
  if (port < 1 || port > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(port);
}

}  // namespace

std::uint16_t GatewayPort(const std::optional<std::string>& service,
                          std::optional<std::int32_t> systemNumber) {
  std::string_view text = service ? Trim(*service) : std::string_view();
  if (!text.empty()) {
    if (auto port = DecimalPort(text)) return *port;
    std::string_view number = text.substr(std::min<std::size_t>(5, text.size()));
    if (Upper(text.substr(0, 5)) == "SAPGW" && number.size() == 2 && AllDigits(number)) {
      return static_cast<std::uint16_t>(kGatewayBasePort + std::stoi(std::string(number)));
    }
    throw Failure("BAD_ADDRESS",
                  "gateway service " + *service + " is neither a port number nor sapgwNN");
  }
  if (!systemNumber) {
    throw Failure("BAD_ADDRESS", "neither a gateway service nor a system number is given");
  }
  if (*systemNumber < 0 || *systemNumber > 99) {
    throw Failure("BAD_ADDRESS",
                  "system number " + std::to_string(*systemNumber) + " is outside 00 to 99");
  }
  return static_cast<std::uint16_t>(kGatewayBasePort + *systemNumber);
}

Endpoint EndpointOf(const wire::OpenRequest& request) {
  std::optional<std::string> host = request.gatewayHost;
  if (Blank(host)) host = request.host;
  if (Blank(host)) {
    throw Failure("BAD_ADDRESS", request.mode == RFC_MODE_R2
                                     ? "no gateway host is given"
                                     : "neither a host name nor a gateway host is given");
  }
  return {std::string(Trim(*host)), GatewayPort(request.gatewayService, request.systemNumber)};
}

wire::OpenRequest RequestFromOptions(const RfcOpenOptions* options) {
  if (options == nullptr) throw Failure("BAD_PARAMETER", "no options record");
  if (options->connectionParameters == nullptr) {
    throw Failure("BAD_PARAMETER", "no connection parameters in the options record");
  }
  wire::OpenRequest request;
  request.operation = "RfcOpen";
  request.destination = Text(options->destination);
  request.client = Text(options->client);
  request.user = Text(options->user);
  request.password = Text(options->password);
  request.language = Text(options->language);
  request.mode = options->mode;
  request.trace = options->trace;
  if (options->mode == RFC_MODE_HOST) {
    const auto* host = static_cast<const HostOptions*>(options->connectionParameters);
    request.host = Text(host->hostName);
    request.systemNumber = host->systemNumber;
    request.gatewayHost = Text(host->gatewayHost);
    request.gatewayService = Text(host->gatewayService);
  } else if (options->mode == RFC_MODE_R2) {
    const auto* gateway = static_cast<const GatewayOptions*>(options->connectionParameters);
    request.gatewayHost = Text(gateway->gatewayHost);
    request.gatewayService = Text(gateway->gatewayService);
  } else {
    throw Failure("BAD_PARAMETER", "connection mode " + std::to_string(options->mode) +
                                       " is neither 0 (host) nor 1 (R/2 gateway)");
  }
  return request;
}

std::map<std::string, std::string> ParseConnectString(std::string_view text) {
  struct Start {
    std::size_t at;
    std::string key;
  };
  std::vector<Start> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && text[i - 1] != ' ') continue;
    for (std::string_view key : kConnectKeys) {
      std::string_view rest = text.substr(i);
      if (rest.size() > key.size() && rest[key.size()] == '=' &&
          Upper(rest.substr(0, key.size())) == key) {
        starts.push_back({i, std::string(key)});
      }
    }
  }
  std::map<std::string, std::string> values;
  for (std::size_t n = 0; n < starts.size(); ++n) {
    std::size_t begin = starts[n].at + starts[n].key.size() + 1;
    // The one blank that separates this value from the next key is not part of the value.
    std::size_t end = n + 1 < starts.size() ? starts[n + 1].at - 1 : text.size();
    values.emplace(starts[n].key, std::string(text.substr(begin, end - begin)));
  }
  return values;
}

std::optional<std::map<std::string, std::string>> FindDestination(std::string_view iniText,
                                                                  std::string_view destination) {
  std::optional<std::map<std::string, std::string>> block;
  bool inBlock = false;
  while (!iniText.empty()) {
    std::size_t end = iniText.find('\n');
    std::string_view line = Trim(iniText.substr(0, end));
    iniText.remove_prefix(end == std::string_view::npos ? iniText.size() : end + 1);
    std::size_t equals = line.find('=');
    if (line.empty() || line[0] == '*' || line[0] == '#' || line[0] == ';' ||
        equals == std::string_view::npos) {
      continue;
    }
    std::string key = Upper(Trim(line.substr(0, equals)));
    std::string_view value = Trim(line.substr(equals + 1));
    if (key == "DEST") {
      if (block) break;  // the next destination's block begins
      inBlock = Upper(value) == Upper(Trim(destination));
      if (inBlock) block.emplace();
    }
    if (inBlock) block->emplace(key, std::string(value));
  }
  return block;
}

wire::OpenRequest RequestFromConnectString(std::string_view connectString,
                                           const std::optional<std::string>& iniText) {
  const auto values = ParseConnectString(connectString);
  const auto destination = Value(values, "DEST");
  if (!destination || Trim(*destination).empty()) {
    throw Failure("BAD_CONNECT_STRING", "the connect string names no DEST");
  }
  if (!iniText) {
    throw Failure("DESTINATION_UNKNOWN", "SapRfc.ini not found in the current directory");
  }
  const auto block = FindDestination(*iniText, *destination);
  if (!block) {
    throw Failure("DESTINATION_UNKNOWN", "destination " + *destination + " not in SapRfc.ini");
  }

  wire::OpenRequest request;
  request.operation = "RfcOpenEx";
  request.connectString = std::string(connectString);
  request.destination = destination;
  request.client = Value(values, "CLIENT");
  request.user = Value(values, "USER");
  request.password = Value(values, "PASSWD");
  request.language = Value(values, "LANG");
  request.gatewayHost = Value(*block, "GWHOST");
  request.gatewayService = Value(*block, "GWSERV");
  const std::string type = Upper(Value(*block, "TYPE").value_or("A"));
  if (type == "A") {
    request.mode = RFC_MODE_HOST;
    request.host = Value(*block, "ASHOST");
    if (auto sysnr = Value(*block, "SYSNR")) request.systemNumber = SystemNumberText(*sysnr);
  } else if (type == "R2") {
    request.mode = RFC_MODE_R2;
  } else {
    throw Failure("BAD_ADDRESS", "TYPE=" + type + " of destination " + *destination +
                                     " is neither A (application server) nor R2 (R/2 gateway)");
  }
  return request;
}

wire::OpenRequest RequestFromParameters(std::vector<wire::Parameter> parameters) {
  using Text = std::optional<std::string> wire::OpenRequest::*;
  static constexpr std::pair<std::string_view, Text> kTexts[] = {
      {"CLIENT", &wire::OpenRequest::client},         {"USER", &wire::OpenRequest::user},
      {"PASSWD", &wire::OpenRequest::password},       {"LANG", &wire::OpenRequest::language},
      {"ASHOST", &wire::OpenRequest::host},           {"GWHOST", &wire::OpenRequest::gatewayHost},
      {"GWSERV", &wire::OpenRequest::gatewayService},
  };
  wire::OpenRequest request;
  request.operation = "RfcOpenConnection";
  request.mode = RFC_MODE_HOST;
  for (const auto& [name, field] : kTexts) request.*field = ParameterValue(parameters, name);
  if (auto sysnr = ParameterValue(parameters, "SYSNR")) {
    request.systemNumber = SystemNumberText(*sysnr);
  }
  request.parameters = std::move(parameters);
  return request;
}

Endpoint NetWeaverEndpointOf(const wire::OpenRequest& request) {
  if (!Blank(request.host) || !Blank(request.gatewayHost)) return EndpointOf(request);
  const std::vector<wire::Parameter> none;
  const auto& parameters = request.parameters ? *request.parameters : none;
  const std::optional<std::string> messageServer = ParameterValue(parameters, "MSHOST");
  if (Blank(messageServer)) {
    throw Failure("BAD_ADDRESS",
                  "neither an application server (ASHOST) nor a message server "
                  "(MSHOST) is given");
  }
  const std::optional<std::string> service = ParameterValue(parameters, "MSSERV");
  const std::optional<std::uint16_t> port = DecimalPort(service ? Trim(*service) : "");
  if (!port) {
    throw Failure("BAD_ADDRESS",
                  service ? "the message server's service MSSERV=" + *service + " is no port number"
                          : "a message server (MSHOST) needs its port (MSSERV)");
  }
  return {std::string(Trim(*messageServer)), *port};
}

}  // namespace standin
