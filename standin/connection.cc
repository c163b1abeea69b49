// One connection of the library to an SAP system.
#include "standin/connection.h"

#include <cstdlib>
#include <memory>

#include "standin/failure.h"

namespace standin {
namespace {

using Clock = std::chrono::steady_clock;

struct Completion {
  bool done = false;
  asio::error_code error;
  std::size_t transferred = 0;  // by a read or write
};

// Runs the library's io context until the operation completes or the deadline passes. On a
// timeout, cancel() aborts the operation; its handler then runs here and only marks the
// completion, which it shares, so nothing it touches is gone.
asio::error_code Wait(asio::io_context& io, const std::shared_ptr<Completion>& completion,
                      Clock::time_point deadline, const auto& cancel) {
  io.restart();
  while (!completion->done && io.run_one_until(deadline) > 0) {
  }
  if (completion->done) return completion->error;
  cancel();
  io.restart();
  io.poll();
  return asio::error::timed_out;
}

auto Completes(const std::shared_ptr<Completion>& completion) {
  return [completion](const asio::error_code& error, const auto&...) {
    completion->done = true;
    completion->error = error;
  };
}

// For reads and writes, which also tell how many bytes they moved.
auto Transfers(const std::shared_ptr<Completion>& completion) {
  return [completion](const asio::error_code& error, std::size_t transferred) {
    completion->done = true;
    completion->error = error;
    completion->transferred = transferred;
  };
}

std::string Milliseconds(std::chrono::milliseconds duration) {
  return std::to_string(duration.count()) + " ms";
}

}  // namespace

Timeouts CurrentTimeouts() {
  Timeouts timeouts{std::chrono::seconds(5), std::chrono::seconds(30)};
  if (const char* text = std::getenv("RFC_STANDIN_TIMEOUT_MS")) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && value > 0 && value <= 3600000) {
      timeouts.connect = timeouts.reply = std::chrono::milliseconds(value);
    }
  }
  return timeouts;
}

std::vector<asio::ip::tcp::endpoint> Connection::Resolve(const Endpoint& endpoint,
                                                         Clock::time_point deadline,
                                                         const Timeouts& timeouts) {
  // A numeric address needs no resolver, whose thread costs more than the rest of an open.
  asio::error_code notNumeric;
  const asio::ip::address address = asio::ip::make_address(endpoint.host, notNumeric);
  if (!notNumeric) return {asio::ip::tcp::endpoint(address, endpoint.port)};

  // A resolution that times out may still complete later; its results go to shared state.
  struct Resolution : Completion {
    asio::ip::tcp::resolver::results_type addresses;
  };
  asio::ip::tcp::resolver resolver(io_);
  auto resolved = std::make_shared<Resolution>();
  resolver.async_resolve(endpoint.host, std::to_string(endpoint.port),
                         [resolved](const asio::error_code& error, auto results) {
                           resolved->done = true;
                           resolved->error = error;
                           resolved->addresses = std::move(results);
                         });
  if (auto error = Wait(io_, resolved, deadline, [&resolver] { resolver.cancel(); })) {
    if (error == asio::error::timed_out) {
      throw Failure("CONNECT_TIMEOUT", "host name " + endpoint.host + " not resolved within " +
                                           Milliseconds(timeouts.connect));
    }
    throw Failure("NAME_NOT_RESOLVED", "host name " + endpoint.host + " not resolved",
                  error.message());
  }

  return {resolved->addresses.begin(), resolved->addresses.end()};
}

