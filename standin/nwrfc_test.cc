// The NetWeaver library stand-in against sapsim, through its C interface only: every outcome a
// sensor can meet, with the codes, groups, keys and messages of the error record, the fields
// in UTF-16, the parameters sapsim received, and arguments that are null or no handle at all.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <asio.hpp>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "src/output/xml_text.h"
#include "src/rfc/record_text.h"
#include "src/rfc/sapnwrfc.h"
#include "standin/nwrfc_client.h"
#include "standin/nwrfc_codes.h"
#include "standin/rfcsi.h"
#include "standin/sapucum.h"
#include "standin/testing/network.h"
#include "standin/testing/sapsim.h"
#include "standin/wire.h"

namespace {

using namespace standintest;
using namespace nwrfctest;
using nlohmann::json;
using nwrfc::RFC_ERROR_INFO;
using nwrfc::RFC_RC;
using standin::Utf16FromBytes;
using standin::Utf8FromUtf16;
using testsupport::Sapsim;
using testsupport::ScratchDirectory;
namespace codes = standin::nwrfc_codes;
namespace wire = standin::wire;

std::string Text(std::u16string_view text) { return Utf8FromUtf16(text); }

// What an error record tells, as texts.
struct Told {
  int code;
  int group;
  std::string key;
  std::string message;
};

Told TellOf(const RFC_ERROR_INFO& error) {
  return {static_cast<int>(error.code), static_cast<int>(error.group), Text(error.key),
          Text(error.message)};
}

// An expected message ending in "*" is the beginning of the message: the rest is the
// system's own wording.
void ExpectTold(const RFC_ERROR_INFO& error, const Told& expected) {
  const Told told = TellOf(error);
  EXPECT_EQ(told.code, expected.code) << told.key << ": " << told.message;
  EXPECT_EQ(told.group, expected.group) << told.key << ": " << told.message;
  EXPECT_EQ(told.key, expected.key);
  if (!expected.message.empty() && expected.message.back() == '*') {
    const std::string start = expected.message.substr(0, expected.message.size() - 1);
    EXPECT_EQ(told.message.substr(0, start.size()), start) << told.message;
  } else {
    EXPECT_EQ(told.message, expected.message);
  }
}

// "{peer}" in a text becomes 127.0.0.1:PORT.
std::string WithPeer(std::string text, int port) {
  const std::string peer = "127.0.0.1:" + std::to_string(port);
  if (auto at = text.find("{peer}"); at != std::string::npos) text.replace(at, 6, peer);
  return text;
}

constexpr int kCommunication = nwrfc::RFC_GROUP_COMMUNICATION_FAILURE;
constexpr int kLogon = nwrfc::RFC_GROUP_LOGON_FAILURE;
constexpr int kCaller = nwrfc::RFC_GROUP_EXTERNAL_RUNTIME_FAILURE;
constexpr int kSystem = nwrfc::RFC_GROUP_ABAP_RUNTIME_FAILURE;
constexpr int kApplication = nwrfc::RFC_GROUP_ABAP_APPLICATION_FAILURE;

// Each test runs in a directory of its own, which the library leaves as it was: it writes no
// trace.
class NetWeaverEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(directory_.path());
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    EXPECT_TRUE(std::filesystem::is_empty(directory_.path())) << "the library wrote a file";
  }

  nwrfc::RFC_CONNECTION_HANDLE Open(const Sapsim& sim, const std::string& system) {
    RFC_ERROR_INFO error{};
    auto connection = nwrfctest::Open(LogonTo(sim.Host(system), sim.Port(system)), error);
    EXPECT_NE(connection, nullptr) << Text(error.message);
    return connection;
  }

  static void Close(nwrfc::RFC_CONNECTION_HANDLE connection) {
    RFC_ERROR_INFO error{};
    EXPECT_EQ(nwrfc::RfcCloseConnection(connection, &error), nwrfc::RFC_OK) << Text(error.message);
  }

  ScratchDirectory directory_{"nwrfc"};
  std::filesystem::path previous_;
};

TEST_F(NetWeaverEndToEnd, ConversationDeliversTheFieldsInUtf16BlankPadded) {
  Sapsim sim(R"({"systems": [{"name": "PRD", "rfcsi": {
      "RFCHOST": "prdhost", "RFCSYSID": "PRD", "RFCSAPRL": "740", "RFCDBSYS": "ORACLE",
      "RFCOPSYS": "Z\u00fcrich\u20ac", "RFCIPADDR": "127.0.0.1", "RFCDEST": "prdhost_PRD_00"}}]})");
  const auto connection = Open(sim, "PRD");
  const Conversation c = Converse(connection);
  ASSERT_EQ(c.failedIn, "") << Text(c.error.message);
  // Every operation that succeeds leaves the record cleared.
  ExpectTold(c.error, {nwrfc::RFC_OK, nwrfc::RFC_GROUP_OK, "", ""});
  const std::vector<std::u16string> expected = {
      u"prdhost ", u"PRD     ", u"740 ", u"ORACLE    ",
      // Ten bytes of UTF-8 are seven characters, and three blanks make the field's length.
      u"Z\u00fcrich\u20ac   ", u"127.0.0.1      "};
  EXPECT_EQ(c.fields, expected);
  Close(connection);
}

