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
    if (std::holds_alternative<wire::CloseRequest>(message)) return OnClose();
    End();
  }

  void OnOpen(const wire::OpenRequest& request) {
    if (loggedOn_) return End();
    const bool accepted = AcceptsLogon(system_, request);
    json line = OpenLine(request);
    line["accepted"] = accepted;
    Record("open", line);
    After(system_.openDelay, [this, accepted] {
      wire::OpenReply reply{accepted, accepted ? ""
                                               : "logon to " + system_.name +
                                                     " refused: client, user or password "
                                                     "incorrect"};
      Send(reply, [this, accepted] {
        if (!accepted) return End();
        loggedOn_ = true;
        ReadFrame();
      });
    });
  }

  void OnCall(const wire::CallRequest& request) {
    if (!loggedOn_) return End();
    Record("call", {{"function", request.function}});
    if (request.function != "RFC_SYSTEM_INFO") {
      return Send(wire::CallReply{false, "function module " + request.function + " not found"},
                  [this] { ReadFrame(); });
    }
    if (system_.fault == Fault::RefuseCall) {
      return Send(wire::CallReply{false, "call of RFC_SYSTEM_INFO refused by " + system_.name},
                  [this] { ReadFrame(); });
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
