// One connection of the library to an SAP system (or sapsim): a blocking conversation of
// frames, every step bounded by a timeout, on the caller's one thread.
#pragma once

#include <asio.hpp>
#include <chrono>
#include <string>
#include <vector>

#include "standin/address.h"
#include "standin/failure.h"
#include "standin/wire.h"

namespace standin {

struct Timeouts {
  std::chrono::milliseconds connect;
  std::chrono::milliseconds reply;
};

// Connect 5 s, reply 30 s: the monitor stops a sensor after about a minute. The environment
// variable RFC_STANDIN_TIMEOUT_MS (a positive number of milliseconds) sets both, for tests.
Timeouts CurrentTimeouts();

class Connection {
 public:
  explicit Connection(asio::io_context& io) : io_(io), socket_(io) {}

  // Resolves, connects and logs on. Throws Failure, also when the logon is refused.
  void Open(const Endpoint& endpoint, const wire::OpenRequest& logon, const Timeouts& timeouts);

  // Sends one frame. Throws Failure marked as connection lost, after closing the socket.
  void Send(const wire::Message& message, std::chrono::milliseconds timeout);
  // Waits for the next frame, which must be a Reply. Throws as Send.
  template <class Reply>
  Reply Receive(std::chrono::milliseconds timeout) {
    wire::Message message = ReceiveAny(timeout);
    if (auto* reply = std::get_if<Reply>(&message)) return std::move(*reply);
    throw Lost("MALFORMED_REPLY", "reply from " + peer_ + " is not the expected message", "");
  }

  // Sends the close and waits for its reply, then drops the socket. A partner that does not
  // confirm, or a connection lost already, changes nothing: it goes either way.
  void Close(std::chrono::milliseconds timeout);

  bool connected() const { return socket_.is_open(); }
  const std::string& peer() const { return peer_; }
  void Drop();

  // Whether a call was sent whose result has not been received yet.
  bool callPending = false;
  // The last exception name received; RfcReceive hands out a pointer to it.
  std::string exception;

 private:
  wire::Message ReceiveAny(std::chrono::milliseconds timeout);
  // The addresses of the endpoint's host; throws Failure when it is not resolved in time.
  std::vector<asio::ip::tcp::endpoint> Resolve(const Endpoint& endpoint,
                                               std::chrono::steady_clock::time_point deadline,
                                               const Timeouts& timeouts);
  // Closes the socket and makes the failure of a connection that can no longer be used.
  Failure Lost(const std::string& key, const std::string& message, const std::string& detail);

  asio::io_context& io_;
  asio::ip::tcp::socket socket_;
  std::string peer_;
  wire::Frame out_;
  wire::Header header_{};
  std::vector<std::uint8_t> payload_;
};

}  // namespace standin
