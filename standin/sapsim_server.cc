// sapsim's server.
#include "standin/sapsim_server.h"

#include <functional>
#include <stdexcept>

#include "src/rfc/saprfc.h"

namespace standin {
namespace {

using asio::ip::tcp;
using json = nlohmann::ordered_json;

json Text(const std::optional<std::string>& text) { return text ? json(*text) : json(nullptr); }

json OpenLine(const wire::OpenRequest& request) {
  return {{"operation", request.operation},
          {"destination", Text(request.destination)},
          {"client", Text(request.client)},
          {"user", Text(request.user)},
          {"password", Text(request.password)},
          {"language", Text(request.language)},
          {"mode", request.mode},
          {"host", Text(request.host)},
          {"sysnr", request.systemNumber ? json(*request.systemNumber) : json(nullptr)},
          {"gwhost", Text(request.gatewayHost)},
          {"gwservice", Text(request.gatewayService)},
          {"trace", request.trace},
          {"connect_string", Text(request.connectString)}};
}

// A NetWeaver open's parameters, in the order they came.
json ParametersLine(const std::vector<wire::Parameter>& parameters) {
  json list = json::array();
  for (const wire::Parameter& p : parameters)
    list.push_back({{"name", p.name}, {"value", p.value}});
  return list;
}

wire::CallResult Answer(const SystemConfig& system) {
  wire::CallResult result;
  result.code = system.answerCode;
  result.exception = system.exception;
  result.message = system.message;
  if (result.code == RFC_FAILURE && result.message.empty()) {
    result.message = "RFC_SYSTEM_INFO failed on " + system.name;
  }
  result.currentResources = 5;
  result.maximalResources = 10;
  result.recommendedDelay = 0;
  result.dialogUserType = '0';
  result.loginComplete = 'X';
  result.systemInfo = system.systemInfo;
  return result;
}

// One client's connection: reads a frame, answers it, reads the next. Whatever does not
// parse, or does not belong at that point of the conversation, ends this connection only.
class Session : public std::enable_shared_from_this<Session> {
 public:
  Session(tcp::socket socket, const SystemConfig& system, Recorder* recorder, int number)
      : socket_(std::move(socket)),
        timer_(socket_.get_executor()),
        system_(system),
        recorder_(recorder),
        number_(number) {}

  void Start() { ReadFrame(); }

 private:
  void ReadFrame() {
    asio::async_read(socket_, asio::buffer(header_),
                     [this, self = shared_from_this()](const asio::error_code& error, std::size_t) {
                       std::optional<std::uint32_t> length = wire::PayloadLength(header_);
                       if (error || !length) return End();
                       payload_.assign(*length, 0);
                       asio::async_read(socket_, asio::buffer(payload_),
                                        [this, self](const asio::error_code& e, std::size_t) {
                                          if (e) return End();
                                          std::optional<wire::Message> message =
                                              wire::Decode(payload_);
                                          if (!message) return End();
                                          Handle(*message);
                                        });
                     });
  }

  void Handle(const wire::Message& message) {
    if (const auto* open = std::get_if<wire::OpenRequest>(&message)) return OnOpen(*open);
    if (const auto* call = std::get_if<wire::CallRequest>(&message)) return OnCall(*call);
    if (const auto* lookup = std::get_if<wire::LookupRequest>(&message)) return OnLookup(*lookup);
    if (std::holds_alternative<wire::CloseRequest>(message)) return OnClose();
    End();
  }

  void OnOpen(const wire::OpenRequest& request) {
    if (loggedOn_) return End();
    std::optional<std::string> refusal = LogonRefusal(system_, request);
    const bool accepted = !refusal;
    json line = OpenLine(request);
    if (request.parameters) line["parameters"] = ParametersLine(*request.parameters);
    line["accepted"] = accepted;
    Record("open", line);
    After(system_.openDelay, [this, accepted, refusal = std::move(refusal)] {
      wire::OpenReply reply{accepted, refusal.value_or("")};
      Send(reply, [this, accepted] {
        if (!accepted) return End();
        loggedOn_ = true;
        ReadFrame();
      });
    });
  }

  // Why the call of a function is refused before it runs; nothing when it is taken.
  std::optional<std::string> CallRefusal(const std::string& function) const {
    if (function != "RFC_SYSTEM_INFO") return "function module " + function + " not found";
    if (system_.fault == Fault::RefuseCall) {
      return "call of RFC_SYSTEM_INFO refused by " + system_.name;
    }
    return std::nullopt;
  }

  void OnCall(const wire::CallRequest& request) {
    if (!loggedOn_) return End();
    Record("call", {{"function", request.function}});
    if (std::optional<std::string> refusal = CallRefusal(request.function)) {
      return Send(wire::CallReply{false, *refusal}, [this] { ReadFrame(); });
    }
    if (system_.fault != Fault::None && system_.faultDuring == FaultDuring::Call) {
      return After(system_.callDelay, [this] { Misbehave(); });
    }
    Send(wire::CallReply{true, ""}, [this] {
      After(system_.callDelay, [this] {
        if (system_.fault != Fault::None) return Misbehave();
        Send(Answer(system_), [this] { ReadFrame(); });
      });
    });
  }

