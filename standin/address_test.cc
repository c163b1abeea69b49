// Where the library connects, and the logon it reads from a connect string and SapRfc.ini.
#include "standin/address.h"

#include <gtest/gtest.h>

#include "standin/failure.h"

namespace standin {
namespace {

using Texts = std::map<std::string, std::string>;

std::string FailureOf(const auto& action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure.what();
  }
  return "no failure";
}

TEST(AddressTest, GatewayServiceOrSystemNumberGivesThePort) {
  struct Case {
    std::optional<std::string> service;
    std::optional<std::int32_t> systemNumber;
    int port;
  };
  const Case cases[] = {
      {"3300", 12, 3300},      {"41234", 0, 41234},      {"sapgw00", 7, 3300},
      {"sapgw99", 0, 3399},    {"SAPGW07", 0, 3307},     {" 3312 ", 0, 3312},
      {std::nullopt, 0, 3300}, {std::nullopt, 12, 3312}, {std::nullopt, 99, 3399},
      {"", 5, 3305},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GatewayPort(c.service, c.systemNumber), c.port)
        << c.service.value_or("(absent)") << " / " << c.systemNumber.value_or(-1);
  }
}

TEST(AddressTest, GatewayServiceThatNamesNoPortIsAFailure) {
  struct Case {
    std::optional<std::string> service;
    std::optional<std::int32_t> systemNumber;
    const char* message;
  };
  const Case cases[] = {
      {"sapgw1", 0, "gateway service sapgw1 is neither a port number nor sapgwNN"},
      {"sapgw123", 0, "gateway service sapgw123 is neither a port number nor sapgwNN"},
      {"sapdp00", 0, "gateway service sapdp00 is neither a port number nor sapgwNN"},
      {"0", 0, "gateway service 0 is neither a port number nor sapgwNN"},
      {"65536", 0, "gateway service 65536 is neither a port number nor sapgwNN"},
      {"-1", 0, "gateway service -1 is neither a port number nor sapgwNN"},
      {std::nullopt, 100, "system number 100 is outside 00 to 99"},
      {std::nullopt, -1, "system number -1 is outside 00 to 99"},
      {std::nullopt, std::nullopt, "neither a gateway service nor a system number is given"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureOf([&] { GatewayPort(c.service, c.systemNumber); }), c.message);
  }
}

TEST(AddressTest, GatewayHostComesBeforeTheHostName) {
  wire::OpenRequest request;
  request.host = "apphost";
  request.systemNumber = 1;
  EXPECT_EQ(EndpointOf(request).host, "apphost");
  EXPECT_EQ(EndpointOf(request).port, 3301);
  request.gatewayHost = "gwhost";
  EXPECT_EQ(EndpointOf(request).host, "gwhost");
  request.host.reset();
  request.gatewayHost.reset();
  EXPECT_EQ(FailureOf([&] { EndpointOf(request); }),
            "neither a host name nor a gateway host is given");
}

TEST(AddressTest, OptionsRecordTextsArriveAsHandedOver) {
  HostOptions host{nullptr, 12, "gw", nullptr};
  RfcOpenOptions options{"PRD", RFC_MODE_HOST, &host, "100", "MON         ", "pw        ", "E", 0};
  const wire::OpenRequest request = RequestFromOptions(&options);
  EXPECT_EQ(request.user, "MON         ");
  EXPECT_EQ(request.password, "pw        ");
  EXPECT_EQ(request.host, std::nullopt);
  EXPECT_EQ(request.systemNumber, 12);
  EXPECT_EQ(request.gatewayHost, "gw");
  EXPECT_EQ(request.gatewayService, std::nullopt);

  GatewayOptions gateway{"r2host", "sapgw02"};
  RfcOpenOptions r2{"R2", RFC_MODE_R2, &gateway, "001", "U", "P", "D", 0};
  const wire::OpenRequest viaGateway = RequestFromOptions(&r2);
  EXPECT_EQ(viaGateway.mode, RFC_MODE_R2);
  EXPECT_EQ(viaGateway.systemNumber, std::nullopt);
  EXPECT_EQ(EndpointOf(viaGateway).host, "r2host");
  EXPECT_EQ(EndpointOf(viaGateway).port, 3302);

  r2.mode = 2;
  EXPECT_EQ(FailureOf([&] { RequestFromOptions(&r2); }),
            "connection mode 2 is neither 0 (host) nor 1 (R/2 gateway)");
}