TEST_F(NetWeaverEndToEnd, SapsimRecordsEveryParameterAsItArrivedAndTheLookup) {
  Sapsim sim(R"({"systems": [{"name": "PRD"}]})", {.record = true});
  const std::string port = std::to_string(sim.Port("PRD"));
  Parameters parameters = {
      {u"ashost", u"127.0.0.1"}, {u"SysNr", u"07"},          {u"GWSERV", Utf16FromBytes(port)},
      {u"CLIENT", u"100"},       {u"USER", u"m\u00f6nitor"}, {u"PASSWD", u"pass word "},
      {u"LANG", u"DE"},          {u"GWHOST", u"127.0.0.1"},  {u"TRACE", u"0"},
      {u"SNC_MODE", u"0"}};
  RFC_ERROR_INFO error{};
  const auto connection = nwrfctest::Open(parameters, error);
  ASSERT_NE(connection, nullptr) << Text(error.message);
  EXPECT_EQ(Converse(connection).failedIn, "");
  Close(connection);

  const std::vector<json> recorded = sim.Recorded();
  ASSERT_EQ(recorded.size(), 4u);
  const json& open = recorded[0];
  EXPECT_EQ(open["event"], "open");
  EXPECT_EQ(open["operation"], "RfcOpenConnection");
  json list = json::array();
  for (const auto& [name, value] : parameters) {
    list.push_back({{"name", Text(name)}, {"value", Text(value)}});
  }
  EXPECT_EQ(open["parameters"], list) << "names and values as they arrived, in order";
  // The classic fields, from the parameters of the same meaning.
  const json classic = {
      {"client", "100"},           {"user", "m\xc3\xb6nitor"}, {"password", "pass word "},
      {"language", "DE"},          {"host", "127.0.0.1"},      {"sysnr", 7},
      {"gwhost", "127.0.0.1"},     {"gwservice", port},        {"destination", nullptr},
      {"connect_string", nullptr}, {"accepted", true}};
  for (const auto& [key, value] : classic.items()) EXPECT_EQ(open[key], value) << key;
  EXPECT_EQ(recorded[1], json({{"event", "lookup"},
                               {"system", "PRD"},
                               {"connection", 1},
                               {"function", "RFC_SYSTEM_INFO"},
                               {"accepted", true}}));
  EXPECT_EQ(recorded[2]["event"], "call");
  EXPECT_EQ(recorded[3]["event"], "close");
}

TEST_F(NetWeaverEndToEnd, OpenFailsWithTheReasonOfTheSystemOrTheNetwork) {
  ShortTimeouts timeouts(2000);
  Sapsim sim(R"({"systems": [{"name": "PRD",
      "logons": [{"client": "100", "user": "MONITOR", "password": "secret"}]}]})",
             {.record = true});
  const std::u16string port = Utf16FromBytes(std::to_string(sim.Port("PRD")));
  const std::u16string closed = Utf16FromBytes(ClosedPort());
  const Parameters server = {{u"ASHOST", u"127.0.0.1"}, {u"GWSERV", port}};
  const auto with = [&server](Parameters more, const Parameters& base = {}) {
    Parameters all = base.empty() ? server : base;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  const Parameters logon = {{u"CLIENT", u"100"}, {u"USER", u"monitor"}, {u"PASSWD", u"secret"}};
  struct Case {
    const char* what;
    Parameters parameters;
    Told told;
    bool reachesSapsim;
  };
  const Case cases[] = {
      {"wrong password",
       with({{u"CLIENT", u"100"}, {u"USER", u"MONITOR"}, {u"PASSWD", u"Geheim42"}}),
       {nwrfc::RFC_LOGON_FAILURE, kLogon, "LOGON_REFUSED",
        "logon to PRD refused: client, user or password incorrect"},
       true},
      {"through a message server",
       with(logon, {{u"MSHOST", u"127.0.0.1"},
                    {u"MSSERV", port},
                    {u"SYSID", u"PRD"},
                    {u"GROUP", u"PUBLIC"}}),
       {nwrfc::RFC_LOGON_FAILURE, kLogon, "LOGON_REFUSED",
        "logon to PRD refused: PRD has no message server (MSHOST)"},
       true},
      {"through a router",
       with(logon, with({{u"SAPROUTER", u"/H/router.example/S/3299/H/"}})),
       {nwrfc::RFC_LOGON_FAILURE, kLogon, "LOGON_REFUSED",
        "logon to PRD refused: PRD cannot be reached through a router (SAPROUTER)"},
       true},
      {"with secure network communication",
       with(logon, with({{u"SNC_MODE", u"1"}, {u"SNC_PARTNERNAME", u"p:CN=PRD"}})),
       {nwrfc::RFC_LOGON_FAILURE, kLogon, "LOGON_REFUSED",
        "logon to PRD refused: PRD has no secure network communication (SNC_MODE=1)"},
       true},
      {"nobody listens",
       {{u"ASHOST", u"127.0.0.1"}, {u"GWSERV", closed}},
       {nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication, "CONNECT_FAILED",
        "partner 127.0.0.1:" + Text(closed) + " not reached (Connection refused)"},
       false},
      {"a name that resolves to nothing",
       {{u"ASHOST", u"nohost.invalid"}, {u"SYSNR", u"00"}},
       {nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication, "NAME_NOT_RESOLVED",
        "host name nohost.invalid not resolved (*"},
       false},
      {"no address",
       logon,
       {codes::kInvalidParameter, kCaller, "BAD_ADDRESS",
        "neither an application server (ASHOST) nor a message server (MSHOST) is given"},
       false},
      {"a system number that is none",
       with({{u"SYSNR", u"7a"}}),
       {codes::kInvalidParameter, kCaller, "BAD_ADDRESS", "SYSNR=7a is not a system number"},
       false},
  };
  std::size_t opens = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RFC_ERROR_INFO error{};
    EXPECT_EQ(nwrfctest::Open(c.parameters, error), nullptr);
    ExpectTold(error, c.told);
    EXPECT_EQ(Text(error.message).find("Geheim42"), std::string::npos);
    const std::vector<json> recorded = sim.Recorded();
    ASSERT_EQ(recorded.size(), opens += c.reachesSapsim);
    if (!c.reachesSapsim) continue;
    // The system saw what it refused.
    EXPECT_EQ(recorded.back()["accepted"], false);
    EXPECT_EQ(recorded.back()["parameters"].size(), c.parameters.size());
    EXPECT_EQ(recorded.back()["parameters"].back()["name"], Text(c.parameters.back().first));
  }
}

