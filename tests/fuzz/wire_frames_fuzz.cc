// Fuzz target: the frames as the library and sapsim read them from a socket. Both sides read
// the header with PayloadLength and the payload with Decode (connection.cc ReceiveAny,
// sapsim_server.cc ReadFrame), so one target covers both. The input is read twice: as a
// stream of frames, and as the makings of a message that is encoded and read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "standin/wire.h"
#include "tests/fuzz/property.h"

namespace {

using namespace standin::wire;

std::string Hex(std::span<const std::uint8_t> bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::uint8_t b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

// Frame after frame, as a side reads them: a header, then exactly the payload it announces.
void ReadFrames(std::span<const std::uint8_t> stream) {
  while (stream.size() >= kHeaderSize) {
    Header header;
    std::copy_n(stream.begin(), kHeaderSize, header.begin());
    stream = stream.subspan(kHeaderSize);
    const std::uint32_t announced = static_cast<std::uint32_t>(header[0]) << 24 |
                                    static_cast<std::uint32_t>(header[1]) << 16 |
                                    static_cast<std::uint32_t>(header[2]) << 8 | header[3];
    const std::optional<std::uint32_t> length = PayloadLength(header);
    fuzz::Require(length == (announced >= 1 && announced <= kMaxPayload
                                 ? std::optional<std::uint32_t>(announced)
                                 : std::nullopt),
                  "a header gives the length it announces, and only from 1 to the limit",
                  Hex(header));
    if (!length || stream.size() < *length) return;
    // A buffer of the payload's own size, as both sides read into: any read past it is seen.
    const std::vector<std::uint8_t> payload(stream.begin(), stream.begin() + *length);
    stream = stream.subspan(*length);

    const std::optional<Message> message = Decode(payload);
    if (!message) continue;
    const std::optional<Frame> again = Encode(*message);
    fuzz::Require(again.has_value(), "Encode takes every message that Decode gives", Hex(payload));
    Frame frame(header.begin(), header.end());
    frame.insert(frame.end(), payload.begin(), payload.end());
    fuzz::Require(*again == frame, "a message read re-encodes to the same bytes",
                  Hex(frame) + "\n  " + Hex(*again));
  }
}

// Texts up to their limit, or one character past it, so that both sides of every limit are
// reached. The length comes first, from bytes the fuzzer finds easily.
std::string Text(FuzzedDataProvider& input, std::size_t limit = kMaxText) {
  const std::size_t length =
      input.ConsumeBool() ? limit + 1 : input.ConsumeIntegralInRange<std::size_t>(0, limit);
  return input.ConsumeBytesAsString(length);
}
std::optional<std::string> MaybeText(FuzzedDataProvider& input) {
  if (!input.ConsumeBool()) return std::nullopt;
  return Text(input);
}
std::int32_t Number(FuzzedDataProvider& input) { return input.ConsumeIntegral<std::int32_t>(); }
// A NetWeaver open's parameters: absent, or up to one more than the limit.
std::optional<std::vector<Parameter>> MaybeParameters(FuzzedDataProvider& input) {
  if (!input.ConsumeBool()) return std::nullopt;
  std::vector<Parameter> parameters(
      input.ConsumeIntegralInRange<std::size_t>(0, kMaxParameters + 1));
  for (Parameter& parameter : parameters) {
    parameter.name = Text(input);
    parameter.value = Text(input);
  }
  return parameters;
}

Message Made(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 8)) {
    case 0: {
      OpenRequest m;
      m.operation = Text(input);
      m.destination = MaybeText(input);
      m.client = MaybeText(input);
      m.user = MaybeText(input);
      m.password = MaybeText(input);
      m.language = MaybeText(input);
      m.mode = Number(input);
      m.host = MaybeText(input);
      if (input.ConsumeBool()) m.systemNumber = Number(input);
      m.gatewayHost = MaybeText(input);
      m.gatewayService = MaybeText(input);
      m.connectString = MaybeText(input);
      m.trace = Number(input);
      m.parameters = MaybeParameters(input);
      return m;
    }
    case 1:
      return CallRequest{Text(input)};
    case 2:
      return CloseRequest{};
    case 3:
      return OpenReply{input.ConsumeBool(), Text(input)};
    case 4:
      return CallReply{input.ConsumeBool(), Text(input)};
    case 5: {
      CallResult m;
      m.code = Number(input);
      m.exception = Text(input, kMaxExceptionName);
      m.message = Text(input);
      m.currentResources = Number(input);
      m.maximalResources = Number(input);
      m.recommendedDelay = Number(input);
      m.dialogUserType = input.ConsumeIntegral<char>();
      m.loginComplete = input.ConsumeIntegral<char>();
      const std::vector<char> record = input.ConsumeBytes<char>(m.systemInfo.size());
      std::copy(record.begin(), record.end(), m.systemInfo.begin());
      return m;
    }
    case 6:
      return CloseReply{};
    case 7:
      return LookupRequest{Text(input)};
    default:
      return LookupReply{input.ConsumeBool(), Text(input)};
  }
}

