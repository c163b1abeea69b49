// The run's own folder for the RFC library's files.
#include "src/rfc/working_folder.h"

#include <chrono>

#include "src/platform/folder.h"

namespace {

// The folder of every run's folder, under the system's temporary folder.
constexpr std::string_view kRunsFolder = "sapsysinfo-runs";
// A run ends within a minute, when the monitor stops it at the latest; a folder this old
// belongs to a run that was killed.
constexpr std::chrono::hours kStaleAge{24};
// Copying the per-destination file goes in blocks of this size.
constexpr std::size_t kCopyBlock = 4096;

}  // namespace

std::optional<WorkingFolder> WorkingFolder::Create() {
  const std::optional<std::string> runs = platform::PrivateTemporaryFolder(kRunsFolder);
  if (!runs) return std::nullopt;
  platform::RemoveStaleFolders(*runs, kStaleAge);
  std::optional<std::string> path = platform::CreatePrivateFolder(*runs);
  if (!path) return std::nullopt;
  return WorkingFolder(std::move(*path), platform::CurrentDirectory());
}

WorkingFolder::WorkingFolder(WorkingFolder&& other) noexcept
    : path_(std::move(other.path_)), sensorDirectory_(std::move(other.sensorDirectory_)) {
  other.path_.clear();
}

WorkingFolder& WorkingFolder::operator=(WorkingFolder&& other) noexcept {
  if (this != &other) {
    Finish();
    path_ = std::move(other.path_);
    sensorDirectory_ = std::move(other.sensorDirectory_);
    other.path_.clear();
  }
  return *this;
}

WorkingFolder::~WorkingFolder() { Finish(); }

WorkingFolder::Inside::Inside(const WorkingFolder& folder) : folder_(folder) {
  platform::ChangeDirectory(folder_.path_);
}

WorkingFolder::Inside::~Inside() { platform::ChangeDirectory(folder_.sensorDirectory_); }

std::string WorkingFolder::SensorFile(std::string_view name) const {
  return platform::InFolder(sensorDirectory_, name);
}

std::string WorkingFolder::OwnFile(std::string_view name) const {
  return platform::InFolder(path_, name);
}

std::optional<bool> WorkingFolder::CopySapRfcIni(std::string_view destination) const {
  auto source = platform::File::OpenForReading(SensorFile("SapRfc." + std::string(destination)),
                                               platform::FileMode::Binary);
  if (!source) return std::nullopt;
  auto target = platform::File::OpenForWriting(OwnFile("SapRfc.ini"), platform::FileMode::Binary);
  if (!target) return false;
  for (;;) {
    const std::string block = source->ReadBytes(kCopyBlock);
    if (block.empty()) return target->Close();
    if (!target->Write(block)) return false;
  }
}

void WorkingFolder::Finish() {
  if (path_.empty()) return;
  // The folder cannot be removed while it is the current directory (a library error ends the
  // run from inside a conversation).
  platform::ChangeDirectory(sensorDirectory_);
  if (auto trace =
          platform::File::OpenForReading(OwnFile(kTraceFile), platform::FileMode::Binary)) {
    std::string sections;
    for (std::string block; !(block = trace->ReadBytes(kCopyBlock)).empty();) sections += block;
    trace.reset();
    if (!sections.empty()) AppendToSharedTrace(SensorFile(kTraceFile), sections);
  }
  platform::RemoveFolder(path_);
  path_.clear();
}

void AppendToSharedTrace(const std::string& trace, std::string_view bytes, std::uintmax_t limit) {
  if (std::optional<std::uintmax_t> size = platform::FileSize(trace);
      size && *size + bytes.size() > limit) {
    platform::RenameFile(trace, trace + ".old");
  }
  platform::AppendToFile(trace, bytes);
}
