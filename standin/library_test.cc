// The library against sapsim, through the interface header only: every outcome a sensor can
// meet, with its return codes, exception names, handler calls and trace sections.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <asio.hpp>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "src/rfc/saprfc.h"
#include "standin/test_client.h"
#include "standin/testing/network.h"
#include "standin/testing/sapsim.h"
#include "standin/testing/trace_reading.h"

namespace {

using namespace standintest;
using nlohmann::json;
using testsupport::Sapsim;
using testsupport::ScratchDirectory;

// What the error handler was called with. Like the sensor's handler it reads the last error
// and closes every connection; unlike it, it returns.
std::vector<std::string> handlerCalls;
RfcErrorInfo handlerError;

void RFC_CALL RecordingHandler(const char* operation) {
  handlerCalls.push_back(operation);
  std::memset(&handlerError, 0, sizeof handlerError);
  RfcLastError(&handlerError);
  RfcClose(0);
}

std::string LastErrorKey() {
  RfcErrorInfo info{};
  RfcLastError(&info);
  return info.key;
}

// Each test runs in a directory of its own, where the library writes Dev_Rfc.Trc and reads
// SapRfc.ini.
class LibraryEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(directory_.path());
    handlerCalls.clear();
    RfcEnvironmentRecord environment{RecordingHandler, nullptr};
    RfcEnvironment(&environment);
    rfcsiType_ = InstallRfcsi();
    ASSERT_NE(rfcsiType_, 0u);
  }
  void TearDown() override {
    RfcClose(0);
    std::filesystem::current_path(previous_);
  }

  std::string Trace() const { return directory_.Read("Dev_Rfc.Trc").value_or(""); }

  // The last section of the trace: its head names the operation, a description in each form
  // follows, and the sensor would read `description` from it.
  void ExpectLastSection(const std::string& operation, const std::string& description) const {
    const std::vector<std::string> lines = Lines(Trace());
    ASSERT_GE(lines.size(), 3u) << Trace();
    const std::string& head = lines[lines.size() - 3];
    EXPECT_EQ(head.rfind("**** ERROR ", 0), 0u) << head;
    EXPECT_EQ(head.substr(head.size() - operation.size() - 1), " " + operation) << head;
    EXPECT_EQ(lines[lines.size() - 2].rfind("ERROR       ", 0), 0u) << Trace();
    EXPECT_EQ(lines.back().substr(7, 8), "======> ") << Trace();
    EXPECT_EQ(LastTraceDescription(Trace()), description);
  }

  RfcHandle Open(const Sapsim& sim, const std::string& system, const Logon& logon = {}) {
    return OpenHost(sim.Host(system), sim.Port(system), logon);
  }

  ScratchDirectory directory_{"library"};
  std::filesystem::path previous_;
  RfcType rfcsiType_ = 0;
};