// The texts of a message: whether each keeps its limit, and their characters together, with
// the lengths that go with a parameter's two texts.
struct Texts {
  bool withinLimits = true;
  std::size_t bytes = 0;
};

Texts Measure(const Message& message) {
  Texts texts;
  const auto add = [&texts](std::size_t length, std::size_t limit) {
    texts.withinLimits &= length <= limit;
    texts.bytes += length;
  };
  std::visit(
      [&add, &texts](const auto& m) {
        if constexpr (requires { m.exception; }) add(m.exception.size(), kMaxExceptionName);
        if constexpr (requires { m.message; }) add(m.message.size(), kMaxText);
        if constexpr (requires { m.function; }) add(m.function.size(), kMaxText);
        if constexpr (requires { m.operation; }) {
          add(m.operation.size(), kMaxText);
          for (const auto* text : {&m.destination, &m.client, &m.user, &m.password, &m.language,
                                   &m.host, &m.gatewayHost, &m.gatewayService, &m.connectString}) {
            add(text->value_or("").size(), kMaxText);
          }
          if (m.parameters) {
            texts.withinLimits &= m.parameters->size() <= kMaxParameters;
            for (const Parameter& parameter : *m.parameters) {
              add(parameter.name.size(), kMaxText);
              add(parameter.value.size(), kMaxText);
              texts.bytes += 8;
            }
          }
        }
      },
      message);
  return texts;
}

// Every field of a message but the texts' characters takes less (the RFCSI record 200 bytes).
constexpr std::size_t kOtherFieldBytes = 256;

// Encode refuses exactly what Decode would refuse: what it sends reads back as it was, and it
// refuses only a text or a name beyond its limit, a parameter list longer than its limit, or
// a payload too large for a frame.
void SendAndRead(const Message& message) {
  const std::optional<Frame> frame = Encode(message);
  const Texts texts = Measure(message);
  if (!frame) {
    fuzz::Require(!texts.withinLimits || texts.bytes + kOtherFieldBytes > kMaxPayload,
                  "Encode refuses only a message that breaks a limit");
    return;
  }
  fuzz::Require(texts.withinLimits,
                "Encode refuses a text, a name or a parameter list beyond its limit", Hex(*frame));
  Header header;
  std::copy_n(frame->begin(), kHeaderSize, header.begin());
  fuzz::Require(PayloadLength(header) == frame->size() - kHeaderSize,
                "the header announces the payload");
  const std::vector<std::uint8_t> payload(frame->begin() + kHeaderSize, frame->end());
  fuzz::Require(Decode(payload) == message, "what is sent reads back as it was", Hex(*frame));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ReadFrames(std::span<const std::uint8_t>(data, size));
  FuzzedDataProvider input(data, size);
  SendAndRead(Made(input));
  return 0;
}
