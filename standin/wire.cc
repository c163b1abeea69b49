// The frames between the RFC library stand-in and sapsim.
#include "standin/wire.h"

#include <concepts>
#include <type_traits>
#include <utility>

namespace standin::wire {
namespace {

template <class U, class T>
concept Like = std::same_as<std::remove_const_t<U>, T>;

// One field list per message serves both directions: the writer reads the fields, the
// reader fills them.
void Fields(auto& io, Like<OpenRequest> auto& m) {
  io(m.operation);
  io(m.destination);
  io(m.client);
  io(m.user);
  io(m.password);
  io(m.language);
  io(m.mode);
  io(m.host);
  io(m.systemNumber);
  io(m.gatewayHost);
  io(m.gatewayService);
  io(m.connectString);
  io(m.trace);
  io(m.parameters);
}
void Fields(auto& io, Like<CallRequest> auto& m) { io(m.function); }
void Fields(auto&, Like<CloseRequest> auto&) {}
void Fields(auto& io, Like<OpenReply> auto& m) {
  io(m.accepted);
  io(m.message);
}
void Fields(auto& io, Like<CallReply> auto& m) {
  io(m.accepted);
  io(m.message);
}
void Fields(auto& io, Like<CallResult> auto& m) {
  io(m.code);
  io(m.exception);
  io(m.message);
  io(m.currentResources);
  io(m.maximalResources);
  io(m.recommendedDelay);
  io(m.dialogUserType);
  io(m.loginComplete);
  io(m.systemInfo);
}
void Fields(auto&, Like<CloseReply> auto&) {}
void Fields(auto& io, Like<LookupRequest> auto& m) { io(m.function); }
void Fields(auto& io, Like<LookupReply> auto& m) {
  io(m.accepted);
  io(m.message);
}

class Writer {
 public:
  explicit Writer(Frame& out) : out_(out) {}
  bool ok() const { return ok_; }

  void operator()(const std::string& text) {
    if (text.size() > kMaxText) ok_ = false;
    Word(static_cast<std::uint32_t>(text.size()));
    out_.insert(out_.end(), text.begin(), text.end());
  }
  void operator()(const std::optional<std::string>& text) {
    Byte(text ? 1 : 0);
    if (text) (*this)(*text);
  }
  void operator()(std::int32_t number) { Word(static_cast<std::uint32_t>(number)); }
  void operator()(const std::optional<std::int32_t>& number) {
    Byte(number ? 1 : 0);
    if (number) (*this)(*number);
  }
  void operator()(bool flag) { Byte(flag ? 1 : 0); }
  void operator()(char c) { Byte(static_cast<std::uint8_t>(c)); }
  void operator()(const RfcsiRecord& record) {
    out_.insert(out_.end(), record.begin(), record.end());
  }
  void operator()(const std::optional<std::vector<Parameter>>& parameters) {
    Byte(parameters ? 1 : 0);
    if (!parameters) return;
    if (parameters->size() > kMaxParameters) ok_ = false;
    Word(static_cast<std::uint32_t>(parameters->size()));
    for (const Parameter& parameter : *parameters) {
      (*this)(parameter.name);
      (*this)(parameter.value);
    }
  }

 private:
  void Byte(std::uint8_t b) { out_.push_back(b); }
  void Word(std::uint32_t w) {
    for (int shift = 24; shift >= 0; shift -= 8) Byte(static_cast<std::uint8_t>(w >> shift));
  }

  Frame& out_;
  bool ok_ = true;
};

// Reads fields while every length fits; after the first that does not, reads nothing more.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
  bool Finished() const { return ok_ && position_ == in_.size(); }