TEST_F(LibraryEndToEnd, ConversationDeliversEveryFieldAtItsOffset) {
  Sapsim sim(R"({"systems": [{"name": "PRD", "rfcsi": {
      "RFCPROTO": "011", "RFCCHARTYP": "4103", "RFCINTTYP": "LIT", "RFCFLOTYP": "IE3",
      "RFCDEST": "prdhost_PRD_00", "RFCHOST": "prdhost", "RFCSYSID": "PRD", "RFCDATABS": "PRD",
      "RFCDBHOST": "prddb", "RFCDBSYS": "ORACLE", "RFCSAPRL": "740", "RFCMACH": "390",
      "RFCOPSYS": "Linux", "RFCTZONE": "3600", "RFCDAYST": "X", "RFCIPADDR": "127.0.0.1",
      "RFCKERNRL": "745", "RFCSI_RESV": "reserved and much longer than its forty-four places"}}]})");
  const RfcHandle handle = Open(sim, "PRD");
  ASSERT_NE(handle, 0u) << Trace();
  const Conversation c = Converse(handle, rfcsiType_);
  ASSERT_EQ(c.callCode, RFC_OK);
  ASSERT_EQ(c.receiveCode, RFC_OK);

  struct Expected {
    std::size_t offset;
    std::string text;  // blank-padded to the field's length
  };
  const Expected fields[] = {
      {0, "011"},
      {3, "4103"},
      {7, "LIT"},
      {10, "IE3"},
      {13, "prdhost_PRD_00                  "},
      {45, "prdhost "},
      {53, "PRD     "},
      {61, "PRD     "},
      {69, "prddb                           "},
      {101, "ORACLE    "},
      {111, "740 "},
      {115, "390  "},
      {120, "Linux     "},
      {130, "3600  "},
      {136, "X"},
      {137, "127.0.0.1      "},
      {152, "745 "},
      {156, "reserved and much longer than its forty-four"},
  };
  const char* record = reinterpret_cast<const char*>(&c.received.systemInfo);
  std::size_t next = 0;
  for (const Expected& field : fields) {
    EXPECT_EQ(field.offset, next) << "fields follow one another";
    EXPECT_EQ(std::string(record + field.offset, field.text.size()), field.text);
    next = field.offset + field.text.size();
  }
  EXPECT_EQ(next, sizeof(RFCSI));
  EXPECT_EQ(c.received.currentResources, 5);
  EXPECT_EQ(c.received.maximalResources, 10);
  EXPECT_EQ(c.received.recommendedDelay, 0);
  EXPECT_EQ(c.received.dialogUserType, '0');
  EXPECT_EQ(c.received.loginComplete, 'X');
  RfcClose(handle);
  EXPECT_EQ(Trace(), "") << "a conversation without failure writes no trace";
}

