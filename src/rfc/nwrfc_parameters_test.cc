#include "src/rfc/nwrfc_parameters.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/logons.h"

namespace {

using testsupport::PrdLogon;

const NwRfcParameters kLogonEnd{{"CLIENT", "100"}, {"USER", "MON"}, {"PASSWD", "pw1"}};

NwRfcParameters Then(NwRfcParameters first, const NwRfcParameters& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

TEST(ParametersOfLogonTest, TheProfilesAddressAndLogon) {
  Logon logon = PrdLogon();
  logon.systemNumber = "2";  // two digits, as the classic library gives them
  EXPECT_EQ(ParametersOfLogon(logon),
            Then({{"ASHOST", "prdhost"}, {"SYSNR", "02"}, {"GWHOST", "gw"}, {"GWSERV", "sapgw12"}},
                 Then(kLogonEnd, {{"LANG", "E"}})));
  // An R/2 system is reached through its gateway alone; empty values are left out.
  logon.mode = "R/2";
  logon.gatewayHost.clear();
  EXPECT_EQ(ParametersOfLogon(logon),
            Then({{"GWSERV", "sapgw12"}}, Then(kLogonEnd, {{"LANG", "E"}})));
}

TEST(ParametersOfDestinationTest, TheDestinationsBlockOrNothing) {
  const std::string longest(kLongestSapRfcValue, 'r');
  const NwRfcParameters logonEnd = Then(kLogonEnd, {{"LANG", "D"}});
  const struct {
    const char* name;
    std::string text;
    std::optional<NwRfcParameters> expected;
  } kCases[] = {
      {"the destination's first block among others, its name in any letter case",
       "DEST=QAS\nASHOST=qashost\n"
       "DEST = prd \r\n ashost = prdhost\nSYSNR=00\n"
       "DEST=DEV\nASHOST=dev\n"
       "DEST=PRD\nASHOST=again\n",
       Then({{"ASHOST", "prdhost"}, {"SYSNR", "00"}}, logonEnd)},
      {"a message server, R3NAME as SYSID, router and encryption; unknown keys left out",
       "DEST=PRD\nTYPE=B\nMSHOST=ms\nMSSERV=3600\nR3NAME=PRD\nGROUP=PUBLIC\n"
       "SAPROUTER=/H/router/S/3299\nSNC_MODE=1\nSNC_PARTNERNAME=p:CN=PRD\nRFC_TRACE=1\n",
       Then({{"MSHOST", "ms"},
             {"MSSERV", "3600"},
             {"SYSID", "PRD"},
             {"GROUP", "PUBLIC"},
             {"SAPROUTER", "/H/router/S/3299"},
             {"SNC_MODE", "1"},
             {"SNC_PARTNERNAME", "p:CN=PRD"}},
            logonEnd)},
      {"the block's own logon keys do not replace the profile's",
       "DEST=PRD\nASHOST=a\nASHOST=b\nCLIENT=999\nUSER=SAP*\nPASSWD=x\n",
       Then({{"ASHOST", "b"}}, logonEnd)},
      {"a value as long as the bound", "DEST=PRD\nASHOST=" + longest + "\n",
       Then({{"ASHOST", longest}}, logonEnd)},
      {"a value longer than the bound", "DEST=PRD\nASHOST=" + longest + "r\n", std::nullopt},
      {"no block of the destination", "DEST=PRDX\nASHOST=prdhost\n", std::nullopt},
      {"a file longer than the bound",
       "DEST=PRD\nASHOST=prdhost\n" + std::string(kLongestSapRfcFile, '#'), std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParametersOfDestination(c.text, PrdLogon()), c.expected);
  }
}

}  // namespace
