// sapsim's configuration: what it takes, and that whatever it refuses names file and field.
#include "standin/sapsim_config.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

std::string Refusal(const std::string& text) {
  try {
    ParseConfig(text, "systems.json");
  } catch (const ConfigError& error) {
    return error.what();
  }
  return "accepted";
}

std::string Field(const RfcsiRecord& record, const char* name) {
  const RfcsiField field = *FindRfcsiField(name);
  return std::string(record.data() + field.offset, field.length);
}

TEST(SapsimConfigTest, ReadsEveryPartOfASystem) {
  const auto systems = ParseConfig(R"({"systems": [
      {"name": "PRD", "port": 3300,
       "rfcsi": {"RFCHOST": "prdhost", "RFCSAPRL": "740", "RFCDEST": "prdhost_PRD_00",
                 "RFCOPSYS": "a name longer than ten"},
       "logons": [{"client": "100", "user": "MONITOR", "password": "secret"}, {"client": "200"}],
       "delays": {"open": 10, "call": 20, "close": 30},
       "answer": {"code": 1, "message": "the database is down"},
       "fault": "hang_on_call", "fault_during": "RfcCall"},
      {"name": "QAS", "answer": {"system_exception": "SYSTEM_FAILURE"}}]})",
                                   "systems.json");
  ASSERT_EQ(systems.size(), 2u);
  const SystemConfig& prd = systems[0];
  EXPECT_EQ(prd.port, 3300);
  EXPECT_EQ(Field(prd.systemInfo, "RFCHOST"), "prdhost ");
  EXPECT_EQ(Field(prd.systemInfo, "RFCSAPRL"), "740 ");
  EXPECT_EQ(Field(prd.systemInfo, "RFCOPSYS"), "a name lon");
  EXPECT_EQ(Field(prd.systemInfo, "RFCSYSID"), "        ");
  EXPECT_EQ(prd.logons.size(), 2u);
  EXPECT_EQ(prd.openDelay.count(), 10);
  EXPECT_EQ(prd.callDelay.count(), 20);
  EXPECT_EQ(prd.closeDelay.count(), 30);
  EXPECT_EQ(prd.answerCode, 1);
  EXPECT_EQ(prd.message, "the database is down");
  EXPECT_EQ(prd.fault, Fault::HangOnCall);
  EXPECT_EQ(prd.faultDuring, FaultDuring::Call);

  const SystemConfig& qas = systems[1];
  EXPECT_EQ(qas.port, 0);
  EXPECT_EQ(qas.answerCode, 3);
  EXPECT_EQ(qas.exception, "SYSTEM_FAILURE");
  EXPECT_EQ(qas.fault, Fault::None);
  EXPECT_EQ(qas.systemInfo, BlankRfcsi());
}

TEST(SapsimConfigTest, RefusalNamesFileAndField) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"{", "systems.json: not valid JSON"},
      {"[]", "systems.json: must be an object"},
      {R"({})", "systems.json: systems: missing"},
      {R"({"systems": []})", "systems.json: systems: must name at least one system"},
      {R"({"system": []})", "systems.json: system: unknown field"},
      {R"({"systems": [{}]})", "systems.json: systems[0]: a system needs a name"},
      {R"({"systems": [{"name": "P RD"}]})", "systems.json: systems[0].name: must be a name"},
      {R"({"systems": [{"name": "A"}, {"name": "A"}]})",
       "systems.json: systems[1].name: A names two systems"},
      {R"({"systems": [{"name": "A", "port": 70000}]})",
       "systems.json: systems[0].port: must be an integer from 0 to 65535"},
      {R"({"systems": [{"name": "A", "port": 3300}, {"name": "B", "port": 3300}]})",
       "systems.json: systems[1].port: 3300 is already the port of A"},
      {R"({"systems": [{"name": "A", "rfcsi": {"RFCHOSTX": "h"}}]})",
       "systems.json: systems[0].rfcsi.RFCHOSTX: is not a field of RFCSI"},
      {R"({"systems": [{"name": "A", "rfcsi": {"RFCHOST": 7}}]})",
       "systems.json: systems[0].rfcsi.RFCHOST: must be a string"},
      {R"({"systems": [{"name": "A", "logons": [{"usr": "X"}]}]})",
       "systems.json: systems[0].logons[0].usr: unknown field"},
      {R"({"systems": [{"name": "A", "delays": {"open": -1}}]})",
       "systems.json: systems[0].delays.open: must be an integer from 0 to 600000"},
      {R"({"systems": [{"name": "A", "answer": {"code": 2}}]})",
       "systems.json: systems[0].answer.code: codes 2 and 3 are given as exception"},
      {R"({"systems": [{"name": "A", "answer": {"code": 1, "exception": "X"}}]})",
       "systems.json: systems[0].answer: give one of code, exception and system_exception"},
      {R"({"systems": [{"name": "A", "answer": {"exception": ""}}]})",
       "systems.json: systems[0].answer.exception: must be an exception name of 1 to 30"},
      {R"({"systems": [{"name": "A", "fault": "drop"}]})",
       "systems.json: systems[0].fault: must be one of refuse_call, drop_on_call"},
      {R"({"systems": [{"name": "A", "fault_during": "RfcCall"}]})",
       "systems.json: systems[0].fault_during: applies to drop_on_call"},
      {R"({"systems": [{"name": "A", "fault": "drop_on_call", "fault_during": "RfcOpen"}]})",
       "systems.json: systems[0].fault_during: must be RfcCall or RfcReceive"},
      // Numbers beyond a double: the JSON reader throws out_of_range, not parse_error.
      {"{\"systems\": [{\"name\": \"A\",\n \"port\": 8e620}]}",
       "systems.json: not valid JSON: [json.exception.out_of_range.406] number overflow parsing "
       "'8e620' at line 2, column 14"},
      {R"({"systems": [{"name": "A", "delays": {"open": -1e400}}]})",
       "systems.json: not valid JSON"},
      // Above the signed 64-bit range the reader keeps a number unsigned; it is no -1.
      {R"({"systems": [{"name": "A", "answer": {"code": 18446744073709551615}}]})",
       "systems.json: systems[0].answer.code: must be an integer from -2147483648 to 2147483647"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Refusal(c.text).rfind(c.message, 0), 0u)
        << c.text << "\n  gave: " << Refusal(c.text) << "\n  want: " << c.message;
  }
}

