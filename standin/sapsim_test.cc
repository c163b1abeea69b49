// sapsim as a program: whatever a client sends ends at most that client's connection, many
// clients are served at once, it stops when told, and it refuses what it cannot read.
#include <gtest/gtest.h>

#include <asio.hpp>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "standin/test_client.h"
#include "standin/testing/sapsim.h"
#include "standin/wire.h"

namespace {

using namespace std::chrono_literals;
using testsupport::BackgroundProcess;
using testsupport::ProgramPath;
using testsupport::RunProcess;
using testsupport::Sapsim;
using testsupport::ScratchDirectory;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
namespace wire = standin::wire;

Bytes Frame(const wire::Message& message) { return *wire::Encode(message); }

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A client that speaks raw bytes to sapsim.
class RawClient {
 public:
  explicit RawClient(int port) : socket_(io_) {
    socket_.connect({asio::ip::address_v4::loopback(), static_cast<std::uint16_t>(port)});
  }
  void Send(const Bytes& bytes) { asio::write(socket_, asio::buffer(bytes)); }
  void StopSending() { socket_.shutdown(asio::ip::tcp::socket::shutdown_send); }

  // Whether sapsim ends the connection within the limit; what it sent before is skipped.
  bool Ended(std::chrono::milliseconds limit = 3000ms) {
    bool ended = false;
    std::function<void(const asio::error_code&, std::size_t)> onRead =
        [&](const asio::error_code& error, std::size_t) {
          if (error) {
            ended = true;
            return;
          }
          socket_.async_read_some(asio::buffer(buffer_), onRead);
        };
    socket_.async_read_some(asio::buffer(buffer_), onRead);
    io_.restart();
    io_.run_for(limit);
    const bool endedInTime = ended;
    if (!endedInTime) {
      socket_.close();  // the read is aborted and its handler runs here, not later
      io_.restart();
      io_.poll();
    }
    return endedInTime;
  }

 private:
  asio::io_context io_;
  asio::ip::tcp::socket socket_;
  std::array<char, 512> buffer_{};
};

// A conversation through the library: sapsim still answers.
void ExpectAnswers(const Sapsim& sim, const std::string& system) {
  const RfcType type = standintest::InstallRfcsi();
  const RfcHandle handle = standintest::OpenHost(sim.Host(system), sim.Port(system));
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(standintest::Converse(handle, type).receiveCode, RFC_OK);
  RfcClose(handle);
}

TEST(SapsimEndToEnd, WhateverAClientSendsEndsThatConnectionOnly) {
  Sapsim sim(R"({"systems": [{"name": "PRD"}]})");
  const Bytes logon = Frame(wire::OpenRequest{"RfcOpen"});
  const Bytes cutShort(logon.begin(), logon.begin() + 9);
  struct Case {
    const char* what;
    Bytes bytes;
    bool thenNothing = false;  // the client ends its side after the bytes
  };
  const Case cases[] = {
      {"a length beyond any frame", {0xff, 0xff, 0xff, 0xff}},
      {"a length of 0", {0, 0, 0, 0}},
      {"a frame of no known kind", {0, 0, 0, 1, 0x7f}},
      {"a frame whose fields do not parse", {0, 0, 0, 3, 2, 0, 0}},
      {"text instead of frames", Text("GET / HTTP/1.1\r\nHost: sapsim\r\n\r\n")},
      {"a call before the logon", Frame(wire::CallRequest{"RFC_SYSTEM_INFO"})},
      {"a close before the logon", Frame(wire::CloseRequest{})},
      {"a reply instead of a request", Frame(wire::OpenReply{true, ""})},
      {"a second logon", Join({logon, logon})},
      {"a frame cut short, then nothing more", cutShort, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RawClient client(sim.Port("PRD"));
    client.Send(c.bytes);
    if (c.thenNothing) client.StopSending();
    EXPECT_TRUE(client.Ended());
    ExpectAnswers(sim, "PRD");
  }
  EXPECT_TRUE(sim.process().Running());
}

TEST(SapsimEndToEnd, ClientsThatVanishOrFallSilentHoldUpNobody) {
  Sapsim sim(R"({"systems": [{"name": "PRD", "delays": {"call": 300}}]})");
  {
    RawClient vanishing(sim.Port("PRD"));
    vanishing.Send({0, 0, 0});
  }  // gone in the middle of a header
  {
    RawClient leaving(sim.Port("PRD"));
    leaving.Send(Frame(wire::OpenRequest{"RfcOpen"}));
    leaving.Send(Frame(wire::CallRequest{"RFC_SYSTEM_INFO"}));
  }  // gone while its answer is being prepared
  RawClient silent(sim.Port("PRD"));
  RawClient waiting(sim.Port("PRD"));
  waiting.Send(Frame(wire::OpenRequest{"RfcOpen"}));
  ExpectAnswers(sim, "PRD");
  EXPECT_FALSE(silent.Ended(100ms)) << "a silent client is not thrown out";
  EXPECT_TRUE(sim.process().Running());
}

TEST(SapsimEndToEnd, ServesFiftyClientsAtOnce) {
  constexpr int kClients = 50;
  constexpr int kCallDelay = 400;
  Sapsim sim(R"({"systems": [{"name": "PRD", "rfcsi": {"RFCSYSID": "PRD"},
                              "delays": {"call": 400}}]})");
  const auto start = Clock::now();
  std::vector<std::unique_ptr<BackgroundProcess>> clients;
  clients.reserve(kClients);
  for (int i = 0; i < kClients; ++i) {
    clients.push_back(std::make_unique<BackgroundProcess>(std::vector<std::string>{
        ProgramPath("standin_client"), sim.Host("PRD"), std::to_string(sim.Port("PRD"))}));
  }
  int answered = 0;
  for (auto& client : clients) {
    const std::optional<std::string> line = client->ReadLine(30s);
    EXPECT_EQ(line, "0 PRD     ");
    answered += line == "0 PRD     ";
  }
  const auto elapsed = Clock::now() - start;
  EXPECT_EQ(answered, kClients);
  // One after the other the calls alone would take this long.
  EXPECT_LT(elapsed, std::chrono::milliseconds(kClients * kCallDelay));
}