TEST(AddressTest, ConnectStringValuesRunToTheNextKey) {
  struct Case {
    std::string text;
    Texts values;
  };
  const Case cases[] = {
      {"CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=BIN",
       {{"CLIENT", "100"},
        {"USER", "MONITOR"},
        {"PASSWD", "secret"},
        {"LANG", "D"},
        {"DEST", "BIN"}}},
      // Nothing is quoted: a password may hold blanks and even an equals sign.
      {"CLIENT=100 USER=M PASSWD=a b=c LANG=D DEST=X",
       {{"CLIENT", "100"}, {"USER", "M"}, {"PASSWD", "a b=c"}, {"LANG", "D"}, {"DEST", "X"}}},
      {"CLIENT= USER=M PASSWD= LANG=D DEST=X",
       {{"CLIENT", ""}, {"USER", "M"}, {"PASSWD", ""}, {"LANG", "D"}, {"DEST", "X"}}},
      {"dest=low USERX=1", {{"DEST", "low USERX=1"}}},
      {"XUSER=1 DEST=Y", {{"DEST", "Y"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseConnectString(c.text), c.values) << c.text;
}

TEST(AddressTest, SapRfcIniBlockOfTheDestination) {
  const std::string ini =
      "* comment\r\n"
      "DEST=PRD\r\n"
      "TYPE=A\r\n"
      "ASHOST=prdhost\r\n"
      "SYSNR=00\r\n"
      "\r\n"
      "DEST=BIN\n"
      "  type = A \n"
      "ASHOST=binhost\n"
      "# GWSERV=1\n"
      "GWSERV=41234\n"
      "DEST=LAST\n"
      "ASHOST=lasthost";
  EXPECT_EQ(FindDestination(ini, "PRD"),
            (Texts{{"DEST", "PRD"}, {"TYPE", "A"}, {"ASHOST", "prdhost"}, {"SYSNR", "00"}}));
  EXPECT_EQ(FindDestination(ini, "bin"),
            (Texts{{"DEST", "BIN"}, {"TYPE", "A"}, {"ASHOST", "binhost"}, {"GWSERV", "41234"}}));
  EXPECT_EQ(FindDestination(ini, "LAST"), (Texts{{"DEST", "LAST"}, {"ASHOST", "lasthost"}}));
  EXPECT_EQ(FindDestination(ini, "QAS"), std::nullopt);
  EXPECT_EQ(FindDestination("", "PRD"), std::nullopt);
}

TEST(AddressTest, LogonFromConnectStringAddressFromSapRfcIni) {
  const std::string ini = "DEST=BIN\nTYPE=A\nASHOST=binhost\nSYSNR=07\n";
  const std::string text = "CLIENT=100 USER=MONITOR PASSWD=pw LANG=D DEST=BIN";
  const wire::OpenRequest request = RequestFromConnectString(text, ini);
  EXPECT_EQ(request.operation, "RfcOpenEx");
  EXPECT_EQ(request.connectString, text);
  EXPECT_EQ(request.user, "MONITOR");
  EXPECT_EQ(request.password, "pw");
  EXPECT_EQ(request.host, "binhost");
  EXPECT_EQ(request.systemNumber, 7);
  EXPECT_EQ(EndpointOf(request).port, 3307);

  const wire::OpenRequest r2 =
      RequestFromConnectString("DEST=R", "DEST=R\nTYPE=R2\nGWHOST=gw\nGWSERV=sapgw01\n");
  EXPECT_EQ(r2.mode, RFC_MODE_R2);
  EXPECT_EQ(EndpointOf(r2).host, "gw");
  EXPECT_EQ(EndpointOf(r2).port, 3301);
}

TEST(AddressTest, DestinationThatCannotBeResolvedIsAFailure) {
  struct Case {
    std::string connectString;
    std::optional<std::string> ini;
    const char* message;
  };
  const Case cases[] = {
      {"CLIENT=100 USER=U", "DEST=BIN\n", "the connect string names no DEST"},
      {"DEST=BIN", std::nullopt, "SapRfc.ini not found in the current directory"},
      {"DEST=QAS", "DEST=BIN\nASHOST=h\n", "destination QAS not in SapRfc.ini"},
      {"DEST=BIN", "DEST=BIN\nTYPE=B\n",
       "TYPE=B of destination BIN is neither A (application server) nor R2 (R/2 gateway)"},
      {"DEST=BIN", "DEST=BIN\nSYSNR=100\n", "SYSNR=100 is not a system number"},
      {"DEST=BIN", "DEST=BIN\nSYSNR=x1\n", "SYSNR=x1 is not a system number"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureOf([&] { RequestFromConnectString(c.connectString, c.ini); }), c.message)
        << c.connectString;
  }
}

TEST(AddressTest, NetWeaverParametersFillTheLogonAndAreHandedOnAsGiven) {
  const std::vector<wire::Parameter> given = {
      {"ashost", "apphost"}, {"SysNr", "07"},  {"CLIENT", "100"},     {"user", "monitor"},
      {"PASSWD", "pass w"},  {"LANG", "EN"},   {"GWHOST", "gw"},      {"gwserv", "sapgw03"},
      {"TRACE", "0"},        {"USER", "LAST"}, {"X_UNKNOWN", "kept"},
  };
  const wire::OpenRequest request = RequestFromParameters(given);
  EXPECT_EQ(request.operation, "RfcOpenConnection");
  EXPECT_EQ(request.parameters, given) << "every parameter, in order, names as written";
  EXPECT_EQ(request.host, "apphost");
  EXPECT_EQ(request.systemNumber, 7);
  EXPECT_EQ(request.client, "100");
  EXPECT_EQ(request.user, "LAST") << "the last of a name counts";
  EXPECT_EQ(request.password, "pass w");
  EXPECT_EQ(request.language, "EN");
  EXPECT_EQ(request.gatewayHost, "gw");
  EXPECT_EQ(request.gatewayService, "sapgw03");
  EXPECT_EQ(request.destination, std::nullopt);
  EXPECT_EQ(request.connectString, std::nullopt);

  const wire::OpenRequest none = RequestFromParameters({});
  EXPECT_EQ(none.parameters, std::vector<wire::Parameter>{});
  EXPECT_EQ(none.host, std::nullopt);
  EXPECT_EQ(none.systemNumber, std::nullopt);
  EXPECT_EQ(FailureOf([] {
              RequestFromParameters({{"SYSNR", "7a"}});
            }),
            "SYSNR=7a is not a system number");
}

TEST(AddressTest, NetWeaverOpenGoesToTheServerOrElseTheMessageServer) {
  struct Case {
    std::vector<wire::Parameter> parameters;
    std::string host;
    int port;
  };
  const Case cases[] = {
      {{{"ASHOST", "app"}, {"SYSNR", "12"}}, "app", 3312},
      {{{"ASHOST", "app"}, {"SYSNR", "12"}, {"GWSERV", "41234"}}, "app", 41234},
      {{{"ASHOST", "app"}, {"GWHOST", "gw"}, {"GWSERV", "sapgw05"}}, "gw", 3305},
      // An application server wins over a message server.
      {{{"MSHOST", "ms"}, {"MSSERV", "3601"}, {"ASHOST", "app"}, {"SYSNR", "00"}}, "app", 3300},
      {{{"mshost", " ms "}, {"msserv", "3601"}, {"SYSID", "PRD"}, {"GROUP", "PUBLIC"}}, "ms", 3601},
  };
  for (const Case& c : cases) {
    const Endpoint endpoint = NetWeaverEndpointOf(RequestFromParameters(c.parameters));
    EXPECT_EQ(endpoint.host, c.host) << c.parameters.front().name;
    EXPECT_EQ(endpoint.port, c.port) << c.parameters.front().name;
  }

  struct Refused {
    std::vector<wire::Parameter> parameters;
    const char* message;
  };
  const Refused refused[] = {
      {{{"CLIENT", "100"}},
       "neither an application server (ASHOST) nor a message server (MSHOST) is given"},
      {{{"ASHOST", " "}, {"MSHOST", ""}},
       "neither an application server (ASHOST) nor a message server (MSHOST) is given"},
      {{{"MSHOST", "ms"}}, "a message server (MSHOST) needs its port (MSSERV)"},
      {{{"MSHOST", "ms"}, {"MSSERV", "sapmsPRD"}},
       "the message server's service MSSERV=sapmsPRD is no port number"},
      {{{"MSHOST", "ms"}, {"MSSERV", "65536"}},
       "the message server's service MSSERV=65536 is no port number"},
      {{{"ASHOST", "app"}}, "neither a gateway service nor a system number is given"},
  };
  for (const Refused& r : refused) {
    EXPECT_EQ(FailureOf([&] { NetWeaverEndpointOf(RequestFromParameters(r.parameters)); }),
              r.message);
  }
}

}  // namespace
}  // namespace standin