TEST_F(LibraryEndToEnd, EveryWayOfAddressingReachesTheSystemWithTheLogonAsGiven) {
  Sapsim sim(R"({"systems": [{"name": "PRD", "rfcsi": {"RFCSYSID": "PRD"}}]})", {.record = true});
  const std::string port = std::to_string(sim.Port("PRD"));
  directory_.Write("SapRfc.ini",
                   "DEST=OTHER\nASHOST=nohost.invalid\n\nDEST=BIN\nTYPE=A\n"
                   "ASHOST=127.0.0.1\nSYSNR=00\nGWSERV=" +
                       port + "\n");
  struct Case {
    const char* what;
    std::function<RfcHandle()> open;
    json expected;  // the fields of the recorded open that tell the ways apart
  };
  const Case cases[] = {
      {"host name and decimal gateway service",
       [&] {
         return Open(sim, "PRD", {"100", "MON         ", "pw        ", "E"});
       },
       {{"operation", "RfcOpen"},
        {"mode", 0},
        {"host", "127.0.0.1"},
        {"sysnr", 0},
        {"gwhost", nullptr},
        {"user", "MON         "},
        {"password", "pw        "},
        {"connect_string", nullptr}}},
      {"gateway host before an unresolvable host name",
       [&] {
         HostOptions address{"nohost.invalid", 12, "127.0.0.1", port.c_str()};
         RfcOpenOptions options{"PRD", RFC_MODE_HOST, &address, "100", "U", "P", "E", 0};
         return RfcOpen(&options);
       },
       {{"operation", "RfcOpen"},
        {"mode", 0},
        {"host", "nohost.invalid"},
        {"sysnr", 12},
        {"gwhost", "127.0.0.1"}}},
      {"R/2 through its gateway",
       [&] {
         GatewayOptions gateway{"127.0.0.1", port.c_str()};
         RfcOpenOptions options{"R2", RFC_MODE_R2, &gateway, "001", "U", "P", "D", 0};
         return RfcOpen(&options);
       },
       {{"operation", "RfcOpen"},
        {"mode", 1},
        {"host", nullptr},
        {"sysnr", nullptr},
        {"destination", "R2"}}},
      {"SapRfc.ini and connect string",
       [&] {
         RfcErrorInfo extended{};
         return RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=pass word LANG=D DEST=BIN", &extended);
       },
       {{"operation", "RfcOpenEx"},
        {"mode", 0},
        {"host", "127.0.0.1"},
        {"sysnr", 0},
        {"destination", "BIN"},
        {"client", "100"},
        {"user", "MONITOR"},
        {"password", "pass word"},
        {"language", "D"},
        {"connect_string", "CLIENT=100 USER=MONITOR PASSWD=pass word LANG=D DEST=BIN"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RfcHandle handle = c.open();
    ASSERT_NE(handle, 0u) << Trace();
    EXPECT_EQ(Converse(handle, rfcsiType_).receiveCode, RFC_OK);
    RfcClose(handle);
    const std::vector<json> recorded = sim.Recorded();
    ASSERT_GE(recorded.size(), 3u);
    const json& open = recorded[recorded.size() - 3];
    EXPECT_EQ(open["event"], "open");
    EXPECT_EQ(open["accepted"], true);
    EXPECT_EQ(open["gwservice"], port);
    for (const auto& [key, value] : c.expected.items()) EXPECT_EQ(open[key], value) << key;
    EXPECT_EQ(recorded[recorded.size() - 2]["event"], "call");
    EXPECT_EQ(recorded[recorded.size() - 2]["function"], "RFC_SYSTEM_INFO");
    EXPECT_EQ(recorded.back()["event"], "close");
  }
  EXPECT_EQ(Trace(), "");
}

TEST_F(LibraryEndToEnd, OpenThatReachesNoSystemReturnsZeroAndTraces) {
  ShortTimeouts timeouts(2000);
  const std::string closedPort = ClosedPort();
  struct Case {
    const char* host;
    int systemNumber;
    const char* service;
    const char* key;
    std::string description;
  };
  const Case cases[] = {
      {"127.0.0.1", 0, closedPort.c_str(), "CONNECT_FAILED",
       "partner 127.0.0.1:" + closedPort + " not reached"},
      {"nohost.invalid", 0, "3300", "NAME_NOT_RESOLVED", "host name nohost.invalid not resolved"},
      {"127.0.0.1", 0, "sapdp00", "BAD_ADDRESS",
       "gateway service sapdp00 is neither a port number nor sapgwNN"},
      {"127.0.0.1", 100, nullptr, "BAD_ADDRESS", "system number 100 is outside 00 to 99"},
      {nullptr, 0, "3300", "BAD_ADDRESS", "neither a host name nor a gateway host is given"},
  };
  int sections = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    HostOptions address{c.host, c.systemNumber, nullptr, c.service};
    RfcOpenOptions options{"PRD",          RFC_MODE_HOST, &address, "100",
                           "MONITOR     ", "Geheim42  ",  "E",      0};
    EXPECT_EQ(RfcOpen(&options), 0u);
    EXPECT_EQ(LastErrorKey(), c.key);
    EXPECT_EQ(TraceSections(Trace()), ++sections) << "one section per failure, appended";
    ExpectLastSection("RfcOpen", c.description);
  }
  EXPECT_TRUE(handlerCalls.empty()) << "a failed open is told by its result alone";
  EXPECT_EQ(Trace().find("Geheim42"), std::string::npos);
}

TEST_F(LibraryEndToEnd, OpenGivesUpWhenTheConnectionIsNotTakenInTime) {
  FullListener full;
  ShortTimeouts timeouts(300);
  const auto start = Clock::now();
  EXPECT_EQ(OpenHost("127.0.0.1", full.port()), 0u);
  EXPECT_GE(Elapsed(start), 300);
  EXPECT_LT(Elapsed(start), 3000);
  EXPECT_EQ(LastErrorKey(), "CONNECT_TIMEOUT");
  ExpectLastSection(
      "RfcOpen", "partner 127.0.0.1:" + std::to_string(full.port()) + " not reached within 300 ms");
}

TEST_F(LibraryEndToEnd, OpenExTellsWhatItCouldNotResolve) {
  RfcErrorInfo extended{};
  EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=Geheim42 LANG=D DEST=BIN", &extended), 0u);
  EXPECT_STREQ(extended.message, "SapRfc.ini not found in the current directory");
  ExpectLastSection("RfcOpenEx", "SapRfc.ini not found in the current directory");

  directory_.Write("SapRfc.ini", "DEST=PRD\nASHOST=127.0.0.1\nSYSNR=00\n");
  EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=Geheim42 LANG=D DEST=BIN", &extended), 0u);
  EXPECT_STREQ(extended.key, "DESTINATION_UNKNOWN");
  ExpectLastSection("RfcOpenEx", "destination BIN not in SapRfc.ini");
  EXPECT_EQ(Trace().find("Geheim42"), std::string::npos);
}

TEST_F(LibraryEndToEnd, RefusedLogonReturnsZeroAndNeverTracesThePassword) {
  Sapsim sim(R"({"systems": [{"name": "PRD",
      "logons": [{"client": "100", "user": "MONITOR", "password": "Geheim42"}]}]})");
  EXPECT_NE(Open(sim, "PRD", {"100", "MONITOR     ", "Geheim42  ", "E"}), 0u)
      << "the padding of user and password is no part of the logon";
  const Logon refused[] = {
      {"200", "MONITOR     ", "Geheim42  ", "E"},
      {"100", "AUDITOR     ", "Geheim42  ", "E"},
      {"100", "MONITOR     ", "Falsch99  ", "E"},
  };
  int sections = 0;
  for (const Logon& logon : refused) {
    SCOPED_TRACE(logon.client + "/" + logon.user + "/" + logon.password);
    EXPECT_EQ(Open(sim, "PRD", logon), 0u);
    EXPECT_EQ(LastErrorKey(), "LOGON_REFUSED");
    EXPECT_EQ(TraceSections(Trace()), ++sections);
    ExpectLastSection("RfcOpen", "logon to PRD refused: client, user or password incorrect");
  }
  EXPECT_TRUE(handlerCalls.empty());
  for (const char* password : {"Geheim42", "Falsch99"}) {
    EXPECT_EQ(Trace().find(password), std::string::npos) << password;
  }
}