TEST(SapsimEndToEnd, StopsOnSigtermWhenItsInputEndsAndWhenItsFileIsGone) {
  const std::string config = R"({"systems": [{"name": "PRD", "fault": "hang_on_call"}]})";
  enum class Stop { Signal, InputEnd, FileGone };
  const std::pair<Stop, const char*> ways[] = {{Stop::Signal, "SIGTERM"},
                                               {Stop::InputEnd, "standard input closed"},
                                               {Stop::FileGone, "the --while-exists file deleted"}};
  ScratchDirectory directory;
  for (const auto& [way, what] : ways) {
    SCOPED_TRACE(what);
    const std::string file = directory.Write("running", "");
    Sapsim sim(config, {.arguments = {"--while-exists", file}});
    RawClient hanging(sim.Port("PRD"));
    hanging.Send(
        Join({Frame(wire::OpenRequest{"RfcOpen"}), Frame(wire::CallRequest{"RFC_SYSTEM_INFO"})}));
    // Longer than the file is looked for: as long as it exists, sapsim keeps serving.
    EXPECT_FALSE(hanging.Ended(500ms));
    const auto start = Clock::now();
    int code = -1;
    switch (way) {
      case Stop::Signal:
        code = sim.process().Terminate();
        break;
      case Stop::InputEnd:
        code = sim.Stop();
        break;
      case Stop::FileGone:
        std::filesystem::remove(file);
        while (sim.process().Running() && Clock::now() - start < 5s) {
          std::this_thread::sleep_for(10ms);
        }
        code = sim.process().Running() ? -2 : sim.process().Terminate();
        break;
    }
    EXPECT_EQ(code, 0);
    EXPECT_LT(Clock::now() - start, 5s);
  }
}

