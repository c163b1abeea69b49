// A simulated SAP system beside a test: sapsim started with a configuration given as text, in
// a scratch directory of its own, stopped with the object.
#pragma once

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "standin/testing/process.h"

namespace testsupport {

struct SapsimOptions {
  bool record = false;                 // start with --record, for Recorded()
  std::vector<std::string> arguments;  // more of sapsim's options
};

class Sapsim {
 public:
  // Writes the configuration (JSON text) to a file, starts sapsim and reads its
  // "NAME HOST:PORT" lines up to "ready". Throws std::runtime_error when it does not get
  // there, with what it printed.
  explicit Sapsim(const std::string& config, const SapsimOptions& options = {});
  ~Sapsim();
  Sapsim(const Sapsim&) = delete;
  Sapsim& operator=(const Sapsim&) = delete;

  // The address of a system by its name; throws std::out_of_range for an unknown name.
  const std::string& Host(const std::string& system) const;
  int Port(const std::string& system) const;

  // The lines recorded so far, one JSON object per open, call and close sapsim received.
  // Each is written before sapsim answers, so a finished operation of the library is there.
  std::vector<nlohmann::json> Recorded() const;

  // Closes sapsim's standard input and waits for it to end; its exit code.
  int Stop();
  BackgroundProcess& process() { return *process_; }
  const ScratchDirectory& directory() const { return directory_; }

 private:
  ScratchDirectory directory_;
  std::unique_ptr<BackgroundProcess> process_;
  std::map<std::string, std::pair<std::string, int>> systems_;
};

}  // namespace testsupport