TEST_F(LibraryEndToEnd, RefusedCallReturnsOneAndTraces) {
  Sapsim sim(R"({"systems": [{"name": "PRD", "fault": "refuse_call"}, {"name": "QAS"}]})");
  const RfcHandle refusing = Open(sim, "PRD");
  ASSERT_NE(refusing, 0u);
  EXPECT_EQ(Converse(refusing, rfcsiType_).callCode, RFC_FAILURE);
  EXPECT_EQ(LastErrorKey(), "CALL_REFUSED");
  ExpectLastSection("RfcCall", "call of RFC_SYSTEM_INFO refused by PRD");

  const RfcHandle other = Open(sim, "QAS");
  RfcParameter none[] = {{nullptr, 0, 0, 0, nullptr}};
  EXPECT_EQ(RfcCall(other, "Z_NO_SUCH_FUNCTION", none, none), RFC_FAILURE);
  ExpectLastSection("RfcCall", "function module Z_NO_SUCH_FUNCTION not found");
  EXPECT_EQ(Converse(other, rfcsiType_).receiveCode, RFC_OK) << "the connection stays usable";
  EXPECT_EQ(TraceSections(Trace()), 2);
  EXPECT_TRUE(handlerCalls.empty());
}

TEST_F(LibraryEndToEnd, AnswersOfTheSystemBecomeReceiveCodes) {
  Sapsim sim(R"({"systems": [
      {"name": "FAILS", "answer": {"code": 1, "message": "database PRD not available"}},
      {"name": "RAISES", "answer": {"exception": "NOT_AUTHORIZED"}},
      {"name": "SYSRAISES", "answer": {"system_exception": "SYSTEM_FAILURE_WITH_30_CHARS_X"}},
      {"name": "CODE7", "answer": {"code": 7}},
      {"name": "NEGATIVE", "answer": {"code": -1}}]})");
  struct Case {
    const char* system;
    std::int32_t code;
    const char* exception;
    int sections;  // in the trace so far: only the failure (code 1) writes one
  };
  const Case cases[] = {
      {"FAILS", RFC_FAILURE, "", 1},
      {"RAISES", RFC_EXCEPTION, "NOT_AUTHORIZED", 1},
      {"SYSRAISES", RFC_SYS_EXCEPTION, "SYSTEM_FAILURE_WITH_30_CHARS_X", 1},
      {"CODE7", 7, "", 1},
      {"NEGATIVE", -1, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    const RfcHandle handle = Open(sim, c.system);
    ASSERT_NE(handle, 0u);
    const Conversation conversation = Converse(handle, rfcsiType_);
    EXPECT_EQ(conversation.callCode, RFC_OK);
    EXPECT_EQ(conversation.receiveCode, c.code);
    EXPECT_EQ(conversation.exception, c.exception);
    EXPECT_EQ(conversation.received.systemInfo.rfcsysid[0], '\0') << "no record without success";
    EXPECT_EQ(TraceSections(Trace()), c.sections);
    RfcClose(handle);
  }
  ExpectLastSection("RfcReceive", "database PRD not available");
  EXPECT_TRUE(handlerCalls.empty());
}

