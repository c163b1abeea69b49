// A scratch tree of drives for end-to-end tests: files are laid out by their Windows paths, and
// the programs run with a Windows current directory on those drives.
//
// Natively the drives are folders of a scratch directory, given to the programs as
// SAPSYSINFO_DRIVES. In Wine mode (SAPSYSINFO_WINE names the wine64 loader, with WINEPREFIX
// and SAPSYSINFO_WIN_BIN_DIR, the folder of the Windows programs) sapsysinfo and sapprofile run
// as Windows programs: drive C: is the prefix's drive_c, shared by every Drives (each removes
// what it created there, and the tests run one at a time), and every other drive is a folder
// of this Drives, linked as the prefix's drive letter.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "standin/testing/process.h"

namespace testsupport {

// Whether the programs run as Windows programs under Wine.
bool UnderWine();

// The RFC library a test's sensor runs speak through: the classic one, which lies beside the
// built sensor, or the NetWeaver one alone (with its companion) beside a copy of the sensor.
// Either way the documents are the same; only the library's reasons are worded differently.
enum class RfcLibrary { Classic, NetWeaver };
std::string NameOf(RfcLibrary library);

// The names of the files a sensor's folder holds, as this host names them (under Wine the
// Windows ones): the sensor, each library, and the NetWeaver library's companion.
std::string SensorFileName();
std::string LibraryFileName(RfcLibrary library);
std::string CompanionFileName();

class Drives {
 public:
  Drives();
  ~Drives();
  Drives(const Drives&) = delete;
  Drives& operator=(const Drives&) = delete;

  // Where the Windows path "X:\a\b" lies on the host.
  std::string HostPath(std::string_view windowsPath) const;

  // Writes a file (creating its folders) or a folder, by its Windows path.
  void Write(std::string_view windowsPath, std::string_view bytes) const;
  void MakeDirectory(std::string_view windowsPath) const;
  std::optional<std::string> Read(std::string_view windowsPath) const;

  // Runs one of the built programs, by name, in `currentDirectory` (created when missing).
  // Under Wine the output comes back with the CR LF the Windows runtime writes for each LF
  // turned into LF again; an LF written without its CR fails the test.
  ProcessResult Run(const std::string& program, const std::vector<std::string>& arguments,
                    std::string_view currentDirectory = "C:\\work", const std::string& input = "",
                    Output output = Output::Captured) const;

  // Every program run from here on is sent SIGTERM once it has run this long.
  void TerminateAfter(std::chrono::milliseconds after) { terminateAfter_ = after; }

  // Set in the environment of every program run from here on (e.g. the library's timeout),
  // in place of an earlier value; natively TMPDIR too, which is otherwise TemporaryFolder().
  void SetEnvironment(const std::string& name, const std::string& value) {
    std::erase_if(env_, [&](const auto& set) { return set.first == name; });
    env_.emplace_back(name, value);
  }
  // How long a program may run before it is killed (and its result marked timed out).
  void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

  // From here on RunSensor runs a sensor that finds only `library`.
  void UseLibrary(RfcLibrary library);
  RfcLibrary Library() const { return library_; }

  // Runs the sensor. What it prints as an XML document must be well-formed XML, whatever the
  // test looks at then: the monitor would show a parse error instead of the result.
  ProcessResult RunSensor(const std::vector<std::string>& arguments,
                          std::string_view currentDirectory = "C:\\work") const;

  // The sensor's own file on the host (natively sapsysinfo, under Wine sapsysinfo.exe), and a
  // library file of the build by its path below the build's program folder.
  static std::string SensorFile();
  static std::string BuildFile(const std::string& relative);
  // Runs a copy of the sensor that lies elsewhere (with or without a library beside it).
  ProcessResult RunSensorFrom(const std::string& hostProgram,
                              const std::vector<std::string>& arguments,
                              std::string_view currentDirectory = "C:\\work") const;

  // The system's temporary folder the programs see, on the host, and the folders that sensor
  // runs left there: in the runs' folder, or beside it (a run whose runs' folder was not its
  // own to use). Under Wine the temporary folder is every test's: RunFoldersLeft leaves out
  // those that were there when this Drives was made (a run a test killed on purpose leaves its
  // folder behind).
  std::string TemporaryFolder() const;
  std::vector<std::string> RunFoldersLeft() const;
  std::vector<std::string> RunFoldersLeftIn(const std::string& hostFolder) const;

 private:
  // Under Wine: notes the outermost folder or file on the shared drive C: that making
  // `hostPath` will create, so that the destructor removes it.
  void Claim(const std::string& hostPath) const;
  ProcessResult RunProgram(const std::vector<std::string>& command,
                           const std::vector<std::string>& arguments,
                           std::string_view currentDirectory, const std::string& input,
                           Output output, const std::string& what) const;

  ScratchDirectory root_{"drives"};
  RfcLibrary library_ = RfcLibrary::Classic;
  std::string sensor_;  // the sensor RunSensor runs, on the host
  std::vector<std::pair<std::string, std::string>> env_;
  std::optional<std::chrono::milliseconds> terminateAfter_;
  std::chrono::milliseconds timeout_{60000};
  mutable std::vector<std::string> created_;   // on the shared drive C:, under Wine
  std::vector<std::string> runFoldersBefore_;  // in the shared temporary folder, under Wine
  std::vector<std::string> links_;             // the prefix's drive letters, under Wine
};

}  // namespace testsupport
