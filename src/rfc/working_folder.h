// The run's own folder for the RFC library's files. The library reads SapRfc.ini and writes
// Dev_Rfc.Trc in the current directory, which every sensor on a probe shares: runs at the same
// time would read each other's SapRfc.ini and each other's reasons. So each run lets the
// library work in a folder of its own and hands the trace over to the shared file at its end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "src/platform/file.h"

inline constexpr std::string_view kTraceFile = "Dev_Rfc.Trc";
// The shared trace is kept below this size: an append that would pass it first renames the
// file to Dev_Rfc.Trc.old, replacing an older one.
inline constexpr std::uintmax_t kSharedTraceLimit = std::uintmax_t{1024} * 1024;

class WorkingFolder {
 public:
  // A new folder under the system's temporary folder, for the run in the current directory
  // (the sensor's directory). Folders that runs killed a day ago or longer left behind are
  // removed first. Nothing when no folder can be made.
  static std::optional<WorkingFolder> Create();

  WorkingFolder(WorkingFolder&& other) noexcept;
  WorkingFolder& operator=(WorkingFolder&& other) noexcept;
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;
  ~WorkingFolder();

  // While an Inside lives, the folder is the current directory.
  class Inside {
   public:
    explicit Inside(const WorkingFolder& folder);
    ~Inside();
    Inside(const Inside&) = delete;
    Inside& operator=(const Inside&) = delete;

   private:
    const WorkingFolder& folder_;
  };

  const std::string& path() const { return path_; }
  // The sensor's directory's file of that name.
  std::string SensorFile(std::string_view name) const;
  // This folder's file of that name.
  std::string OwnFile(std::string_view name) const;

  // Copies the sensor directory's "SapRfc." + destination onto this folder's SapRfc.ini, byte
  // for byte. Nothing when the sensor's directory holds no such file; false when it could not
  // be copied whole.
  std::optional<bool> CopySapRfcIni(std::string_view destination) const;

  // Appends this folder's trace to the sensor directory's Dev_Rfc.Trc in one write and removes
  // the folder. Later calls do nothing.
  void Finish();

 private:
  WorkingFolder(std::string path, std::string sensorDirectory)
      : path_(std::move(path)), sensorDirectory_(std::move(sensorDirectory)) {}

  std::string path_;  // empty once finished
  std::string sensorDirectory_;
};

// Appends the bytes to a trace file in one write, first renaming a file that the append would
// take past the limit to the trace's name with ".old".
void AppendToSharedTrace(const std::string& trace, std::string_view bytes,
                         std::uintmax_t limit = kSharedTraceLimit);