TEST_F(LibraryEndToEnd, LostConnectionCallsTheHandlerWithTheOperation) {
  Sapsim sim(R"({"systems": [
      {"name": "DROP_CALL", "fault": "drop_on_call", "fault_during": "RfcCall"},
      {"name": "DROP_RECEIVE", "fault": "drop_on_call"},
      {"name": "HANG_CALL", "fault": "hang_on_call", "fault_during": "RfcCall"},
      {"name": "HANG_RECEIVE", "fault": "hang_on_call", "fault_during": "RfcReceive"},
      {"name": "GARBAGE_CALL", "fault": "garbage_on_call", "fault_during": "RfcCall"},
      {"name": "GARBAGE_RECEIVE", "fault": "garbage_on_call"},
      {"name": "HEALTHY", "rfcsi": {"RFCSYSID": "OK"}}]})");
  ShortTimeouts timeouts(400);
  struct Case {
    const char* system;
    const char* operation;
    const char* key;
    const char* description;  // after the partner's address
  };
  const Case cases[] = {
      {"DROP_CALL", "RfcCall", "CONNECTION_BROKEN", " broken"},
      {"DROP_RECEIVE", "RfcReceive", "CONNECTION_BROKEN", " broken"},
      {"HANG_CALL", "RfcCall", "TIMEOUT", " within 400 ms"},
      {"HANG_RECEIVE", "RfcReceive", "TIMEOUT", " within 400 ms"},
      {"GARBAGE_CALL", "RfcCall", "MALFORMED_REPLY", " is malformed"},
      {"GARBAGE_RECEIVE", "RfcReceive", "MALFORMED_REPLY", " is malformed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    handlerCalls.clear();
    const RfcHandle handle = Open(sim, c.system);
    ASSERT_NE(handle, 0u);
    const auto start = Clock::now();
    const Conversation conversation = Converse(handle, rfcsiType_);
    EXPECT_LT(Elapsed(start), 3000) << "the shortened timeout applies";
    const bool duringCall = std::string(c.operation) == "RfcCall";
    EXPECT_EQ(conversation.callCode, duringCall ? RFC_FAILURE : RFC_OK);
    EXPECT_EQ(conversation.receiveCode, duringCall ? -1 : RFC_FAILURE);
    EXPECT_EQ(handlerCalls, std::vector<std::string>{c.operation});
    EXPECT_STREQ(handlerError.key, c.key);
    EXPECT_STREQ(handlerError.status, c.operation);
    const std::string peer = "127.0.0.1:" + std::to_string(sim.Port(c.system));
    const std::string description = std::string(handlerError.message);
    EXPECT_EQ(description.substr(description.size() - std::strlen(c.description)), c.description);
    EXPECT_NE(description.find(peer), std::string::npos) << description;
    ExpectLastSection(c.operation, description);

    // The handler closed every connection; sapsim itself goes on serving.
    RfcParameter none[] = {{nullptr, 0, 0, 0, nullptr}};
    EXPECT_EQ(RfcCall(handle, "RFC_SYSTEM_INFO", none, none), RFC_FAILURE);
    EXPECT_EQ(LastErrorKey(), "INVALID_HANDLE");
    const RfcHandle healthy = Open(sim, "HEALTHY");
    ASSERT_NE(healthy, 0u);
    const Conversation answered = Converse(healthy, rfcsiType_);
    EXPECT_EQ(answered.receiveCode, RFC_OK);
    EXPECT_EQ(std::string(answered.received.systemInfo.rfcsysid, 8), "OK      ");
    RfcClose(healthy);
  }
  EXPECT_EQ(TraceSections(Trace()), 12) << "each case: the lost connection, the closed handle";
}