TEST_F(NetWeaverEndToEnd, OpenGivesUpWhenTheConnectionIsNotTakenInTime) {
  FullListener full;
  ShortTimeouts timeouts(300);
  const auto start = Clock::now();
  RFC_ERROR_INFO error{};
  EXPECT_EQ(nwrfctest::Open(LogonTo("127.0.0.1", full.port()), error), nullptr);
  EXPECT_GE(Elapsed(start), 300);
  EXPECT_LT(Elapsed(start), 3000);
  ExpectTold(error, {nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication, "CONNECT_TIMEOUT",
                     WithPeer("partner {peer} not reached within 300 ms", full.port())});
}

TEST_F(NetWeaverEndToEnd, EveryAnswerAndFaultOfTheSystemReachesTheCaller) {
  Sapsim sim(R"({"systems": [
      {"name": "FAILS", "answer": {"code": 1, "message": "database PRD not available"}},
      {"name": "REFUSES", "fault": "refuse_call"},
      {"name": "RAISES", "answer": {"exception": "NOT_AUTHORIZED"}},
      {"name": "SYSRAISES", "answer": {"system_exception": "SYSTEM_FAILURE",
                                       "message": "dump in RFC_SYSTEM_INFO"}},
      {"name": "CODE7", "answer": {"code": 7}},
      {"name": "DROP", "fault": "drop_on_call"},
      {"name": "DROP_CALL", "fault": "drop_on_call", "fault_during": "RfcCall"},
      {"name": "GARBAGE", "fault": "garbage_on_call"},
      {"name": "HANG", "fault": "hang_on_call"},
      {"name": "HANG_CALL", "fault": "hang_on_call", "fault_during": "RfcCall"}]})");
  ShortTimeouts timeouts(400);
  struct Case {
    const char* system;
    const char* failedIn;
    Told told;  // {peer} stands for the system's address
  };
  const Case cases[] = {
      // Where the classic library's call fails, the lookup is refused with the same reason.
      {"FAILS",
       "RfcGetFunctionDesc",
       {codes::kRefused, kSystem, "LOOKUP_REFUSED", "database PRD not available"}},
      {"REFUSES",
       "RfcGetFunctionDesc",
       {codes::kRefused, kSystem, "LOOKUP_REFUSED", "call of RFC_SYSTEM_INFO refused by REFUSES"}},
      {"RAISES",
       "RfcInvoke",
       {nwrfc::RFC_ABAP_EXCEPTION, kApplication, "NOT_AUTHORIZED",
        "RFC_SYSTEM_INFO raised the exception NOT_AUTHORIZED"}},
      {"SYSRAISES",
       "RfcInvoke",
       {nwrfc::RFC_ABAP_RUNTIME_FAILURE, kSystem, "SYSTEM_FAILURE",
        "RFC_SYSTEM_INFO raised the system exception SYSTEM_FAILURE: dump in RFC_SYSTEM_INFO"}},
      {"CODE7",
       "RfcInvoke",
       {codes::kAnswerCode, kSystem, "FAILURE_CODE", "RFC_SYSTEM_INFO ended with code 7"}},
      {"DROP",
       "RfcInvoke",
       {nwrfc::RFC_CLOSED, kCommunication, "CONNECTION_CLOSED",
        "connection to {peer} closed by the partner"}},
      {"DROP_CALL",
       "RfcInvoke",
       {nwrfc::RFC_CLOSED, kCommunication, "CONNECTION_CLOSED",
        "connection to {peer} closed by the partner"}},
      {"GARBAGE",
       "RfcInvoke",
       {nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication, "MALFORMED_REPLY",
        "reply from {peer} is malformed (frame does not parse)"}},
      {"HANG",
       "RfcInvoke",
       {nwrfc::RFC_TIMEOUT, kCommunication, "TIMEOUT", "no reply from {peer} within 400 ms"}},
      {"HANG_CALL",
       "RfcInvoke",
       {nwrfc::RFC_TIMEOUT, kCommunication, "TIMEOUT", "no reply from {peer} within 400 ms"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    const auto connection = Open(sim, c.system);
    ASSERT_NE(connection, nullptr);
    const auto start = Clock::now();
    const Conversation conversation = Converse(connection);
    EXPECT_LT(Elapsed(start), 3000) << "the shortened timeout applies";
    EXPECT_EQ(conversation.failedIn, c.failedIn);
    Told told = c.told;
    told.message = WithPeer(told.message, sim.Port(c.system));
    ExpectTold(conversation.error, told);
    EXPECT_TRUE(conversation.fields.empty());
    if (told.group == kCommunication) {
      // A lost connection stays lost; it still closes without a word.
      RFC_ERROR_INFO again{};
      EXPECT_EQ(nwrfc::RfcGetFunctionDesc(connection, u"RFC_SYSTEM_INFO", &again), nullptr);
      ExpectTold(again, {nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication, "CONNECTION_BROKEN",
                         WithPeer("connection to {peer} already lost", sim.Port(c.system))});
    }
    Close(connection);
  }
}

// A partner that speaks the frames itself: it takes the logon and the lookup, answers the call
// with bytes of the test's own, and then hangs up or serves on.
class ScriptedPartner {
 public:
  enum class After { HangUp, ServeOn };

  ScriptedPartner(wire::Frame answer, After after)
      : answer_(std::move(answer)), after_(after), thread_([this] { Serve(); }) {}
  ~ScriptedPartner() {
    // Wakes a partner that still waits for the client.
    ::shutdown(acceptor_.native_handle(), SHUT_RDWR);
    if (const int socket = socket_.load(); socket >= 0) ::shutdown(socket, SHUT_RDWR);
    thread_.join();
  }
  ScriptedPartner(const ScriptedPartner&) = delete;
  ScriptedPartner& operator=(const ScriptedPartner&) = delete;

  int port() const { return port_; }

  static wire::Frame Frame(const wire::Message& message) { return *wire::Encode(message); }

 private:
  void Serve() {
    asio::error_code error;
    asio::ip::tcp::socket socket(io_);
    acceptor_.accept(socket, error);
    if (error) return;
    socket_ = socket.native_handle();
    for (;;) {
      wire::Header header{};
      asio::read(socket, asio::buffer(header), error);
      const std::optional<std::uint32_t> length = wire::PayloadLength(header);
      if (error || !length) break;
      std::vector<std::uint8_t> payload(*length);
      asio::read(socket, asio::buffer(payload), error);
      const std::optional<wire::Message> message = wire::Decode(payload);
      if (error || !message) break;
      wire::Frame reply = std::visit(
          [this](const auto& request) -> wire::Frame {
            using Request = std::decay_t<decltype(request)>;
            if constexpr (std::is_same_v<Request, wire::OpenRequest>) {
              return Frame(wire::OpenReply{true, ""});
            } else if constexpr (std::is_same_v<Request, wire::LookupRequest>) {
              return Frame(wire::LookupReply{true, ""});
            } else if constexpr (std::is_same_v<Request, wire::CallRequest>) {
              return answer_;
            } else {
              return Frame(wire::CloseReply{});
            }
          },
          *message);
      asio::write(socket, asio::buffer(reply), error);
      const bool call = std::holds_alternative<wire::CallRequest>(*message);
      if (error || std::holds_alternative<wire::CloseRequest>(*message) ||
          (call && after_ == After::HangUp)) {
        break;
      }
    }
    socket_ = -1;
  }

  wire::Frame answer_;
  After after_;
  asio::io_context io_;
  asio::ip::tcp::acceptor acceptor_{io_, {asio::ip::address_v4::loopback(), 0}};
  int port_ = acceptor_.local_endpoint().port();
  std::atomic<int> socket_{-1};
  std::thread thread_;
};

wire::Frame Joined(const wire::Frame& first, const wire::Frame& second) {
  wire::Frame both = first;
  both.insert(both.end(), second.begin(), second.end());
  return both;
}

TEST_F(NetWeaverEndToEnd, PartnerThatBreaksOffWithinAFrameIsACommunicationFailure) {
  const wire::Frame result = ScriptedPartner::Frame(wire::CallResult{});
  // The call is taken; of its result only three bytes of the header come.
  ScriptedPartner partner(Joined(ScriptedPartner::Frame(wire::CallReply{true, ""}),
                                 wire::Frame(result.begin(), result.begin() + 3)),
                          ScriptedPartner::After::HangUp);
  const auto connection = [&] {
    RFC_ERROR_INFO error{};
    return nwrfctest::Open(LogonTo("127.0.0.1", partner.port()), error);
  }();
  ASSERT_NE(connection, nullptr);
  const Conversation c = Converse(connection);
  EXPECT_EQ(c.failedIn, "RfcInvoke");
  ExpectTold(c.error, {nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication, "CONNECTION_BROKEN",
                       WithPeer("connection to {peer} broken (End of file)", partner.port())});
  Close(connection);
}

TEST_F(NetWeaverEndToEnd, HostileBytesFromTheSystemShowAsThroughTheClassicLibrary) {
  struct Case {
    const char* field;
    std::string bytes;  // the field's bytes, blank-padded on the wire
    std::u16string text;
  };
  const Case cases[] = {
      {"RFCHOST", "h\xf6st\x81", u"h\u00f6st\u0081   "},          // Windows-1252
      {"RFCSYSID", "PR\x01<&>", u"PR\u0001<&>  "},                // control and markup
      {"RFCSAPRL", "\xe2\x82\xac", u"\u20ac   "},                 // UTF-8: one character
      {"RFCDBSYS", "DB\xf0\x9f\x98\x80", u"DB\U0001F600      "},  // beyond the first plane
      {"RFCOPSYS", "Linux\xc3", u"Linux\u00c3    "},              // a sequence cut by the field
      {"RFCIPADDR",
       std::string("1\0"
                   "2",
                   3),
       std::u16string(u"1\0"
                      u"2            ",
                      15)},
  };
  wire::CallResult result;
  for (const Case& c : cases) {
    standin::SetRfcsiField(result.systemInfo, *standin::FindRfcsiField(c.field), c.bytes);
  }
  ScriptedPartner partner(
      Joined(ScriptedPartner::Frame(wire::CallReply{true, ""}), ScriptedPartner::Frame(result)),
      ScriptedPartner::After::ServeOn);
  RFC_ERROR_INFO error{};
  const auto connection = nwrfctest::Open(LogonTo("127.0.0.1", partner.port()), error);
  ASSERT_NE(connection, nullptr) << Text(error.message);
  const Conversation c = Converse(connection);
  ASSERT_EQ(c.failedIn, "") << Text(c.error.message);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].field);
    EXPECT_EQ(c.fields[i], cases[i].text);
    // The sensor's document shows the same, whichever library brought the field: the field up
    // to an end mark, without its padding, as XML text.
    const std::string padded =
        cases[i].bytes + std::string(kShownFields[i].second - cases[i].bytes.size(), ' ');
    const std::string text = Text(c.fields[i]);
    EXPECT_EQ(XmlText(FieldText(text.data(), text.size())),
              XmlText(FieldText(padded.data(), padded.size())));
  }
  Close(connection);
}

