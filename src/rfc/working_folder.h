// The run's own folder for the RFC library's files. The library reads SapRfc.ini and writes
// Dev_Rfc.Trc in the current directory, which every sensor on a probe shares: runs at the same
// time would read each other's SapRfc.ini and each other's reasons. So each run lets the
// library work in a folder of its own and hands the trace over to the shared file at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "src/platform/file.h"
#include "src/platform/folder.h"

inline constexpr std::string_view kTraceFile = "Dev_Rfc.Trc";
// The shared trace is kept below this size: an append that would pass it first renames the
// file to Dev_Rfc.Trc.old, replacing an older one.
inline constexpr std::uintmax_t kSharedTraceLimit = std::uintmax_t{1024} * 1024;
// Of one run's trace only the last this many bytes go into the shared trace, so that a run
// whose library wrote without end cannot push everything else out.
inline constexpr std::size_t kRunTraceLimit = std::size_t{64} * 1024;

// What copying the destination's file onto the run's SapRfc.ini came to.
enum class SapRfcIniCopy {
  NoDestinationFile,  // the sensor's directory holds no SapRfc.<DEST>
  Copied,
  Failed,  // there is one, but it could not be copied whole
};

class WorkingFolder {
 public:
  // A new folder under the system's temporary folder, for the run in the current directory
  // (the sensor's directory). Folders that runs killed a day ago or longer left behind are
  // removed first. Nothing when no folder can be made.
  static std::optional<WorkingFolder> Create();

  WorkingFolder(WorkingFolder&& other) noexcept = default;
  WorkingFolder& operator=(WorkingFolder&& other) noexcept;
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;
  ~WorkingFolder();

  // While an Inside lives, the folder is the current directory; when it goes, the sensor's
  // directory is again.
  class Inside {
   public:
    Inside(Inside&& other) noexcept : folder_(other.folder_) { other.folder_ = nullptr; }
    Inside& operator=(Inside&&) = delete;
    Inside(const Inside&) = delete;
    Inside& operator=(const Inside&) = delete;
    ~Inside();

   private:
    friend class WorkingFolder;
    explicit Inside(const WorkingFolder* folder) : folder_(folder) {}
    const WorkingFolder* folder_;
  };

  // Makes the folder the current directory until the Inside goes. Nothing when it cannot be
  // entered (it was removed, say): the current directory is then still the sensor's, where the
  // library would read the shared SapRfc.ini and write into the shared trace, so the run must
  // not let the library work.
  [[nodiscard]] std::optional<Inside> Enter() const;

  // The folder's path, to name it in messages.
  const std::string& path() const { return own_.path(); }
  // The sensor's directory's file of that name.
  std::string SensorFile(std::string_view name) const;
  // This folder's regular file of that name, opened for reading; nothing when there is none.
  std::unique_ptr<platform::File> OpenOwnFile(std::string_view name) const;

  // Adds the text at the end of this folder's trace, which goes to the shared trace with the
  // library's own sections: for a library that writes no trace, the sensor's sections of its
  // failures. False when it could not be written.
  bool AddToOwnTrace(std::string_view text) const;

  // Copies the sensor directory's "SapRfc." + destination onto this folder's SapRfc.ini, byte
  // for byte.
  [[nodiscard]] SapRfcIniCopy CopySapRfcIni(std::string_view destination) const;

  // Removes the folder and appends its trace (at most its last kRunTraceLimit bytes) to the
  // sensor directory's Dev_Rfc.Trc. Later calls do nothing.
  void Finish();

 private:
  WorkingFolder(platform::Folder parent, platform::Folder own, std::string sensorDirectory)
      : parent_(std::move(parent)),
        own_(std::move(own)),
        sensorDirectory_(std::move(sensorDirectory)) {}

  platform::Folder parent_;  // the runs' folder, or the temporary folder itself
  platform::Folder own_;     // empty once finished
  std::string sensorDirectory_;
};

// Appends the bytes to a trace file in one write, first renaming a file that the append would
// take past the limit to the trace's name with ".old". Every run does both under one lock (the
// lock file is the trace's name with ".lock"); a run that does not get it within a few seconds,
// or finds anything but a regular file there, drops the bytes.
void AppendToSharedTrace(const std::string& trace, std::string_view bytes,
                         std::uintmax_t limit = kSharedTraceLimit);
