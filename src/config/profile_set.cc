// The profile set of a run: which kind of run it is, which profile file it reads and where,
// and the measurement a listing run reports.
#include "src/config/profile_set.h"

#include "src/config/discovery.h"
#include "src/output/messages.h"
#include "src/run/command_line.h"

namespace {

void SelectGlobalListing(RunContext& run) {
  if (UpperCaseAtoZ(run.ProfileName) != kGlobalName) return;
  run.Mode = ProfileMode::GlobalListing;
  run.ProfileName = kGlobalListingProfile;
}

bool HasExtension(std::string_view name) {
  return name.size() >= kDefaultExtension.size() && name[name.size() - 4] == '.';
}

}  // namespace

std::string ItemNameFrom(std::string_view afterKeyword) {
  std::string name(afterKeyword.substr(0, afterKeyword.find_first_of(" ,")));
  if (name.size() > kItemNameCapacity) name.resize(kItemNameCapacity);
  for (char& c : name) {
    if (c == ':') c = ' ';
  }
  return name;
}

void ResolveProfileSet(RunContext& run) {
  run.Mode = ProfileMode::Single;
  run.ItemName.clear();

  // The keyword is found in any letter case, the name is taken as typed.
  if (std::size_t at = run.Parameters.upper.find(kItemKeyword); at != std::string::npos) {
    run.ItemName =
        ItemNameFrom(std::string_view(run.Parameters.typed).substr(at + kItemKeyword.size()));
    run.ProfileName = kDefaultProfile;
    run.Mode = ProfileMode::ItemListing;
  }

  if (!HasExtension(run.ProfileName)) {
    run.ProfileName += kDefaultExtension;
    // Cutting the name would open another profile than the one asked for.
    if (run.ProfileName.size() > kProfileNameCapacity) {
      EndRun(run, Message::ProfileNameTooLong, run.ProfileName);
    }
  }

  SelectGlobalListing(run);
  run.Entry = SystemEntry{};
}

void SplitProfileName(RunContext& run) {
  run.ProfileDirectory.clear();
  std::size_t last = run.ProfileName.rfind('\\');
  if (last != std::string::npos && last != 0) {
    run.ProfileDirectory = run.ProfileName.substr(0, last + 1);
    run.ProfileName.erase(0, last + 1);
  }
  SelectGlobalListing(run);
}

void OpenProfile(RunContext& run) {
  SplitProfileName(run);
  if (run.Flavour == OutputFlavour::EXEXML) {
    DiscoverProfile(run);
    return;
  }
  const std::string path = ProfilePath(run);
  run.ProfileStream = platform::File::OpenForReading(path);
  if (!run.ProfileStream) {
    EndRun(run,
           run.Flavour == OutputFlavour::Nebulant ? Message::ProfilePathMissingNebulant
                                                  : Message::ProfilePathMissing,
           path);
  }
}

std::string ProfilePath(const RunContext& run) { return run.ProfileDirectory + run.ProfileName; }
