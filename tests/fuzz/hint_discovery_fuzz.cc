// Fuzz target: C:\PRTG_Path.Txt and the discovery of the profile's place, on a scratch tree of
// drives that holds the monitor's custom-sensor directory under C:\Monitor and on the current
// drive's usual installation path (the current directory stays libFuzzer's, outside the drives,
// so the current drive is C:). Input: the hint file's bytes, or with a first byte 0 none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "src/config/discovery.h"
#include "src/output/messages.h"
#include "tests/fuzz/property.h"
#include "tests/fuzz/scratch.h"

namespace {

constexpr const char* kProfile = "PRD.P00";

// The drives, laid out once: the profile where a hint and where the usual search find it.
const std::filesystem::path& Drives() {
  static const std::filesystem::path drives = [] {
    std::filesystem::path root = fuzz::ScratchFolder() / "drives";
    fuzz::ScratchFile("drives/c/Monitor/PRTG Network Monitor/Custom Sensors/ExeXml/PRD.P00", "");
    fuzz::ScratchFile("drives/c/Monitor/Elsewhere/PRD.P00", "");
    fuzz::ScratchFile("drives/c/Program Files/PRTG Network Monitor/Custom Sensors/ExeXml/PRD.P00",
                      "");
    setenv("SAPSYSINFO_DRIVES", root.c_str(), 1);
    return root;
  }();
  return drives;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path hint = Drives() / "c" / "PRTG_Path.Txt";
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::filesystem::remove(hint);
  if (size == 0 || data[0] != 0) fuzz::ScratchFile("drives/c/PRTG_Path.Txt", bytes);

  if (auto file = platform::File::OpenForReading("C:\\PRTG_Path.Txt")) {
    const std::string line = LastHintedDirectory(*file);
    fuzz::Require(line.empty() || (line.size() <= kHintReadLimit && IsHintLine(line)),
                  "a hinted directory is a hint line of one read", line);
    fuzz::Require(line.find('\n') == std::string::npos, "a hinted directory is one line", line);
  }

  try {
    const DiscoveredProfile found = DiscoverProfile(kProfile);
    fuzz::Require(found.file != nullptr, "a discovered profile is open");
    fuzz::Require(IsCustomSensorDirectory(found.directory),
                  "a profile is taken from a custom-sensor directory only", found.directory);
    fuzz::Require(found.directory.size() + std::string(kProfile).size() <= kProfilePathCapacity,
                  "no path the discovery forms is too long", found.directory);
  } catch (const RunEnded& end) {
    const bool known = end.message == MessageFor(MessageId::ProfileMissing, kProfile) ||
                       end.message == MessageFor(MessageId::InvalidPathUsage);
    fuzz::Require(known && end.exitCode == 2,
                  "the discovery ends the run with Error 1002 or the place check", end.message);
  }
  return 0;
}
