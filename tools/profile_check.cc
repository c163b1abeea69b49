// "sapprofile check": a profile read by the sensor's own reader, as the sensor finds it, with
// each value, its check and the outcome of a run.
#include "tools/profile_check.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "src/config/password.h"
#include "src/output/messages.h"
#include "tools/profile_place.h"

namespace {

std::string Quoted(const std::string& value) { return "\"" + value + "\""; }

std::string BareName(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What the reader made of the password, never the password itself.
std::string PasswordFinding(const std::vector<EntryProblem>& readProblems,
                            const std::string& password) {
  for (const EntryProblem& problem : readProblems) {
    if (problem.fault == EntryFault::InvalidPassword) {
      return "does not decode: not 24 characters, or its header is not four digits";
    }
    if (problem.fault == EntryFault::WrongPassword) {
      return "does not decode: the check digit does not match (damaged, or written for "
             "another key)";
    }
  }
  if (password.empty()) return "empty";
  return "decodes, " + std::to_string(password.size()) + " characters";
}

}  // namespace

int CheckProfile(std::string_view argument, EntryKind kind) {
  std::optional<PlacedProfile> placed = OpenProfileAsTheSensorDoes(argument);
  if (!placed) return 2;
  if (placed->warning) std::cerr << "sapprofile: warning: " << *placed->warning << '\n';

  const bool listing = kind == EntryKind::Listing;
  SystemEntry entry;
  const std::vector<EntryProblem> readProblems =
      ReadEntryLines(entry, *placed->file, kind, BuildPasswordKeyTable());
  placed->file.reset();
  const std::vector<EntryProblem> valueProblems = CheckEntryValues(entry, kind);

  std::cout << "Profile " << placed->fullPath;
  if (!placed->foundHow.empty()) std::cout << " (" << placed->foundHow << ")";
  std::cout << ", read as a " << (listing ? "listing" : "single") << " run reads it ("
            << ReadLimit(kind) << " characters per read)\n";
  for (const EntryKey& key : EntryKeys()) {
    const std::string& value = entry.*key.value;
    std::cout << key.key << ' '
              << (key.value == &SystemEntry::password ? PasswordFinding(readProblems, value)
                                                      : Quoted(value));
    const std::size_t minimum = listing ? key.minimumListing : key.minimumSingle;
    if (std::find(valueProblems.begin(), valueProblems.end(),
                  EntryProblem{EntryFault::ValueTooShort, key.key}) != valueProblems.end()) {
      std::cout << "  too short: at least " << minimum << " characters";
    } else if (minimum == 0) {
      std::cout << "  not checked in a single run";
    } else {
      std::cout << "  ok";
    }
    std::cout << '\n';
  }

  const std::string_view run = listing ? "Listing run" : "Single run";
  // The sensor ends at the place check, before it reads a value.
  if (placed->refusal) {
    std::cout << run << ": refused with " << *placed->refusal << '\n';
    return 1;
  }
  std::vector<EntryProblem> problems = readProblems;
  problems.insert(problems.end(), valueProblems.begin(), valueProblems.end());
  if (problems.empty()) {
    std::cout << (listing ? "Listing run: valid" : "Single run: accepted");
    // A path the other forms read as given; the monitor's form never looks there.
    if (placed->warning) std::cout << ", but the EXEXML form reads no profile from its folder";
    std::cout << '\n';
    return 0;
  }
  if (listing) {
    std::cout << "Listing run: invalid, the system is reported as failed\n";
  } else {
    // The message the sensor would end with: the first fault it meets.
    std::cout << "Single run: refused with "
              << MessageFor(SingleRunMessage(problems.front().fault), BareName(placed->fullPath))
              << '\n';
  }
  return 1;
}
