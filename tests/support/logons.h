// A system's logon for the tests of what the libraries are handed.
#pragma once

#include "src/rfc/logon.h"

namespace testsupport {

// PRD on prdhost, system number 12, through the gateway gw (sapgw12), client 100, user MON.
inline Logon PrdLogon() {
  return {.system = "PRD.P00",
          .destination = "PRD",
          .client = "100",
          .user = "MON",
          .password = "pw1",
          .language = "E",
          .mode = "R/3",
          .hostName = "prdhost",
          .systemNumber = "12",
          .gatewayHost = "gw",
          .gatewayService = "sapgw12"};
}

}  // namespace testsupport
