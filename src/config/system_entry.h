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
#include "src/run/run_context.h"

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
Message SingleRunMessage(EntryFault fault);

// Reads the profile, closes it and checks the entry. A single run ends with Error 1004 or 1005
// at the first password fault, else with Error 1003 for a value too short; a listing run sets
// EntryInvalid instead, which it clears first.
void ReadSystemEntry(RunContext& run, std::unique_ptr<platform::File> profile,
                     std::string_view profileName, EntryKind kind);

// "* HH:MM:SS NAME, Hostname, Destination, Sysnr, Client"
std::string SystemSummaryLine(const SystemEntry& entry, std::string_view time,
                              std::string_view profileName);