// A function and its exported structure, invoked on a system that answers.
class NetWeaverData : public NetWeaverEndToEnd {
 protected:
  void SetUp() override {
    NetWeaverEndToEnd::SetUp();
    sim_ = std::make_unique<Sapsim>(R"({"systems": [{"name": "PRD", "rfcsi": {
        "RFCHOST": "prdhost", "RFCDEST": "prdhost_PRD_00_and_more_than_32_bytes"}}]})");
    connection_ = Open(*sim_, "PRD");
    description_ = nwrfc::RfcGetFunctionDesc(connection_, u"RFC_SYSTEM_INFO", &error_);
    function_ = nwrfc::RfcCreateFunction(description_, &error_);
    ASSERT_NE(function_, nullptr) << Text(error_.message);
  }
  void TearDown() override {
    nwrfc::RfcDestroyFunction(function_, &error_);
    Close(connection_);
    NetWeaverEndToEnd::TearDown();
  }
  nwrfc::RFC_STRUCTURE_HANDLE Exported() {
    nwrfc::RFC_STRUCTURE_HANDLE structure = nullptr;
    EXPECT_EQ(nwrfc::RfcGetStructure(function_, u"RFCSI_EXPORT", &structure, &error_),
              nwrfc::RFC_OK);
    return structure;
  }

  std::unique_ptr<Sapsim> sim_;
  nwrfc::RFC_CONNECTION_HANDLE connection_ = nullptr;
  nwrfc::RFC_FUNCTION_DESC_HANDLE description_ = nullptr;
  nwrfc::RFC_FUNCTION_HANDLE function_ = nullptr;
  RFC_ERROR_INFO error_{};
};

