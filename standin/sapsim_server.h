// sapsim's server: every configured system listens on loopback and answers logons and
// RFC_SYSTEM_INFO, many connections at once, on one thread.
#pragma once

#include <asio.hpp>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "standin/sapsim_config.h"

namespace standin {

// --record: one JSON object per line for every open, call and close received, flushed at
// once so that a test reads it as soon as the library's operation has returned.
class Recorder {
 public:
  explicit Recorder(const std::string& path);
  void Write(const nlohmann::ordered_json& line);

 private:
  std::ofstream out_;
};

class Server {
 public:
  Server(asio::io_context& io, std::vector<SystemConfig> systems, Recorder* recorder);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Opens every system's port on 127.0.0.1 and starts accepting; gives "NAME HOST:PORT" per
  // system. Throws std::runtime_error naming the system whose port cannot be opened.
  std::vector<std::string> Listen();

 private:
  struct Listener;
  void Accept(Listener& listener);

  asio::io_context& io_;
  std::vector<SystemConfig> systems_;
  Recorder* recorder_;
  std::vector<std::unique_ptr<Listener>> listeners_;
  int connections_ = 0;
};

}  // namespace standin
