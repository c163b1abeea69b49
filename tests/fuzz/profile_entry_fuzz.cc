// Fuzz target: a profile as a single run and as a listing run read it, with the password table.
// Input: the profile's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "src/config/password.h"
#include "src/config/system_entry.h"
#include "src/output/messages.h"
#include "tests/fuzz/property.h"
#include "tests/fuzz/scratch.h"

namespace {

const PasswordKey kKey = BuildPasswordKeyTable();

// What every entry the reader leaves must be: no value longer than a profile's column holds,
// the user upper-cased, the password at most as long as the body that stores it.
void CheckEntry(const SystemEntry& entry) {
  for (const EntryKey& key : EntryKeys()) {
    fuzz::Require((entry.*key.value).size() <= kEntryValueCapacity, "a value fits its column",
                  key.key);
  }
  fuzz::Require(entry.user.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos,
                "the user is upper-cased", entry.user);
  fuzz::Require(entry.password.size() <= kMaxPasswordLength, "the password fits its body");
}

// sapprofile's side: a password the reader decoded is stored again under a variation taken from
// the input's last four bytes. Every password of up to nine printable characters has a stored
// form under every variation, and every stored form reads back.
void CheckStoredAgain(const std::string& password, std::string_view input) {
  if (password.empty()) return;
  std::uint32_t variation = 0;
  for (std::size_t i = input.size() >= 4 ? input.size() - 4 : 0; i < input.size(); ++i) {
    variation = (variation << 8) | static_cast<unsigned char>(input[i]);
  }
  const ScrambledPassword stored = ScramblePassword(password, kKey, variation);
  if (stored.problem == ScrambleProblem::NotPrintable) return;
  fuzz::Require(stored.problem == ScrambleProblem::None || password.size() > 9,
                "a password of up to nine characters has a stored form", password);
  if (stored.problem != ScrambleProblem::None) return;
  const UnscrambledPassword back = UnscramblePassword(stored.stored, kKey);
  fuzz::Require(back.status == PasswordStatus::Decoded && back.password == password,
                "a stored password reads back", password);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::ScratchFile("PRD.P00", bytes);

  SystemEntry single;
  try {
    ReadSingleEntry(single, platform::File::OpenForReading(path), "PRD.P00", kKey);
    CheckEntry(single);
  } catch (const RunEnded& end) {
    // A single run ends with one of three messages, which name the profile and nothing of it.
    const bool known = end.message == MessageFor(MessageId::InvalidParameters, "PRD.P00") ||
                       end.message == MessageFor(MessageId::InvalidPassword, "PRD.P00") ||
                       end.message == MessageFor(MessageId::WrongPassword, "PRD.P00");
    fuzz::Require(known && end.exitCode == 2, "a single run ends with Error 1003, 1004 or 1005",
                  end.message);
  }

  // A listing run reads every profile into the same entry and never ends the run; a profile read
  // a second time leaves it as the first reading did.
  SystemEntry listed;
  const bool valid = ReadListedEntry(listed, platform::File::OpenForReading(path), kKey);
  CheckEntry(listed);
  CheckStoredAgain(listed.password, bytes);
  const SystemEntry once = listed;
  fuzz::Require(ReadListedEntry(listed, platform::File::OpenForReading(path), kKey) == valid,
                "a listed profile is judged alike each time");
  for (const EntryKey& key : EntryKeys()) {
    fuzz::Require(listed.*key.value == once.*key.value, "reading a profile again changes nothing",
                  key.key);
  }
  return 0;
}