TEST_F(NetWeaverData, FieldsFillExactlyTheBufferAndRefuseOneTooShort) {
  // Before the invocation a field holds blanks.
  std::u16string before(8, u'#');
  ASSERT_EQ(nwrfc::RfcGetChars(Exported(), u"RFCHOST", before.data(), 8, &error_), nwrfc::RFC_OK);
  EXPECT_EQ(before, u"        ");
  ASSERT_EQ(nwrfc::RfcInvoke(connection_, function_, &error_), nwrfc::RFC_OK);

  struct Case {
    const char16_t* field;
    unsigned length;  // of the buffer given
    std::u16string filled;
  };
  const Case cases[] = {
      {u"RFCHOST", 8, u"prdhost "},
      {u"RFCHOST", 12, u"prdhost     "},  // a longer buffer: blanks up to its end
      {u"RFCDEST", 32, u"prdhost_PRD_00_and_more_than_32_"},
      {u"RFCSYSID", 8, u"        "},  // a field the system left empty
      {u"RFCSI_RESV", 44, std::u16string(44, u' ')},
  };
  const nwrfc::RFC_STRUCTURE_HANDLE structure = Exported();
  for (const Case& c : cases) {
    SCOPED_TRACE(Text(c.field) + " in " + std::to_string(c.length));
    // One unit more than the length, to see that nothing is written past it.
    std::u16string buffer(c.length + 1, u'#');
    EXPECT_EQ(nwrfc::RfcGetChars(structure, c.field, buffer.data(), c.length, &error_),
              nwrfc::RFC_OK);
    EXPECT_EQ(buffer, c.filled + u"#");
  }

  // The function's own single characters, read from the function itself.
  char16_t single[2] = {u'#', u'#'};
  EXPECT_EQ(nwrfc::RfcGetChars(function_, u"RFC_LOGIN_COMPLETE", single, 1, &error_),
            nwrfc::RFC_OK);
  EXPECT_EQ(single[0], u'X');
  EXPECT_EQ(nwrfc::RfcGetChars(function_, u"DIALOG_USER_TYPE", single, 1, &error_), nwrfc::RFC_OK);
  EXPECT_EQ(single[0], u'0');

  struct Refused {
    nwrfc::DATA_CONTAINER_HANDLE container;
    const char16_t* field;
    unsigned length;
    Told told;
  };
  const Refused refused[] = {
      {structure,
       u"RFCHOST",
       7,
       {codes::kBufferTooSmall, kCaller, "BUFFER_TOO_SMALL",
        "a buffer of 7 characters for RFCHOST, which has 8"}},
      {structure,
       u"RFCSI_RESV",
       0,
       {codes::kBufferTooSmall, kCaller, "BUFFER_TOO_SMALL",
        "a buffer of 0 characters for RFCSI_RESV, which has 44"}},
      {structure,
       u"rfchost",
       8,
       {codes::kNotFound, kCaller, "NOT_FOUND", "RFCSI_EXPORT has no character field rfchost"}},
      {function_,
       u"RFCHOST",
       8,
       {codes::kNotFound, kCaller, "NOT_FOUND", "RFC_SYSTEM_INFO has no character field RFCHOST"}},
  };
  for (const Refused& r : refused) {
    SCOPED_TRACE(r.told.message);
    std::u16string buffer(8, u'#');
    EXPECT_EQ(nwrfc::RfcGetChars(r.container, r.field, buffer.data(), r.length, &error_),
              r.told.code);
    ExpectTold(error_, r.told);
    EXPECT_EQ(buffer, u"########") << "a refused buffer stays as it was";
  }

  nwrfc::RFC_STRUCTURE_HANDLE none = structure;
  EXPECT_EQ(nwrfc::RfcGetStructure(function_, u"RFCSI", &none, &error_), codes::kNotFound);
  ExpectTold(error_,
             {codes::kNotFound, kCaller, "NOT_FOUND", "RFC_SYSTEM_INFO has no structure RFCSI"});
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(nwrfc::RfcGetStructure(structure, u"RFCSI_EXPORT", &none, &error_), codes::kNotFound);
  ExpectTold(error_, {codes::kNotFound, kCaller, "NOT_FOUND",
                      "RFCSI_EXPORT has no structure RFCSI_EXPORT"});
}

