// What a client of the library does to ask a system for RFC_SYSTEM_INFO, written once for the
// tests and the test client, with the records filled as the sensor fills them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "src/rfc/rfcsi_layout.h"
#include "src/rfc/saprfc.h"

namespace standintest {

// The type handle of RFCSI; 0 when the library refused the description.
inline RfcType InstallRfcsi() {
  constexpr auto description = RfcsiDescription();
  RfcType type = 0;
  return RfcInstallStructure("RFCSI", description.data(), 18, &type) == RFC_OK ? type : 0;
}

// The six values RFC_SYSTEM_INFO hands back.
struct Received {
  std::int32_t currentResources = -1;
  char dialogUserType = '?';
  std::int32_t maximalResources = -1;
  std::int32_t recommendedDelay = -1;
  RFCSI systemInfo{};
  char loginComplete = '?';
};

// The importing list pointing into a Received, ended by its null entry.
inline std::array<RfcParameter, 7> ImportingList(Received& r, RfcType rfcsiType) {
  return {{{"CURRENT_RESOURCES", 17, RFC_TYPE_INT, 4, &r.currentResources},
           {"DIALOG_USER_TYPE", 16, RFC_TYPE_CHAR, 1, &r.dialogUserType},
           {"MAXIMAL_RESOURCES", 17, RFC_TYPE_INT, 4, &r.maximalResources},
           {"RECOMMENDED_DELAY", 17, RFC_TYPE_INT, 4, &r.recommendedDelay},
           {"RFCSI_EXPORT", 12, static_cast<std::int32_t>(rfcsiType), 200, &r.systemInfo},
           {"RFC_LOGIN_COMPLETE", 18, RFC_TYPE_CHAR, 1, &r.loginComplete},
           {nullptr, 0, 0, 0, nullptr}}};
}

struct Logon {
  std::string client = "100";
  std::string user = "MONITOR     ";
  std::string password = "secret    ";
  std::string language = "E";
};

// Opens through RfcOpen in host mode, the port given as the gateway service.
inline RfcHandle OpenHost(const std::string& host, int port, const Logon& logon = {}) {
  const std::string service = std::to_string(port);
  HostOptions address{host.c_str(), 0, nullptr, service.c_str()};
  RfcOpenOptions options{"TST",
                         RFC_MODE_HOST,
                         &address,
                         logon.client.c_str(),
                         logon.user.c_str(),
                         logon.password.c_str(),
                         logon.language.c_str(),
                         0};
  return RfcOpen(&options);
}

struct Conversation {
  std::int32_t callCode = -1;
  std::int32_t receiveCode = -1;
  std::string exception;
  Received received;
};

// RfcCall and, when the call was sent, RfcReceive on an open connection.
inline Conversation Converse(RfcHandle handle, RfcType rfcsiType) {
  Conversation c;
  RfcParameter none[] = {{nullptr, 0, 0, 0, nullptr}};
  c.callCode = RfcCall(handle, "RFC_SYSTEM_INFO", none, none);
  if (c.callCode != RFC_OK) return c;
  auto importing = ImportingList(c.received, rfcsiType);
  char* exception = nullptr;
  c.receiveCode = RfcReceive(handle, importing.data(), none, &exception);
  if (exception != nullptr) c.exception = exception;
  return c;
}

}  // namespace standintest
