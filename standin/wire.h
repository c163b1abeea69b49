// The frames between the RFC library stand-in and sapsim. A frame is a four-byte payload
// length (big-endian) and the payload; the payload's first byte names the message, the rest
// are its fields in a fixed order. Both sides check every length before they read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "standin/rfcsi.h"

namespace standin::wire {

inline constexpr std::size_t kHeaderSize = 4;
inline constexpr std::uint32_t kMaxPayload = 16 * 1024;
inline constexpr std::size_t kMaxText = 2048;
// An exception name as SAP systems define them: at most 30 characters.
inline constexpr std::size_t kMaxExceptionName = 30;
// The logon parameters of one NetWeaver open; a real logon has about a dozen.
inline constexpr std::size_t kMaxParameters = 64;

// One logon parameter of the NetWeaver library, name and value as the caller gave them (in
// UTF-8).
struct Parameter {
  std::string name;
  std::string value;

  bool operator==(const Parameter&) const = default;
};

// The logon, with every value as the library received it (padding kept, absent as nothing).
// The NetWeaver library fills the classic fields from its parameters and sends the
// parameters themselves as well.
struct OpenRequest {
  std::string operation;  // "RfcOpen", "RfcOpenEx" or "RfcOpenConnection"
  std::optional<std::string> destination;
  std::optional<std::string> client;
  std::optional<std::string> user;
  std::optional<std::string> password;
  std::optional<std::string> language;
  std::int32_t mode = 0;
  std::optional<std::string> host;
  std::optional<std::int32_t> systemNumber;
  std::optional<std::string> gatewayHost;
  std::optional<std::string> gatewayService;
  std::optional<std::string> connectString;  // RfcOpenEx only
  std::int32_t trace = 0;
  std::optional<std::vector<Parameter>> parameters;  // RfcOpenConnection only

  bool operator==(const OpenRequest&) const = default;
};

struct CallRequest {
  std::string function;

  bool operator==(const CallRequest&) const = default;
};

struct CloseRequest {
  bool operator==(const CloseRequest&) const = default;
};

struct OpenReply {
  bool accepted = false;
  std::string message;  // why the logon was refused

  bool operator==(const OpenReply&) const = default;
};

// Whether the system took the call; its result follows in a CallResult.
struct CallReply {
  bool accepted = false;
  std::string message;

  bool operator==(const CallReply&) const = default;
};

struct CallResult {
  std::int32_t code = 0;  // as RfcReceive returns it
  std::string exception;  // codes 2 and 3
  std::string message;    // what failed, for the other codes
  std::int32_t currentResources = 0;
  std::int32_t maximalResources = 0;
  std::int32_t recommendedDelay = 0;
  char dialogUserType = ' ';
  char loginComplete = ' ';
  RfcsiRecord systemInfo = BlankRfcsi();

  bool operator==(const CallResult&) const = default;
};

struct CloseReply {
  bool operator==(const CloseReply&) const = default;
};

// The NetWeaver library looks a function's interface up in the system before it calls it.
struct LookupRequest {
  std::string function;

  bool operator==(const LookupRequest&) const = default;
};

struct LookupReply {
  bool accepted = false;
  std::string message;  // why the system refused

  bool operator==(const LookupReply&) const = default;
};

using Message = std::variant<OpenRequest, CallRequest, CloseRequest, OpenReply, CallReply,
                             CallResult, CloseReply, LookupRequest, LookupReply>;
using Frame = std::vector<std::uint8_t>;
using Header = std::array<std::uint8_t, kHeaderSize>;

// The whole frame, header included; nothing when a text, an exception name, the parameter
// list or the payload is too long to send: what Decode would refuse is never sent.
std::optional<Frame> Encode(const Message& message);

// The payload length a header announces; nothing when it is 0 or above kMaxPayload.
std::optional<std::uint32_t> PayloadLength(const Header& header);

// The message of a payload; nothing unless the payload parses completely, to its last byte.
std::optional<Message> Decode(std::span<const std::uint8_t> payload);

}  // namespace standin::wire
