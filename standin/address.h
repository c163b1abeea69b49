// Where the library connects and what logon it sends: from the options record of RfcOpen, or
// from the connect string of RfcOpenEx and its destination's block in SapRfc.ini; for the
// NetWeaver library from the parameters of RfcOpenConnection.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "src/rfc/saprfc.h"
#include "standin/wire.h"

namespace standin {

struct Endpoint {
  std::string host;
  std::uint16_t port = 0;
};

// The port of a gateway service: a decimal port number, or sapgwNN for 3300 + NN; when no
// service is given, 3300 + the system number. Throws Failure when none of these fits.
std::uint16_t GatewayPort(const std::optional<std::string>& service,
                          std::optional<std::int32_t> systemNumber);

// Where a logon goes: the gateway host (or else the host name) at the gateway's port.
Endpoint EndpointOf(const wire::OpenRequest& request);

// The logon of RfcOpen, every text as the caller handed it over.
wire::OpenRequest RequestFromOptions(const RfcOpenOptions* options);

// The values of CLIENT=, USER=, PASSWD=, LANG= and DEST= (keys in upper case). A value runs
// to the blank before the next of these keys, so it may itself hold blanks.
std::map<std::string, std::string> ParseConnectString(std::string_view text);

// The KEY=value lines of one destination's block in a SapRfc.ini text (keys in upper case);
// nothing when no block begins with DEST= and that name (in any letter case).
std::optional<std::map<std::string, std::string>> FindDestination(std::string_view iniText,
                                                                  std::string_view destination);

// The logon of RfcOpenEx; iniText is SapRfc.ini's content, nothing when there is none.
wire::OpenRequest RequestFromConnectString(std::string_view connectString,
                                           const std::optional<std::string>& iniText);

// The logon of RfcOpenConnection: the parameters as given, and the classic fields filled from
// those of the same meaning (CLIENT, USER, PASSWD, LANG, ASHOST, SYSNR, GWHOST, GWSERV; names
// in any letter case, the last of a name counts). Throws Failure for a SYSNR that is no
// system number.
wire::OpenRequest RequestFromParameters(std::vector<wire::Parameter> parameters);

// Where RfcOpenConnection connects: as EndpointOf for an application server (ASHOST or
// GWHOST); without one, to MSHOST at the port MSSERV. Throws Failure when neither is given.
Endpoint NetWeaverEndpointOf(const wire::OpenRequest& request);

}  // namespace standin