  // The NetWeaver library's lookup of the function's interface. It is refused wherever the
  // classic library's call would fail before it brings a result (the call refused, or the
  // answer code 1), with the same reason, so that a sensor reports both alike. Faults that
  // break the connection wait for the call itself.
  void OnLookup(const wire::LookupRequest& request) {
    if (!loggedOn_) return End();
    std::optional<std::string> refusal = CallRefusal(request.function);
    if (!refusal && system_.answerCode == RFC_FAILURE) refusal = Answer(system_).message;
    Record("lookup", {{"function", request.function}, {"accepted", !refusal}});
    Send(wire::LookupReply{!refusal, refusal.value_or("")}, [this] { ReadFrame(); });
  }

  void OnClose() {
    if (!loggedOn_) return End();
    Record("close", json::object());
    After(system_.closeDelay, [this] { Send(wire::CloseReply{}, [this] { End(); }); });
  }

  void Misbehave() {
    switch (system_.fault) {
      case Fault::DropOnCall:
        return End();
      case Fault::HangOnCall:
        // Answers nothing, but still notices when the client gives up.
        return ReadFrame();
      case Fault::GarbageOnCall: {
        // A frame of the right length whose kind is none of the messages.
        static const std::uint8_t kGarbage[] = {0, 0, 0, 6, 0xEE, 'j', 'u', 'n', 'k', '!'};
        auto self = shared_from_this();
        asio::async_write(socket_, asio::buffer(kGarbage),
                          [this, self](const asio::error_code&, std::size_t) { End(); });
        return;
      }
      default:
        return End();
    }
  }

  void After(std::chrono::milliseconds delay, std::function<void()> next) {
    timer_.expires_after(delay);
    timer_.async_wait(
        [self = shared_from_this(), next = std::move(next)](const asio::error_code& error) {
          if (!error) next();
        });
  }

  void Send(const wire::Message& message, std::function<void()> next) {
    std::optional<wire::Frame> frame = wire::Encode(message);
    if (!frame) return End();
    out_ = std::move(*frame);
    asio::async_write(socket_, asio::buffer(out_),
                      [this, self = shared_from_this(), next = std::move(next)](
                          const asio::error_code& error, std::size_t) {
                        if (error) return End();
                        next();
                      });
  }

  void Record(const char* event, const json& fields) {
    if (recorder_ == nullptr) return;
    json line = {{"event", event}, {"system", system_.name}, {"connection", number_}};
    line.update(fields);
    recorder_->Write(line);
  }

  void End() {
    asio::error_code ignored;
    timer_.cancel();
    socket_.shutdown(tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
  }

  tcp::socket socket_;
  asio::steady_timer timer_;
  const SystemConfig& system_;
  Recorder* recorder_;
  int number_;
  bool loggedOn_ = false;
  wire::Header header_{};
  std::vector<std::uint8_t> payload_;
  wire::Frame out_;
};

}  // namespace

Recorder::Recorder(const std::string& path) : out_(path, std::ios::app) {
  if (!out_) throw std::runtime_error(path + ": cannot be written");
}

void Recorder::Write(const json& line) {
  // Bytes that are not UTF-8 cannot stand in JSON; they become U+FFFD.
  out_ << line.dump(-1, ' ', false, json::error_handler_t::replace) << '\n' << std::flush;
}

struct Server::Listener {
  tcp::acceptor acceptor;
  const SystemConfig* system;
};

Server::Server(asio::io_context& io, std::vector<SystemConfig> systems, Recorder* recorder)
    : io_(io), systems_(std::move(systems)), recorder_(recorder) {}

Server::~Server() = default;

std::vector<std::string> Server::Listen() {
  std::vector<std::string> lines;
  for (const SystemConfig& system : systems_) {
    const tcp::endpoint endpoint(asio::ip::address_v4::loopback(), system.port);
    auto listener = std::make_unique<Listener>(Listener{tcp::acceptor(io_), &system});
    asio::error_code error;
    listener->acceptor.open(endpoint.protocol(), error);
#if !defined(_WIN32)
    // On Windows this option would let two listeners share a port.
    if (!error) listener->acceptor.set_option(tcp::acceptor::reuse_address(true), error);
#endif
    if (!error) listener->acceptor.bind(endpoint, error);
    if (!error) listener->acceptor.listen(asio::socket_base::max_listen_connections, error);
    if (error) {
      throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(system.port) +
                               " for " + system.name + ": " + error.message());
    }
    lines.push_back(system.name +
                    " 127.0.0.1:" + std::to_string(listener->acceptor.local_endpoint().port()));
    Accept(*listener);
    listeners_.push_back(std::move(listener));
  }
  return lines;
}

void Server::Accept(Listener& listener) {
  listener.acceptor.async_accept(
      [this, &listener](const asio::error_code& error, tcp::socket socket) {
        if (error == asio::error::operation_aborted) return;
        if (!error) {
          asio::error_code ignored;
          socket.set_option(tcp::no_delay(true), ignored);
          std::make_shared<Session>(std::move(socket), *listener.system, recorder_, ++connections_)
              ->Start();
        }
        Accept(listener);
      });
}

}  // namespace standin