  void operator()(std::string& text) {
    std::uint32_t length = Word();
    if (!ok_ || length > kMaxText || length > Left()) {
      ok_ = false;
      return;
    }
    text.assign(reinterpret_cast<const char*>(in_.data() + position_), length);
    position_ += length;
  }
  void operator()(std::optional<std::string>& text) {
    if (Flag()) (*this)(text.emplace());
  }
  void operator()(std::int32_t& number) { number = static_cast<std::int32_t>(Word()); }
  void operator()(std::optional<std::int32_t>& number) {
    if (Flag()) (*this)(number.emplace());
  }
  void operator()(bool& flag) { flag = Flag(); }
  void operator()(char& c) { c = static_cast<char>(Byte()); }
  void operator()(RfcsiRecord& record) {
    if (!ok_ || Left() < record.size()) {
      ok_ = false;
      return;
    }
    for (char& c : record) c = static_cast<char>(in_[position_++]);
  }
  void operator()(std::optional<std::vector<Parameter>>& parameters) {
    if (!Flag()) return;
    const std::uint32_t count = Word();
    if (!ok_ || count > kMaxParameters) {
      ok_ = false;
      return;
    }
    parameters.emplace(count);
    for (Parameter& parameter : *parameters) {
      (*this)(parameter.name);
      (*this)(parameter.value);
    }
  }

 private:
  std::size_t Left() const { return in_.size() - position_; }
  std::uint8_t Byte() {
    if (!ok_ || Left() < 1) {
      ok_ = false;
      return 0;
    }
    return in_[position_++];
  }
  std::uint32_t Word() {
    std::uint32_t w = 0;
    for (int i = 0; i < 4; ++i) w = (w << 8) | Byte();
    return w;
  }
  // A presence or yes/no byte: anything but 0 or 1 is a broken frame.
  bool Flag() {
    std::uint8_t b = Byte();
    if (b > 1) ok_ = false;
    return ok_ && b == 1;
  }

  std::span<const std::uint8_t> in_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

// The limits of single messages beyond the text length; one check serves both directions,
// so that nothing is sent that the other side refuses to read.
bool WithinLimits(const Message& message) {
  const auto* result = std::get_if<CallResult>(&message);
  return result == nullptr || result->exception.size() <= kMaxExceptionName;
}

// The message kind byte is the alternative's index plus one, so 0 is never a kind.
template <std::size_t... I>
Message EmptyMessage(std::size_t index, std::index_sequence<I...>) {
  static constexpr Message (*kMake[])() = {
      []() -> Message { return std::variant_alternative_t<I, Message>{}; }...};
  return kMake[index]();
}

}  // namespace

std::optional<Frame> Encode(const Message& message) {
  Frame frame(kHeaderSize, 0);
  frame.push_back(static_cast<std::uint8_t>(message.index() + 1));
  Writer writer(frame);
  std::visit([&writer](const auto& m) { Fields(writer, m); }, message);
  const std::size_t payload = frame.size() - kHeaderSize;
  if (!writer.ok() || payload > kMaxPayload || !WithinLimits(message)) return std::nullopt;
  for (std::size_t i = 0; i < kHeaderSize; ++i) {
    frame[i] = static_cast<std::uint8_t>(payload >> (8 * (kHeaderSize - 1 - i)));
  }
  return frame;
}

std::optional<std::uint32_t> PayloadLength(const Header& header) {
  std::uint32_t length = 0;
  for (std::uint8_t b : header) length = (length << 8) | b;
  if (length == 0 || length > kMaxPayload) return std::nullopt;
  return length;
}

std::optional<Message> Decode(std::span<const std::uint8_t> payload) {
  constexpr std::size_t kKinds = std::variant_size_v<Message>;
  if (payload.empty() || payload[0] == 0 || payload[0] > kKinds) return std::nullopt;
  Message message = EmptyMessage(payload[0] - 1u, std::make_index_sequence<kKinds>());
  Reader reader(payload.subspan(1));
  std::visit([&reader](auto& m) { Fields(reader, m); }, message);
  if (!reader.Finished() || !WithinLimits(message)) return std::nullopt;
  return message;
}

}  // namespace standin::wire
