// A system's entry in its profile file: the fixed-column key lines, the password, the checks,
// and the summary line the console shows for it.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "src/config/password.h"
#include "src/output/messages.h"
#include "src/platform/file.h"

// The eleven values of one system, as read from its profile.
struct SystemEntry {
  std::string extcompany;
  std::string destination;
  std::string client;
  std::string user;
  std::string password;
  std::string language;
  std::string mode;
  std::string hostname;
  std::string sysnr;
  std::string gwhost;
  std::string gwservice;
};

// A single run checks the one system of its profile and ends on the first fault; a listing run
// reads every listed profile into the same entry and only marks a faulty one invalid.
enum class EntryKind { Single, Listing };

// Profile lines: the key in columns 1-12, one separator, the value from column 14 on, of which
// only 60 characters count.
inline constexpr std::size_t kEntryKeyLength = 12;
inline constexpr std::size_t kEntryValueColumn = 13;  // zero-based
inline constexpr std::size_t kEntryValueCapacity = 60;
// Lines are read this many characters at a time, the line end counting; the rest of a longer
// line arrives as a line of its own.
inline constexpr std::size_t kSingleReadLimit = 99;
inline constexpr std::size_t kListingReadLimit = 199;

std::size_t ReadLimit(EntryKind kind);

struct EntryKey {
  std::string_view key;  // columns 1-12, exactly as stored
  std::string SystemEntry::*value;
  std::size_t minimumListing;
  std::size_t minimumSingle;  // 0: not checked
};

// The eleven keys, in the order a profile lists them.
std::span<const EntryKey> EntryKeys();

enum class EntryFault {
  InvalidPassword,  // the stored form is not 24 characters, or its header not four digits
  WrongPassword,    // the check digit does not match
  ValueTooShort,    // `key` names the value
};

struct EntryProblem {
  EntryFault fault;
  std::string_view key;

  bool operator==(const EntryProblem&) const = default;
};

// Reads `profile` to its end into `entry`: every key line sets its value (the last occurrence
// wins), User upper-cased, Password unscrambled. A password that fails leaves Password as it
// was. Values that no line names are left alone. Returns the password faults in file order.
std::vector<EntryProblem> ReadEntryLines(SystemEntry& entry, platform::File& profile,
                                         EntryKind kind, const PasswordKey& key);

// The values shorter than the kind of run allows; in a listing run an empty User or Password
// is one of them.
std::vector<EntryProblem> CheckEntryValues(const SystemEntry& entry, EntryKind kind);

// The message a single run ends with for a fault: Error 1004, 1005 or 1003.
MessageId SingleRunMessage(EntryFault fault);

// A single run: reads the profile to its end, closes it and checks the entry; ends the run with
// Error 1004 or 1005 at the first password fault, else with Error 1003 for a value too short.
void ReadSingleEntry(SystemEntry& entry, std::unique_ptr<platform::File> profile,
                     std::string_view profileName, const PasswordKey& key);

// A listing run: reads one listed profile into the entry the run shares between its systems,
// closes it and checks the entry; whether it is valid.
[[nodiscard]] bool ReadListedEntry(SystemEntry& entry, std::unique_ptr<platform::File> profile,
                                   const PasswordKey& key);

// What a listing run finds at a listed profile's path.
enum class ListedProfile { Missing, Valid, Invalid };

// Opens the listed profile at `path` and reads it into the entry (ReadListedEntry); Missing
// when it cannot be opened, which leaves the entry as it was.
[[nodiscard]] ListedProfile ReadListedProfile(const std::string& path, SystemEntry& entry,
                                              const PasswordKey& key);

// "* HH:MM:SS NAME, Hostname, Destination, Sysnr, Client"
std::string SystemSummaryLine(const SystemEntry& entry, std::string_view time,
                              std::string_view profileName);