TEST(SapsimConfigTest, LogonsIgnorePaddingAndTheUsersLetterCase) {
  const auto systems = ParseConfig(R"({"systems": [
      {"name": "A", "logons": [{"client": "100", "user": "Monitor", "password": "Secret"},
                               {"client": "200"}]},
      {"name": "ANY"}]})",
                                   "systems.json");
  struct Case {
    const char* client;
    const char* user;
    const char* password;
    bool accepted;
  };
  const Case cases[] = {
      {"100", "MONITOR     ", "Secret    ", true}, {"100", "monitor", "Secret", true},
      {"100", "MONITOR", "SECRET", false},         {"100", "MONITORS", "Secret", false},
      {"101", "MONITOR", "Secret", false},         {"100", "MONITOR", " Secret", false},
      {"200", "anyone", "anything", true},         {"200", nullptr, nullptr, true},
      {nullptr, "MONITOR", "Secret", false},
  };
  for (const Case& c : cases) {
    wire::OpenRequest request;
    if (c.client) request.client = c.client;
    if (c.user) request.user = c.user;
    if (c.password) request.password = c.password;
    EXPECT_EQ(AcceptsLogon(systems[0], request), c.accepted)
        << (c.client ? c.client : "-") << "/" << (c.user ? c.user : "-") << "/"
        << (c.password ? c.password : "-");
    EXPECT_TRUE(AcceptsLogon(systems[1], request));
  }
}

TEST(SapsimConfigTest, NetWeaverLogonsAskingForWhatNoSimulatedSystemHasAreRefused) {
  const auto systems = ParseConfig(
      R"({"systems": [{"name": "PRD", "logons": [{"user": "MONITOR"}]}]})", "systems.json");
  struct Case {
    std::vector<wire::Parameter> parameters;
    std::optional<std::string> refusal;
  };
  const Case cases[] = {
      {{{"ASHOST", "h"}, {"USER", "monitor"}}, std::nullopt},
      {{{"MSHOST", "ms"}, {"USER", "MONITOR"}},
       "logon to PRD refused: PRD has no message server (MSHOST)"},
      {{{"USER", "MONITOR"}, {"sapRouter", "/H/router/S/3299/H/"}},
       "logon to PRD refused: PRD cannot be reached through a router (SAPROUTER)"},
      {{{"USER", "MONITOR"}, {"SNC_MODE", " 1"}, {"SNC_PARTNERNAME", "p:CN=PRD"}},
       "logon to PRD refused: PRD has no secure network communication (SNC_MODE=1)"},
      // Empty, or switched off, they ask for nothing.
      {{{"USER", "MONITOR"}, {"MSHOST", " "}, {"SAPROUTER", ""}, {"SNC_MODE", "0"}}, std::nullopt},
      // What the system cannot offer is named before a wrong user.
      {{{"USER", "AUDITOR"}, {"SNC_MODE", "1"}},
       "logon to PRD refused: PRD has no secure network communication (SNC_MODE=1)"},
      {{{"USER", "AUDITOR"}}, "logon to PRD refused: client, user or password incorrect"},
  };
  for (const Case& c : cases) {
    wire::OpenRequest request;
    request.parameters = c.parameters;
    for (const wire::Parameter& p : c.parameters) {
      if (p.name == "USER") request.user = p.value;
    }
    EXPECT_EQ(LogonRefusal(systems[0], request), c.refusal) << c.parameters.back().name;
  }
}

}  // namespace
}  // namespace standin