TEST(LibraryProcessEndToEnd, HandlerThatEndsTheProcessLeavesTheTraceBehind) {
  Sapsim sim(R"({"systems": [{"name": "PRD", "fault": "garbage_on_call"}]})");
  ScratchDirectory directory("client");
  const auto result = testsupport::RunProcess({testsupport::ProgramPath("standin_client"),
                                               sim.Host("PRD"), std::to_string(sim.Port("PRD"))},
                                              {.cwd = directory.path()});
  const std::string peer = "127.0.0.1:" + std::to_string(sim.Port("PRD"));
  EXPECT_EQ(result.out,
            "handler RfcReceive MALFORMED_REPLY: reply from " + peer + " is malformed\n");
  EXPECT_EQ(result.exitCode, 1);
  const std::string trace = directory.Read("Dev_Rfc.Trc").value_or("");
  EXPECT_EQ(TraceSections(trace), 1);
  EXPECT_EQ(LastTraceDescription(trace), "reply from " + peer + " is malformed");
}

TEST_F(LibraryEndToEnd, WithoutAHandlerALostConnectionIsAFailureCode) {
  Sapsim sim(R"({"systems": [{"name": "DROP", "fault": "drop_on_call"}]})");
  RfcEnvironmentRecord none{nullptr, nullptr};
  RfcEnvironment(&none);
  const RfcHandle handle = Open(sim, "DROP");
  EXPECT_EQ(Converse(handle, rfcsiType_).receiveCode, RFC_FAILURE);
  EXPECT_EQ(LastErrorKey(), "CONNECTION_BROKEN");
  // The connection stays registered, broken: the next call on it fails the same way.
  RfcParameter empty[] = {{nullptr, 0, 0, 0, nullptr}};
  EXPECT_EQ(RfcCall(handle, "RFC_SYSTEM_INFO", empty, empty), RFC_FAILURE);
  EXPECT_EQ(LastErrorKey(), "CONNECTION_BROKEN");
}

TEST_F(LibraryEndToEnd, StructureOtherThanRfcsiIsRefused) {
  struct Case {
    const char* what;
    std::function<void(std::array<RfcStructureField, 18>&, const char*&, std::uint32_t&)> change;
    const char* description;
  };
  const Case cases[] = {
      {"other name", [](auto&, const char*& name, auto&) { name = "RFCSX"; },
       "only the structure RFCSI is known"},
      {"fewer fields", [](auto&, auto&, std::uint32_t& count) { count = 17; },
       "RFCSI has 18 fields, not 17"},
      {"field renamed", [](auto& d, auto&, auto&) { d[5].name = "RFCHOSTNAME"; },
       "RFCSI field 6 is RFCHOSTNAME, expected RFCHOST"},
      {"fields swapped", [](auto& d, auto&, auto&) { std::swap(d[5], d[6]); },
       "RFCSI field 6 is RFCSYSID, expected RFCHOST"},
      {"length", [](auto& d, auto&, auto&) { d[10].length = 3; },
       "RFCSI field 11 RFCSAPRL has length 3, expected 4"},
      {"type", [](auto& d, auto&, auto&) { d[0].type = RFC_TYPE_INT; },
       "RFCSI field 1 RFCPROTO is not of type characters"},
      {"decimals", [](auto& d, auto&, auto&) { d[17].decimals = 2; },
       "RFCSI field 18 RFCSI_RESV has decimals"},
      {"offset", [](auto& d, auto&, auto&) { d[5].offset = 44; },
       "RFCSI field 6 RFCHOST has offset 44, expected 45"},
  };
  int sections = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto description = RfcsiDescription();
    const char* name = "RFCSI";
    std::uint32_t count = 18;
    c.change(description, name, count);
    RfcType type = 0;
    EXPECT_NE(RfcInstallStructure(name, description.data(), count, &type), RFC_OK);
    EXPECT_EQ(type, 0u);
    EXPECT_EQ(TraceSections(Trace()), ++sections);
    ExpectLastSection("RfcInstallStructure", c.description);
  }

  auto withOffsets = RfcsiDescription();
  std::int32_t offset = 0;
  for (auto& field : withOffsets) {
    field.offset = offset;
    offset += field.length;
  }
  RfcType type = 0;
  EXPECT_EQ(RfcInstallStructure("RFCSI", withOffsets.data(), 18, &type), RFC_OK)
      << "the true offsets are as good as none";
  EXPECT_EQ(type, rfcsiType_);
}

