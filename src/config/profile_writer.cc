// Composing a profile file for one system, as sapprofile writes it.
#include "src/config/profile_writer.h"

#include "src/config/system_entry.h"

namespace {

constexpr std::string_view kHeading =
    "* SAP system profile of the SysInfo sensor, written by sapprofile.\n"
    "* The password is scrambled, not encrypted: let only the monitor's probe read this file.\n";

constexpr std::string_view kTrailingBlankRefusal =
    "Password: ends with a blank. cmd's \"echo secret | sapprofile ...\" hands over the blank "
    "before the bar: write \"echo secret| sapprofile ...\". If the system's password really "
    "ends with blanks, give --keep-trailing-blanks";

// The name a message gives a value: the key without its dots and colon.
std::string ValueName(std::string_view key) {
  return std::string(key.substr(0, key.find_first_of(".:")));
}

bool HasControlCharacter(std::string_view value) {
  for (char c : value) {
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') return true;
  }
  return false;
}

std::string PasswordRefusal(ScrambleProblem problem) {
  switch (problem) {
    case ScrambleProblem::None:
      break;
    case ScrambleProblem::TooLong:
      return "Password: at most " + std::to_string(kMaxPasswordLength) +
             " characters can be stored";
    case ScrambleProblem::NotPrintable:
      return "Password: only printable ASCII characters (blank to ~) can be stored";
    case ScrambleProblem::NoPrintableForm:
      return "Password: this combination of characters has no stored form that a text editor "
             "keeps intact; change one of its characters";
  }
  return {};
}

}  // namespace

std::string EntryLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += ' ';
  line += value;
  line += '\n';
  return line;
}

ComposedProfile ComposeProfile(const SystemEntry& values, const PasswordKey& key,
                               std::uint32_t variation, TrailingBlanks trailingBlanks) {
  ComposedProfile profile;
  std::string lines;
  for (const EntryKey& entryKey : EntryKeys()) {
    const std::string& value = values.*entryKey.value;
    const std::string name = ValueName(entryKey.key);
    if (entryKey.value == &SystemEntry::password && !value.empty()) {
      if (value.back() == ' ' && trailingBlanks == TrailingBlanks::Refused) {
        profile.refusals.emplace_back(kTrailingBlankRefusal);
      }
      ScrambledPassword password = ScramblePassword(value, key, variation);
      if (password.problem == ScrambleProblem::None) {
        lines += EntryLine(entryKey.key, password.stored);
      } else {
        profile.refusals.push_back(PasswordRefusal(password.problem));
      }
    } else {
      if (HasControlCharacter(value)) {
        profile.refusals.push_back(name + ": control characters and line breaks cannot be stored");
      }
      if (value.size() > kEntryValueCapacity) {
        profile.refusals.push_back(name + ": the sensor reads at most " +
                                   std::to_string(kEntryValueCapacity) + " characters");
      }
      lines += EntryLine(entryKey.key, value);
    }
    if (value.size() < entryKey.minimumSingle) {
      profile.refusals.push_back(name + ": at least " + std::to_string(entryKey.minimumSingle) +
                                 " characters");
    } else if (value.size() < entryKey.minimumListing) {
      profile.warnings.push_back(name + ": a listing run needs at least " +
                                 std::to_string(entryKey.minimumListing) +
                                 " characters and reports this system as failed");
    }
  }
  if (profile.refusals.empty()) profile.text = std::string(kHeading) + lines;
  return profile;
}
