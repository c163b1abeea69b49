// The run's own folder for the RFC library's files.
#include "src/rfc/working_folder.h"

#include <chrono>

#include "src/platform/file_lock.h"

namespace {

// The folder of every run's folder, under the system's temporary folder.
constexpr std::string_view kRunsFolder = "sapsysinfo-runs";
// A run's folder made beside it, where what stands in its place is not the program's to use.
constexpr std::string_view kLoneFolderPrefix = "sapsysinfo-";
// A run ends within a minute, when the monitor stops it at the latest; a folder this old
// belongs to a run that was killed.
constexpr std::chrono::hours kStaleAge{24};
// Copying the per-destination file goes in blocks of this size.
constexpr std::size_t kCopyBlock = 4096;
// How long a run waits for the shared trace's lock: holders keep it for a rename and a write.
constexpr std::chrono::seconds kTraceLockPatience{5};

// The run's trace as it goes into the shared one: past kRunTraceLimit bytes only its last
// lines, from the first line that begins within them, after a line saying what was left out.
std::string RunTrace(const platform::Folder& folder) {
  auto trace = folder.OpenFile(kTraceFile, platform::FileMode::Binary);
  if (!trace) return {};
  const std::uintmax_t size = trace->Size().value_or(0);
  if (size <= kRunTraceLimit) return trace->ReadBytes(kRunTraceLimit);
  // One byte before the last ones tells whether they begin a line.
  if (!trace->Seek(size - kRunTraceLimit - 1)) return {};
  const std::string tail = trace->ReadBytes(kRunTraceLimit + 1);
  const std::size_t lineEnd = tail.find('\n');
  const std::string kept = tail.substr(lineEnd == std::string::npos ? 1 : lineEnd + 1);
  const std::size_t keptEnd = kept.find('\n');
  const bool crlf = keptEnd != std::string::npos && keptEnd > 0 && kept[keptEnd - 1] == '\r';
  return "sapsysinfo: the first " + std::to_string(size - kept.size()) +
         " bytes of this run's trace are left out, to keep Dev_Rfc.Trc below 1 MiB" +
         (crlf ? "\r\n" : "\n") + kept;
}

}  // namespace

std::optional<WorkingFolder> WorkingFolder::Create() {
  platform::Folder temporary = platform::Folder::Open(platform::TemporaryFolder());
  if (!temporary) return std::nullopt;
  platform::Folder runs = temporary.OpenPrivateFolder(std::string(kRunsFolder) +
                                                      platform::os::SharedTemporaryFolderSuffix());
  if (runs) {
    runs.RemoveStaleFolders("", kStaleAge);
    platform::Folder own = runs.MakeUniqueFolder("");
    if (own) return WorkingFolder(std::move(runs), std::move(own), platform::CurrentDirectory());
  }
  // What stands where the runs' folder belongs (another account's folder, a link, a folder
  // open to others) is left alone: the run works in a folder beside it, which nobody can have
  // made before, as its name cannot be foreseen.
  temporary.RemoveStaleFolders(kLoneFolderPrefix, kStaleAge);
  platform::Folder own = temporary.MakeUniqueFolder(kLoneFolderPrefix);
  if (!own) return std::nullopt;
  return WorkingFolder(std::move(temporary), std::move(own), platform::CurrentDirectory());
}

WorkingFolder& WorkingFolder::operator=(WorkingFolder&& other) noexcept {
  if (this != &other) {
    Finish();
    parent_ = std::move(other.parent_);
    own_ = std::move(other.own_);
    sensorDirectory_ = std::move(other.sensorDirectory_);
  }
  return *this;
}

WorkingFolder::~WorkingFolder() { Finish(); }

std::optional<WorkingFolder::Inside> WorkingFolder::Enter() const {
  if (!own_.Enter()) return std::nullopt;
  return Inside(this);
}

WorkingFolder::Inside::~Inside() {
  // Should the way back fail, nothing changes: the run names the sensor's files by full paths.
  if (folder_ != nullptr) static_cast<void>(platform::ChangeDirectory(folder_->sensorDirectory_));
}

std::string WorkingFolder::SensorFile(std::string_view name) const {
  return platform::InFolder(sensorDirectory_, name);
}

std::unique_ptr<platform::File> WorkingFolder::OpenOwnFile(std::string_view name) const {
  return own_.OpenFile(name);
}

bool WorkingFolder::AddToOwnTrace(std::string_view text) const {
  std::string trace;
  if (auto earlier = own_.OpenFile(kTraceFile, platform::FileMode::Binary)) {
    for (std::string block; !(block = earlier->ReadBytes(kCopyBlock)).empty();) trace += block;
  }
  trace += text;
  auto file = own_.WriteFile(kTraceFile, platform::FileMode::Binary);
  return file && file->Write(trace) && file->Close();
}

SapRfcIniCopy WorkingFolder::CopySapRfcIni(std::string_view destination) const {
  auto source = platform::File::OpenForReading(SensorFile("SapRfc." + std::string(destination)),
                                               platform::FileMode::Binary);
  if (!source) return SapRfcIniCopy::NoDestinationFile;
  auto target = own_.WriteFile("SapRfc.ini", platform::FileMode::Binary);
  if (!target) return SapRfcIniCopy::Failed;
  for (;;) {
    const std::string block = source->ReadBytes(kCopyBlock);
    if (block.empty()) return target->Close() ? SapRfcIniCopy::Copied : SapRfcIniCopy::Failed;
    if (!target->Write(block)) return SapRfcIniCopy::Failed;
  }
}

void WorkingFolder::Finish() {
  if (!own_) return;
  // The folder cannot be removed while it is the current directory (a library error ends the
  // run from inside a conversation), nor on Windows while it is held open.
  static_cast<void>(platform::ChangeDirectory(sensorDirectory_));
  const std::string trace = RunTrace(own_);
  const std::string name = own_.name();
  own_ = platform::Folder();
  parent_.RemoveFolder(name);
  parent_ = platform::Folder();
  if (!trace.empty()) AppendToSharedTrace(SensorFile(kTraceFile), trace);
}

void AppendToSharedTrace(const std::string& trace, std::string_view bytes, std::uintmax_t limit) {
  // Renaming and appending are two steps: a run that renamed after another one had already
  // renamed and appended would move that fresh file over the older trace.
  const platform::FileLock lock = platform::FileLock::Take(trace + ".lock", kTraceLockPatience);
  if (!lock) return;
  if (std::optional<std::uintmax_t> size = platform::FileSize(trace);
      size && *size + bytes.size() > limit && !platform::RenameFile(trace, trace + ".old")) {
    return;  // rather than pass the limit
  }
  static_cast<void>(platform::AppendToFile(trace, bytes));  // nothing to be done when it fails
}