TEST_F(LibraryEndToEnd, ImportingListMustBeThatOfRfcSystemInfo) {
  Sapsim sim(R"({"systems": [{"name": "PRD", "rfcsi": {"RFCSYSID": "PRD"}}]})");
  const RfcHandle handle = Open(sim, "PRD");
  ASSERT_NE(handle, 0u);
  RfcParameter none[] = {{nullptr, 0, 0, 0, nullptr}};
  struct Case {
    const char* what;
    std::function<void(std::array<RfcParameter, 7>&)> change;
    const char* description;
  };
  const Case cases[] = {
      {"unknown name", [](auto& l) { l[0].name = "CURRENT_RESOURCE"; },
       "importing parameter CURRENT_RESOURCE is not one of RFC_SYSTEM_INFO"},
      {"name length", [](auto& l) { l[0].nameLength = 16; },
       "importing parameter CURRENT_RESOURCES has name length 16, expected 17"},
      {"type", [](auto& l) { l[2].type = RFC_TYPE_CHAR; },
       "importing parameter MAXIMAL_RESOURCES has type 0, expected 8"},
      {"length", [](auto& l) { l[1].length = 2; },
       "importing parameter DIALOG_USER_TYPE has length 2, expected 1"},
      {"structure type", [](auto& l) { l[4].type = RFC_TYPE_CHAR; },
       "importing parameter RFCSI_EXPORT has type 0, expected 256"},
      {"structure length", [](auto& l) { l[4].length = 199; },
       "importing parameter RFCSI_EXPORT has length 199, expected 200"},
      {"missing", [](auto& l) { l[5] = l[6]; },
       "importing parameter RFC_LOGIN_COMPLETE is missing"},
      {"twice", [](auto& l) { l[5] = l[3]; },
       "importing parameter RECOMMENDED_DELAY is given twice"},
      {"no address", [](auto& l) { l[3].address = nullptr; },
       "importing parameter RECOMMENDED_DELAY has no address"},
  };
  ASSERT_EQ(RfcCall(handle, "RFC_SYSTEM_INFO", none, none), RFC_OK);
  int sections = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Received received;
    auto importing = ImportingList(received, rfcsiType_);
    c.change(importing);
    char* exception = nullptr;
    EXPECT_EQ(RfcReceive(handle, importing.data(), none, &exception), RFC_FAILURE);
    EXPECT_EQ(TraceSections(Trace()), ++sections);
    ExpectLastSection("RfcReceive", c.description);
  }
  EXPECT_TRUE(handlerCalls.empty());

  // A refused list leaves the result waiting; the entries may come in any order.
  Received received;
  auto importing = ImportingList(received, rfcsiType_);
  std::reverse(importing.begin(), importing.begin() + 6);
  char* exception = nullptr;
  EXPECT_EQ(RfcReceive(handle, importing.data(), none, &exception), RFC_OK);
  EXPECT_EQ(std::string(received.systemInfo.rfcsysid, 3), "PRD");
  EXPECT_EQ(received.maximalResources, 10);
}

