// sapsim: a simulated SAP system for tests, demos and trying the sensor out.
#include <CLI/CLI.hpp>
#include <asio.hpp>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "standin/input_end.h"
#include "standin/sapsim_config.h"
#include "standin/sapsim_server.h"

namespace {

// Stops io once the file at path is gone, looking five times a second.
void StopWhenGone(asio::steady_timer& timer, const std::filesystem::path& path,
                  asio::io_context& io) {
  timer.expires_after(std::chrono::milliseconds(200));
  timer.async_wait([&timer, path, &io](const asio::error_code& error) {
    if (error) return;
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored)) {
      StopWhenGone(timer, path, io);
    } else {
      io.stop();
    }
  });
}

}  // namespace

int main(int argc, char** argv) try {
  CLI::App app{
      "sapsim: simulated SAP systems on loopback that answer logons and RFC_SYSTEM_INFO.\n"
      "Prints NAME HOST:PORT per system, then ready; stops on SIGTERM or when standard input "
      "ends, or when the file of --while-exists is gone."};
  std::string configPath;
  std::string recordPath;
  app.add_option("config", configPath, "the JSON file of the systems (see standin/README.md)")
      ->required();
  app.add_option("--record", recordPath,
                 "append one JSON line per open, call and close received to this file");
  std::string whileExistsPath;
  // For a caller that can neither signal sapsim nor hold a pipe to it open: a Windows batch
  // file stops it by deleting the file.
  app.add_option("--while-exists", whileExistsPath, "serve only as long as this file exists")
      ->check(CLI::ExistingFile);
  CLI11_PARSE(app, argc, argv);

  std::vector<standin::SystemConfig> systems = standin::LoadConfig(configPath);
  // Shared with the thread that watches standard input, which may outlive main.
  auto io = std::make_shared<asio::io_context>(1);
  std::optional<standin::Recorder> recorder;
  if (!recordPath.empty()) recorder.emplace(recordPath);
  standin::Server server(*io, std::move(systems), recorder ? &*recorder : nullptr);
  for (const std::string& line : server.Listen()) std::cout << line << '\n';
  std::cout << "ready" << std::endl;

  asio::signal_set signals(*io, SIGINT, SIGTERM);
  signals.async_wait([&context = *io](const asio::error_code&, int) { context.stop(); });
  standin::WatchInputEnd([io] { io->stop(); });
  asio::steady_timer fileWatch(*io);
  if (!whileExistsPath.empty()) StopWhenGone(fileWatch, whileExistsPath, *io);
  io->run();
  return 0;
} catch (const std::exception& error) {
  // Also what the command line's setup throws, so that sapsim never ends by terminate.
  std::cerr << "sapsim: " << error.what() << '\n';
  return 1;
}