TEST_F(NetWeaverData, NullArgumentsAndHandlesGivenOutByNobodyAreRefused) {
  const nwrfc::RFC_STRUCTURE_HANDLE structure = Exported();
  int somethingElse = 0;
  const auto foreign = reinterpret_cast<nwrfc::RFC_CONNECTION_HANDLE>(&somethingElse);
  const auto foreignData = reinterpret_cast<nwrfc::DATA_CONTAINER_HANDLE>(&somethingElse);
  const auto foreignDescription = reinterpret_cast<nwrfc::RFC_FUNCTION_DESC_HANDLE>(&somethingElse);
  std::u16string unended(100, u'A');  // a name without its end within any name's length
  unended.back() = u'\0';
  const nwrfc::RFC_CONNECTION_PARAMETER noValue[] = {{u"ASHOST", nullptr}};
  const nwrfc::RFC_CONNECTION_PARAMETER noName[] = {{nullptr, u"127.0.0.1"}};
  std::u16string buffer(8, u'#');
  nwrfc::RFC_STRUCTURE_HANDLE out = nullptr;
  unsigned major = 0;
  struct Case {
    const char* what;
    std::function<int(RFC_ERROR_INFO*)> call;  // an operation's code, or what its handle is
    int code;
    std::string key;
    std::string message;
  };
  constexpr int kNull = -1000;
  const auto handle = [](auto pointer) { return pointer == nullptr ? kNull : -2000; };
  const Case cases[] = {
      {"open without parameters but a count",
       [&](auto e) { return handle(nwrfc::RfcOpenConnection(nullptr, 1, e)); },
       codes::kInvalidParameter, "BAD_PARAMETER", "no parameters"},
      {"open with too many parameters",
       [&](auto e) { return handle(nwrfc::RfcOpenConnection(noValue, 65, e)); },
       codes::kInvalidParameter, "BAD_PARAMETER", "65 parameters, more than 64"},
      {"a parameter without a name",
       [&](auto e) { return handle(nwrfc::RfcOpenConnection(noName, 1, e)); },
       codes::kInvalidParameter, "BAD_PARAMETER", "no name of parameter 1"},
      {"a parameter without a value",
       [&](auto e) { return handle(nwrfc::RfcOpenConnection(noValue, 1, e)); },
       codes::kInvalidParameter, "BAD_PARAMETER", "no value of ASHOST"},
      {"lookup on no connection",
       [&](auto e) { return handle(nwrfc::RfcGetFunctionDesc(nullptr, u"RFC_SYSTEM_INFO", e)); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no connection handle"},
      {"lookup on another object",
       [&](auto e) { return handle(nwrfc::RfcGetFunctionDesc(foreign, u"RFC_SYSTEM_INFO", e)); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no open connection with this handle"},
      {"lookup without a name",
       [&](auto e) { return handle(nwrfc::RfcGetFunctionDesc(connection_, nullptr, e)); },
       codes::kInvalidParameter, "BAD_PARAMETER", "no function name"},
      {"lookup of a name without an end",
       [&](auto e) { return handle(nwrfc::RfcGetFunctionDesc(connection_, unended.c_str(), e)); },
       codes::kInvalidParameter, "BAD_PARAMETER", "function name has no end within 64 characters"},
      {"lookup of an unknown function",
       [&](auto e) { return handle(nwrfc::RfcGetFunctionDesc(connection_, u"Z_NONE", e)); },
       codes::kRefused, "LOOKUP_REFUSED", "function module Z_NONE not found"},
      {"create from no description",
       [&](auto e) { return handle(nwrfc::RfcCreateFunction(nullptr, e)); }, codes::kInvalidHandle,
       "INVALID_HANDLE", "no function description handle"},
      {"create from another object",
       [&](auto e) { return handle(nwrfc::RfcCreateFunction(foreignDescription, e)); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no open function description with this handle"},
      {"invoke a structure", [&](auto e) { return nwrfc::RfcInvoke(connection_, structure, e); },
       codes::kInvalidHandle, "INVALID_HANDLE", "the handle is a structure's, not a function's"},
      {"invoke on another object", [&](auto e) { return nwrfc::RfcInvoke(foreign, function_, e); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no open connection with this handle"},
      {"structure of another object",
       [&](auto e) { return nwrfc::RfcGetStructure(foreignData, u"RFCSI_EXPORT", &out, e); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no function or structure with this handle"},
      {"structure without a place for it",
       [&](auto e) { return nwrfc::RfcGetStructure(function_, u"RFCSI_EXPORT", nullptr, e); },
       codes::kInvalidParameter, "BAD_PARAMETER", "no place for the structure handle"},
      {"structure without a name",
       [&](auto e) { return nwrfc::RfcGetStructure(function_, nullptr, &out, e); },
       codes::kInvalidParameter, "BAD_PARAMETER", "no structure name"},
      {"field without a buffer",
       [&](auto e) { return nwrfc::RfcGetChars(structure, u"RFCHOST", nullptr, 8, e); },
       codes::kInvalidParameter, "BAD_PARAMETER", "no buffer for RFCHOST"},
      {"field without a name",
       [&](auto e) { return nwrfc::RfcGetChars(structure, nullptr, buffer.data(), 8, e); },
       codes::kInvalidParameter, "BAD_PARAMETER", "no field name"},
      {"field of no container",
       [&](auto e) { return nwrfc::RfcGetChars(nullptr, u"RFCHOST", buffer.data(), 8, e); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no function or structure handle"},
      {"destroy a structure", [&](auto e) { return nwrfc::RfcDestroyFunction(structure, e); },
       codes::kInvalidHandle, "INVALID_HANDLE", "the handle is a structure's, not a function's"},
      {"destroy another object", [&](auto e) { return nwrfc::RfcDestroyFunction(foreignData, e); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no function or structure with this handle"},
      {"close another object", [&](auto e) { return nwrfc::RfcCloseConnection(foreign, e); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no open connection with this handle"},
      {"close no connection", [&](auto e) { return nwrfc::RfcCloseConnection(nullptr, e); },
       codes::kInvalidHandle, "INVALID_HANDLE", "no connection handle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RFC_ERROR_INFO error{};
    const int result = c.call(&error);
    EXPECT_TRUE(result == kNull || result == c.code) << result;
    ExpectTold(error, {c.code, c.code == codes::kRefused ? kSystem : kCaller, c.key, c.message});
    // Without a record to fill the operation fails the same, and quietly.
    EXPECT_EQ(c.call(nullptr), result);
  }
  EXPECT_NE(nwrfc::RfcGetVersion(nullptr, nullptr, nullptr), nullptr);
  EXPECT_NE(nwrfc::RfcGetVersion(&major, nullptr, nullptr), nullptr);
  EXPECT_EQ(major, 1u);

  // The handles given out still work after all that.
  ASSERT_EQ(nwrfc::RfcInvoke(connection_, function_, &error_), nwrfc::RFC_OK);
  ASSERT_EQ(nwrfc::RfcGetChars(Exported(), u"RFCHOST", buffer.data(), 8, &error_), nwrfc::RFC_OK);
  EXPECT_EQ(buffer, u"prdhost ");
}

TEST_F(NetWeaverData, HandlesAreGoneOnceDestroyedOrClosed) {
  const nwrfc::RFC_STRUCTURE_HANDLE structure = Exported();
  EXPECT_EQ(nwrfc::RfcDestroyFunction(function_, &error_), nwrfc::RFC_OK);
  std::u16string buffer(8, u'#');
  EXPECT_EQ(nwrfc::RfcGetChars(structure, u"RFCHOST", buffer.data(), 8, &error_),
            codes::kInvalidHandle);
  EXPECT_EQ(nwrfc::RfcDestroyFunction(function_, &error_), codes::kInvalidHandle);
  // The description stays the library's, for further functions.
  function_ = nwrfc::RfcCreateFunction(description_, &error_);
  ASSERT_NE(function_, nullptr);

  RFC_ERROR_INFO error{};
  const auto other = Open(*sim_, "PRD");
  EXPECT_EQ(nwrfc::RfcGetFunctionDesc(other, u"RFC_SYSTEM_INFO", &error), description_)
      << "one description per function";
  Close(other);
  EXPECT_EQ(nwrfc::RfcCloseConnection(other, &error), codes::kInvalidHandle);
  EXPECT_EQ(nwrfc::RfcInvoke(other, function_, &error), codes::kInvalidHandle);
  EXPECT_EQ(nwrfc::RfcInvoke(connection_, function_, &error), nwrfc::RFC_OK)
      << "another connection is untouched";
}

TEST_F(NetWeaverEndToEnd, ErrorTextsAreCutWithinTheirFieldsBetweenCharacters) {
  // 35 characters of the library's own, then a system's message of 401 characters, all but
  // the first taking two units: the cut at 511 units falls into a pair.
  std::string message = "x";
  for (int i = 0; i < 400; ++i) message += "\\ud83d\\ude00";
  Sapsim sim(R"({"systems": [{"name": "PRD", "answer": {"code": 7, "message": ")" + message +
             R"("}}]})");
  struct Guarded {
    RFC_ERROR_INFO info;
    char guard[64];
  } guarded;
  std::memset(&guarded, '#', sizeof guarded);
  const auto connection = Open(sim, "PRD");
  nwrfc::RFC_FUNCTION_HANDLE function = nwrfc::RfcCreateFunction(
      nwrfc::RfcGetFunctionDesc(connection, u"RFC_SYSTEM_INFO", &guarded.info), &guarded.info);
  EXPECT_EQ(nwrfc::RfcInvoke(connection, function, &guarded.info), codes::kAnswerCode);
  EXPECT_EQ(std::string(guarded.guard, sizeof guarded.guard), std::string(64, '#'));
  const std::u16string text(guarded.info.message);
  EXPECT_EQ(text.size(), 510u) << "the last whole character before the 512th unit";
  EXPECT_EQ(text.substr(0, 36), u"RFC_SYSTEM_INFO ended with code 7: x");
  EXPECT_EQ(text.substr(508), u"\U0001F600");
  EXPECT_EQ(Text(guarded.info.key), "FAILURE_CODE");
  for (const auto* empty :
       {guarded.info.abapMsgClass, guarded.info.abapMsgType, guarded.info.abapMsgNumber,
        guarded.info.abapMsgV1, guarded.info.abapMsgV4}) {
    EXPECT_EQ(empty[0], u'\0');
  }
  nwrfc::RfcDestroyFunction(function, &guarded.info);
  Close(connection);
}

TEST_F(NetWeaverEndToEnd, EachOperationLastsAsLongAsTheSystemTakes) {
  Sapsim sim(
      R"({"systems": [{"name": "PRD", "delays": {"open": 150, "call": 200, "close": 100}}]})");
  auto start = Clock::now();
  const auto connection = Open(sim, "PRD");
  EXPECT_GE(Elapsed(start), 150);
  start = Clock::now();
  EXPECT_EQ(Converse(connection).failedIn, "");
  EXPECT_GE(Elapsed(start), 200);
  start = Clock::now();
  Close(connection);
  EXPECT_GE(Elapsed(start), 100);
}

TEST_F(NetWeaverEndToEnd, ConnectionsOfSeveralThreadsRunAtTheSameTime) {
  constexpr int kThreads = 4;
  constexpr int kCallDelay = 300;
  Sapsim sim(R"({"systems": [{"name": "PRD", "rfcsi": {"RFCSYSID": "PRD"},
                              "delays": {"call": 300}}]})");
  std::vector<std::u16string> systems(kThreads);
  const auto start = Clock::now();
  {
    std::vector<std::jthread> threads;
    threads.reserve(kThreads);
    for (int i = 0; i < kThreads; ++i) {
      threads.emplace_back([&, i] {
        RFC_ERROR_INFO error{};
        const auto connection = nwrfctest::Open(LogonTo(sim.Host("PRD"), sim.Port("PRD")), error);
        const Conversation c = Converse(connection);
        if (c.fields.size() > 1) systems[static_cast<std::size_t>(i)] = c.fields[1];
        nwrfc::RfcCloseConnection(connection, &error);
      });
    }
  }
  EXPECT_LT(Elapsed(start), kThreads * kCallDelay) << "the calls waited for one another";
  for (const std::u16string& system : systems) EXPECT_EQ(system, u"PRD     ");
}

TEST(NetWeaverClient, PrintsTheFieldsOrWhatFailed) {
  Sapsim sim(R"({"systems": [
      {"name": "PRD", "rfcsi": {"RFCHOST": "prdhost", "RFCSYSID": "PRD", "RFCSAPRL": "740",
                                "RFCDBSYS": "ORACLE", "RFCOPSYS": "Linux",
                                "RFCIPADDR": "127.0.0.1"}},
      {"name": "REFUSES", "fault": "refuse_call"}]})");
  const auto run = [&sim](const std::string& system) {
    return testsupport::RunProcess({testsupport::ProgramPath("nwrfc/nwrfc_client"),
                                    sim.Host(system), std::to_string(sim.Port(system))});
  };
  const auto answered = run("PRD");
  EXPECT_EQ(answered.out,
            "RFCHOST=prdhost\nRFCSYSID=PRD\nRFCSAPRL=740\nRFCDBSYS=ORACLE\nRFCOPSYS=Linux\n"
            "RFCIPADDR=127.0.0.1\n");
  EXPECT_EQ(answered.exitCode, 0);
  const auto refused = run("REFUSES");
  EXPECT_EQ(refused.out,
            "RfcGetFunctionDesc 105 LOOKUP_REFUSED: call of RFC_SYSTEM_INFO "
            "refused by REFUSES\n");
  EXPECT_EQ(refused.exitCode, 1);
}

}  // namespace
