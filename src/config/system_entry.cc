// A system's entry in its profile file: the fixed-column key lines, the password, the checks,
// and the summary line the console shows for it.
#include "src/config/system_entry.h"

#include <array>
#include <optional>

#include "src/platform/text.h"

namespace {

// Extcompany is only checked, never passed on; User and Password may be empty in a single
// run, where the library then refuses the logon with a message of its own.
constexpr std::array<EntryKey, 11> kKeys{{
    {"Extcompany.:", &SystemEntry::extcompany, 2, 2},
    {"Destination:", &SystemEntry::destination, 3, 3},
    {"Client.....:", &SystemEntry::client, 3, 3},
    {"User.......:", &SystemEntry::user, 2, 0},
    {"Password...:", &SystemEntry::password, 2, 0},
    {"Language...:", &SystemEntry::language, 1, 1},
    {"Mode.......:", &SystemEntry::mode, 3, 3},
    {"Hostname...:", &SystemEntry::hostname, 2, 2},
    {"Sysnr......:", &SystemEntry::sysnr, 2, 2},
    {"Gwhost.....:", &SystemEntry::gwhost, 2, 2},
    {"Gwservice..:", &SystemEntry::gwservice, 2, 2},
}};

const EntryKey* KeyOf(std::string_view line) {
  if (line.size() < kEntryKeyLength) return nullptr;
  for (const EntryKey& key : kKeys) {
    if (line.substr(0, kEntryKeyLength) == key.key) return &key;
  }
  return nullptr;
}

std::string_view ValueOf(std::string_view line) {
  if (line.size() <= kEntryValueColumn) return {};
  return line.substr(kEntryValueColumn, kEntryValueCapacity);
}

// Sets one value from a key line; a password fault is returned, not stored.
std::optional<EntryFault> StoreValue(SystemEntry& entry, const EntryKey& key,
                                     std::string_view value, const PasswordKey& passwordKey) {
  if (key.value == &SystemEntry::user) {
    entry.user = platform::UpperCaseAtoZ(value);
  } else if (key.value == &SystemEntry::password) {
    UnscrambledPassword password = UnscramblePassword(value, passwordKey);
    switch (password.status) {
      case PasswordStatus::InvalidFormat:
        return EntryFault::InvalidPassword;
      case PasswordStatus::WrongCheckDigit:
        return EntryFault::WrongPassword;
      case PasswordStatus::Empty:
      case PasswordStatus::Decoded:
        entry.password = std::move(password.password);
        break;
    }
  } else {
    entry.*key.value = value;
  }
  return std::nullopt;
}

// Reads the profile to its end and closes it; the password faults, then the values too short.
std::vector<EntryProblem> ReadAndCheck(SystemEntry& entry, std::unique_ptr<platform::File> profile,
                                       EntryKind kind, const PasswordKey& key) {
  std::vector<EntryProblem> problems = ReadEntryLines(entry, *profile, kind, key);
  profile.reset();
  for (const EntryProblem& problem : CheckEntryValues(entry, kind)) problems.push_back(problem);
  return problems;
}

}  // namespace

MessageId SingleRunMessage(EntryFault fault) {
  switch (fault) {
    case EntryFault::InvalidPassword:
      return MessageId::InvalidPassword;
    case EntryFault::WrongPassword:
      return MessageId::WrongPassword;
    case EntryFault::ValueTooShort:
      break;
  }
  return MessageId::InvalidParameters;
}

std::size_t ReadLimit(EntryKind kind) {
  return kind == EntryKind::Single ? kSingleReadLimit : kListingReadLimit;
}

std::span<const EntryKey> EntryKeys() { return kKeys; }

std::vector<EntryProblem> ReadEntryLines(SystemEntry& entry, platform::File& profile,
                                         EntryKind kind, const PasswordKey& key) {
  std::vector<EntryProblem> problems;
  while (auto piece = profile.ReadPiece(ReadLimit(kind))) {
    const std::string line = platform::StripLineEnd(std::move(*piece));
    const EntryKey* entryKey = KeyOf(line);
    if (entryKey == nullptr) continue;  // comments, blank lines, listing lines
    if (auto fault = StoreValue(entry, *entryKey, ValueOf(line), key)) {
      problems.push_back({*fault, entryKey->key});
    }
  }
  return problems;
}

std::vector<EntryProblem> CheckEntryValues(const SystemEntry& entry, EntryKind kind) {
  std::vector<EntryProblem> problems;
  for (const EntryKey& key : kKeys) {
    const std::size_t minimum = kind == EntryKind::Single ? key.minimumSingle : key.minimumListing;
    if ((entry.*key.value).size() < minimum) {
      problems.push_back({EntryFault::ValueTooShort, key.key});
    }
  }
  return problems;
}

void ReadSingleEntry(SystemEntry& entry, std::unique_ptr<platform::File> profile,
                     std::string_view profileName, const PasswordKey& key) {
  const std::vector<EntryProblem> problems =
      ReadAndCheck(entry, std::move(profile), EntryKind::Single, key);
  if (!problems.empty()) EndRun(SingleRunMessage(problems.front().fault), profileName);
}

bool ReadListedEntry(SystemEntry& entry, std::unique_ptr<platform::File> profile,
                     const PasswordKey& key) {
  return ReadAndCheck(entry, std::move(profile), EntryKind::Listing, key).empty();
}

ListedProfile ReadListedProfile(const std::string& path, SystemEntry& entry,
                                const PasswordKey& key) {
  auto profile = platform::File::OpenForReading(path);
  if (!profile) return ListedProfile::Missing;
  return ReadListedEntry(entry, std::move(profile), key) ? ListedProfile::Valid
                                                         : ListedProfile::Invalid;
}

std::string SystemSummaryLine(const SystemEntry& entry, std::string_view time,
                              std::string_view profileName) {
  std::string line = "* ";
  line.append(time).append(" ").append(profileName);
  for (const std::string* value :
       {&entry.hostname, &entry.destination, &entry.sysnr, &entry.client}) {
    line.append(", ").append(*value);
  }
  return line;
}
