// A simulated SAP system beside a test.
#include "standin/testing/sapsim.h"

#include <sstream>
#include <stdexcept>
#include <thread>

namespace testsupport {
namespace {

constexpr const char* kRecordFile = "record.jsonl";
constexpr std::chrono::seconds kStartTimeout{20};

}  // namespace

Sapsim::Sapsim(const std::string& config, const SapsimOptions& options) : directory_("sapsim") {
  std::vector<std::string> argv{ProgramPath("sapsim"), directory_.Write("sapsim.json", config)};
  if (options.record) {
    argv.push_back("--record");
    argv.push_back(directory_.path() + "/" + kRecordFile);
    directory_.Write(kRecordFile, "");
  }
  argv.insert(argv.end(), options.arguments.begin(), options.arguments.end());
  process_ = std::make_unique<BackgroundProcess>(argv);
  std::string seen;
  for (;;) {
    std::optional<std::string> line = process_->ReadLine(kStartTimeout);
    if (!line) throw std::runtime_error("sapsim did not get ready; it printed: " + seen);
    if (!line->empty() && line->back() == '\r') line->pop_back();  // sapsim.exe under Wine
    if (*line == "ready") break;
    seen += *line + "\n";
    std::istringstream fields(*line);
    std::string name, address;
    fields >> name >> address;
    const auto colon = address.rfind(':');
    if (colon == std::string::npos) throw std::runtime_error("sapsim printed: " + *line);
    systems_[name] = {address.substr(0, colon), std::stoi(address.substr(colon + 1))};
  }
}

Sapsim::~Sapsim() = default;

const std::string& Sapsim::Host(const std::string& system) const {
  return systems_.at(system).first;
}

int Sapsim::Port(const std::string& system) const { return systems_.at(system).second; }

std::vector<nlohmann::json> Sapsim::Recorded() const {
  std::vector<nlohmann::json> lines;
  std::istringstream text(directory_.Read(kRecordFile).value_or(""));
  for (std::string line; std::getline(text, line);) {
    if (!line.empty()) lines.push_back(nlohmann::json::parse(line));
  }
  return lines;
}

int Sapsim::Stop() {
  process_->CloseInput();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (process_->Running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return process_->Terminate();
}

}  // namespace testsupport