TEST_F(LibraryEndToEnd, ReceiveBelongsToExactlyOneCall) {
  Sapsim sim(R"({"systems": [{"name": "PRD"}]})");
  const RfcHandle handle = Open(sim, "PRD");
  RfcParameter none[] = {{nullptr, 0, 0, 0, nullptr}};
  Received received;
  auto importing = ImportingList(received, rfcsiType_);
  char* exception = nullptr;
  EXPECT_EQ(RfcReceive(handle, importing.data(), none, &exception), RFC_FAILURE);
  EXPECT_EQ(LastErrorKey(), "NO_CALL");
  EXPECT_EQ(RfcCall(handle, "RFC_SYSTEM_INFO", none, none), RFC_OK);
  EXPECT_EQ(RfcCall(handle, "RFC_SYSTEM_INFO", none, none), RFC_FAILURE);
  EXPECT_EQ(LastErrorKey(), "CALL_PENDING");
  EXPECT_EQ(RfcReceive(handle, importing.data(), none, &exception), RFC_OK);
  RfcParameter one[] = {{"QUERY", 5, RFC_TYPE_CHAR, 1, &received.loginComplete},
                        {nullptr, 0, 0, 0, nullptr}};
  EXPECT_EQ(RfcCall(handle, "RFC_SYSTEM_INFO", one, none), RFC_FAILURE);
  ExpectLastSection("RfcCall", "RFC_SYSTEM_INFO takes no exporting parameter, but QUERY was given");
  EXPECT_TRUE(handlerCalls.empty());
}

TEST_F(LibraryEndToEnd, CloseWithTheNullHandleClosesEveryConnection) {
  Sapsim sim(R"({"systems": [{"name": "PRD"}, {"name": "QAS"}]})", {.record = true});
  const RfcHandle handles[] = {Open(sim, "PRD"), Open(sim, "QAS"), Open(sim, "PRD")};
  for (RfcHandle handle : handles) ASSERT_NE(handle, 0u);
  EXPECT_NE(handles[0], handles[2]);
  RfcClose(0);
  int closes = 0;
  for (const json& line : sim.Recorded()) closes += line["event"] == "close";
  EXPECT_EQ(closes, 3);
  RfcParameter none[] = {{nullptr, 0, 0, 0, nullptr}};
  for (RfcHandle handle : handles) {
    EXPECT_EQ(RfcCall(handle, "RFC_SYSTEM_INFO", none, none), RFC_FAILURE);
    EXPECT_EQ(LastErrorKey(), "INVALID_HANDLE");
  }
  RfcClose(handles[0]);  // closing again is harmless
  EXPECT_TRUE(handlerCalls.empty());
}

TEST_F(LibraryEndToEnd, EachOperationLastsAsLongAsTheSystemTakes) {
  Sapsim sim(
      R"({"systems": [{"name": "PRD", "delays": {"open": 150, "call": 200, "close": 100}}]})");
  auto start = Clock::now();
  const RfcHandle handle = Open(sim, "PRD");
  EXPECT_GE(Elapsed(start), 150);
  start = Clock::now();
  EXPECT_EQ(Converse(handle, rfcsiType_).receiveCode, RFC_OK);
  EXPECT_GE(Elapsed(start), 200);
  start = Clock::now();
  RfcClose(handle);
  EXPECT_GE(Elapsed(start), 100);
}

TEST_F(LibraryEndToEnd, LastErrorTextsAreCutAndEndedWithinTheirFields) {
  const std::string longMessage(600, 'm');
  Sapsim sim(R"({"systems": [{"name": "PRD", "answer": {"code": 1, "message": ")" + longMessage +
             R"("}}]})");
  EXPECT_EQ(Converse(Open(sim, "PRD"), rfcsiType_).receiveCode, RFC_FAILURE);
  struct Guarded {
    RfcErrorInfo info;
    char guard[64];
  } guarded;
  std::memset(&guarded, '#', sizeof guarded);
  RfcLastError(&guarded.info);
  EXPECT_EQ(std::string(guarded.guard, sizeof guarded.guard), std::string(64, '#'));
  EXPECT_EQ(std::string(guarded.info.message), longMessage.substr(0, 255));
  EXPECT_STREQ(guarded.info.key, "FUNCTION_FAILED");
  EXPECT_STREQ(guarded.info.status, "RfcReceive");
  EXPECT_STREQ(guarded.info.internalStatus, "");
  for (const std::string& line : Lines(Trace())) EXPECT_LT(line.size(), 99u);
}

}  // namespace
