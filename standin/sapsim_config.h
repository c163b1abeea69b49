// sapsim's configuration: the simulated systems, read from a JSON file (format in README.md).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "standin/rfcsi.h"
#include "standin/wire.h"

namespace standin {

enum class Fault { None, RefuseCall, DropOnCall, HangOnCall, GarbageOnCall };

// Which operation of the library meets a drop, hang or garbage fault: the call itself (the
// system misbehaves instead of taking the call) or the receive (it takes the call, then
// misbehaves instead of answering).
enum class FaultDuring { Call, Receive };

// An accepted logon; a value that is not given accepts any.
struct Logon {
  std::optional<std::string> client;
  std::optional<std::string> user;
  std::optional<std::string> password;
};

struct SystemConfig {
  std::string name;
  std::uint16_t port = 0;  // 0: a free port
  RfcsiRecord systemInfo = BlankRfcsi();
  std::vector<Logon> logons;  // none: every logon is accepted
  std::chrono::milliseconds openDelay{0};
  std::chrono::milliseconds callDelay{0};
  std::chrono::milliseconds closeDelay{0};
  std::int32_t answerCode = 0;
  std::string exception;  // codes 2 and 3
  std::string message;    // the failure text that goes with the answer
  Fault fault = Fault::None;
  FaultDuring faultDuring = FaultDuring::Receive;
};

class ConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The systems of a configuration; throws ConfigError with a message that names the file and
// the field.
std::vector<SystemConfig> ParseConfig(const std::string& text, const std::string& fileName);
std::vector<SystemConfig> LoadConfig(const std::string& path);

// Whether a system takes a logon: client and password exactly, the user in any letter case,
// all without the blanks the library pads them with.
bool AcceptsLogon(const SystemConfig& system, const wire::OpenRequest& request);

// Why a system refuses a logon, nothing when it takes it. A simulated system has no message
// server, no router and no encryption, so a NetWeaver logon that asks for one of them (MSHOST,
// SAPROUTER, SNC_MODE=1) is refused for that reason; any logon is refused for a client, user
// or password it does not accept.
std::optional<std::string> LogonRefusal(const SystemConfig& system,
                                        const wire::OpenRequest& request);

}  // namespace standin
