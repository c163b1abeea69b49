// What the library tests of both stand-ins need around a connection: the library's timeouts
// shortened, time measured, a port nobody listens on, and a listener that takes no more
// connections.
#pragma once

#include <stdlib.h>

#include <asio.hpp>
#include <chrono>
#include <string>

namespace standintest {

using Clock = std::chrono::steady_clock;

inline long Elapsed(Clock::time_point since) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// The library's timeouts, shortened for one test.
class ShortTimeouts {
 public:
  explicit ShortTimeouts(int milliseconds) {
    setenv("RFC_STANDIN_TIMEOUT_MS", std::to_string(milliseconds).c_str(), 1);
  }
  ~ShortTimeouts() { unsetenv("RFC_STANDIN_TIMEOUT_MS"); }
  ShortTimeouts(const ShortTimeouts&) = delete;
  ShortTimeouts& operator=(const ShortTimeouts&) = delete;
};

// A port on which nobody listens any more.
inline std::string ClosedPort() {
  asio::io_context io;
  asio::ip::tcp::acceptor acceptor(io, {asio::ip::address_v4::loopback(), 0});
  return std::to_string(acceptor.local_endpoint().port());
}

// A listener whose queue is full: the handshake of one more connection never completes.
class FullListener {
 public:
  FullListener() {
    full_.open(asio::ip::tcp::v4());
    full_.bind({asio::ip::address_v4::loopback(), 0});
    full_.listen(0);
    // Started, never waited for: the connect is issued as the operation begins.
    for (auto& socket : waiting_) {
      socket.async_connect(full_.local_endpoint(), [](const asio::error_code&) {});
    }
  }
  int port() const { return full_.local_endpoint().port(); }

 private:
  asio::io_context io_;
  asio::ip::tcp::acceptor full_{io_};
  asio::ip::tcp::socket waiting_[2] = {asio::ip::tcp::socket(io_), asio::ip::tcp::socket(io_)};
};

}  // namespace standintest