TEST(SapsimEndToEnd, PrintsEachSystemsAddressOnItsOwnPort) {
  const int fixedPort = [] {
    asio::io_context io;
    asio::ip::tcp::acceptor acceptor(io, {asio::ip::address_v4::loopback(), 0});
    return acceptor.local_endpoint().port();
  }();
  Sapsim sim(R"({"systems": [{"name": "PRD"}, {"name": "QAS", "port": )" +
             std::to_string(fixedPort) + R"(}, {"name": "DEV"}]})");
  EXPECT_EQ(sim.Host("PRD"), "127.0.0.1");
  EXPECT_EQ(sim.Port("QAS"), fixedPort);
  EXPECT_NE(sim.Port("PRD"), sim.Port("DEV"));
  for (const char* system : {"PRD", "QAS", "DEV"}) ExpectAnswers(sim, system);
}

TEST(SapsimEndToEnd, RefusesWhatItCannotStartWithTheReason) {
  ScratchDirectory directory;
  Sapsim running(R"({"systems": [{"name": "PRD"}]})");
  const std::string taken = std::to_string(running.Port("PRD"));
  struct Case {
    std::string config;
    std::string message;
  };
  const Case cases[] = {
      {R"({"systems": [{"name": "PRD", "port": "3300"}]})",
       "sapsim: " + directory.path() + "/systems.json: systems[0].port: must be an integer"},
      {R"({"systems": [{"name": "PRD"}, {"name": "QAS", "port": )" + taken + "}]}",
       "sapsim: cannot listen on 127.0.0.1:" + taken + " for QAS: "},
  };
  for (const Case& c : cases) {
    const std::string file = directory.Write("systems.json", c.config);
    const auto result = RunProcess({ProgramPath("sapsim"), file}, {.timeout = 10s});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
    EXPECT_EQ(result.out.find("ready"), std::string::npos);
  }
  const auto missing = RunProcess({ProgramPath("sapsim"), directory.path() + "/none.json"});
  EXPECT_NE(missing.exitCode, 0);
  EXPECT_EQ(missing.err, "sapsim: " + directory.path() + "/none.json: cannot be read\n");
  // A file to serve while it exists that is not there at the start would stop it at once.
  const std::string config = directory.Write("systems.json", R"({"systems": [{"name": "PRD"}]})");
  const auto gone =
      RunProcess({ProgramPath("sapsim"), config, "--while-exists", directory.path() + "/none.run"});
  EXPECT_NE(gone.exitCode, 0);
  EXPECT_EQ(gone.out.find("ready"), std::string::npos);
  EXPECT_NE(gone.err.find(directory.path() + "/none.run"), std::string::npos) << gone.err;
}

// The demo's systems keep their ports from one start to the next, so that the profiles written
// against them keep working; here they run on ports of the system's choosing, as another run
// on this machine may hold the fixed ones.
TEST(SapsimEndToEnd, TheSampleConfigurationServesItsSystems) {
  std::ifstream file(std::string(SAPSYSINFO_SOURCE_DIR) + "/examples/sapsim.json");
  nlohmann::json config = nlohmann::json::parse(file);
  std::set<int> ports;
  for (nlohmann::json& system : config["systems"]) {
    const int port = system.value("port", 0);
    EXPECT_GT(port, 0) << system["name"] << " has no fixed port";
    EXPECT_TRUE(ports.insert(port).second) << system["name"] << " shares port " << port;
    system["port"] = 0;
  }
  Sapsim sim(config.dump());
  const RfcType type = standintest::InstallRfcsi();
  const RfcHandle prd = standintest::OpenHost(sim.Host("PRD"), sim.Port("PRD"),
                                              {"100", "MONITOR     ", "secret    ", "E"});
  ASSERT_NE(prd, 0u);
  const standintest::Conversation c = standintest::Converse(prd, type);
  EXPECT_EQ(c.receiveCode, RFC_OK);
  EXPECT_EQ(std::string(c.received.systemInfo.rfchost, 8), "prdhost ");
  RfcClose(prd);
  EXPECT_EQ(standintest::Converse(standintest::OpenHost(sim.Host("QAS"), sim.Port("QAS")), type)
                .exception,
            "NOT_AUTHORIZED");
  RfcClose(0);
}

}  // namespace