void Connection::Open(const Endpoint& endpoint, const wire::OpenRequest& logon,
                      const Timeouts& timeouts) {
  peer_ = endpoint.host + ":" + std::to_string(endpoint.port);
  const auto deadline = Clock::now() + timeouts.connect;

  const std::vector<asio::ip::tcp::endpoint> addresses = Resolve(endpoint, deadline, timeouts);
  auto connected = std::make_shared<Completion>();
  asio::async_connect(socket_, addresses, Completes(connected));
  if (auto error = Wait(io_, connected, deadline, [this] { Drop(); })) {
    Drop();
    if (error == asio::error::timed_out) {
      throw Failure("CONNECT_TIMEOUT",
                    "partner " + peer_ + " not reached within " + Milliseconds(timeouts.connect));
    }
    throw Failure("CONNECT_FAILED", "partner " + peer_ + " not reached", error.message());
  }
  asio::error_code ignored;
  socket_.set_option(asio::ip::tcp::no_delay(true), ignored);

  Send(logon, timeouts.reply);
  wire::OpenReply reply = Receive<wire::OpenReply>(timeouts.reply);
  if (!reply.accepted) {
    Drop();
    throw Failure("LOGON_REFUSED", reply.message.empty() ? "logon refused" : reply.message);
  }
}

void Connection::Send(const wire::Message& message, std::chrono::milliseconds timeout) {
  std::optional<wire::Frame> frame = wire::Encode(message);
  if (!frame) throw Failure("BAD_PARAMETER", "a value is too long to be sent");
  out_ = std::move(*frame);
  auto sent = std::make_shared<Completion>();
  asio::async_write(socket_, asio::buffer(out_), Completes(sent));
  if (auto error = Wait(io_, sent, Clock::now() + timeout, [this] { Drop(); })) {
    if (error == asio::error::timed_out) {
      throw Lost("TIMEOUT", "sending to " + peer_ + " took longer than " + Milliseconds(timeout),
                 "");
    }
    throw Lost("CONNECTION_BROKEN", "connection to " + peer_ + " broken", error.message());
  }
}

wire::Message Connection::ReceiveAny(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  const auto fail = [this, timeout](const asio::error_code& error) {
    if (error == asio::error::timed_out) {
      return Lost("TIMEOUT", "no reply from " + peer_ + " within " + Milliseconds(timeout), "");
    }
    return Lost("CONNECTION_BROKEN", "connection to " + peer_ + " broken", error.message());
  };

  auto headerRead = std::make_shared<Completion>();
  asio::async_read(socket_, asio::buffer(header_), Transfers(headerRead));
  if (auto error = Wait(io_, headerRead, deadline, [this] { Drop(); })) {
    // The partner ended the connection between two frames, in order.
    if (error == asio::error::eof && headerRead->transferred == 0) {
      throw fail(error).MarkClosedByPartner();
    }
    throw fail(error);
  }
  std::optional<std::uint32_t> length = wire::PayloadLength(header_);
  if (!length) {
    throw Lost("MALFORMED_REPLY", "reply from " + peer_ + " is malformed",
               "frame length out of range");
  }

  payload_.assign(*length, 0);
  auto payloadRead = std::make_shared<Completion>();
  asio::async_read(socket_, asio::buffer(payload_), Completes(payloadRead));
  if (auto error = Wait(io_, payloadRead, deadline, [this] { Drop(); })) throw fail(error);
  std::optional<wire::Message> message = wire::Decode(payload_);
  if (!message) {
    throw Lost("MALFORMED_REPLY", "reply from " + peer_ + " is malformed", "frame does not parse");
  }
  return std::move(*message);
}

void Connection::Close(std::chrono::milliseconds timeout) {
  if (!connected()) return;
  try {
    Send(wire::CloseRequest{}, timeout);
    Receive<wire::CloseReply>(timeout);
  } catch (const Failure&) {
    // Nothing is left to be done about a partner that does not confirm.
  }
  Drop();
}

void Connection::Drop() {
  asio::error_code ignored;
  socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
  socket_.close(ignored);
}

Failure Connection::Lost(const std::string& key, const std::string& message,
                         const std::string& detail) {
  Drop();
  Failure failure(key, message, detail);
  failure.MarkConnectionLost();
  return failure;
}

}  // namespace standin
