// One system's logon, as its profile and the parameter text give it: what every RFC library is
// handed to open a connection.
#pragma once

#include <string>

struct Logon {
  std::string system;  // how the run's texts name the system: its profile
  std::string destination;
  std::string client;
  std::string user;
  std::string password;
  std::string language;
  std::string mode;
  std::string hostName;
  std::string systemNumber;
  std::string gatewayHost;
  std::string gatewayService;
};
