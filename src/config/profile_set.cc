// The profile set of a run: which kind of run it is, which profile file it reads and where,
// and the measurement an item listing reports.
#include "src/config/profile_set.h"

#include "src/config/discovery.h"
#include "src/output/messages.h"
#include "src/platform/text.h"

namespace {

void SelectGlobalListing(ProfileSet& profiles) {
  if (platform::UpperCaseAtoZ(profiles.name) != kGlobalName) return;
  profiles.mode = ProfileMode::GlobalListing;
  profiles.name = kGlobalListingProfile;
}

bool HasExtension(std::string_view name) {
  return name.size() >= kDefaultExtension.size() && name[name.size() - 4] == '.';
}

}  // namespace

std::string WithDefaultExtension(std::string_view name) {
  std::string named(name);
  if (!HasExtension(named)) named += kDefaultExtension;
  return named;
}

ProfileSet ResolveProfileSet(std::string_view profileName, const std::optional<std::string>& item) {
  ProfileSet profiles;
  profiles.name = profileName;
  if (item) {
    profiles.itemName = *item;
    profiles.name = kDefaultProfile;
    profiles.mode = ProfileMode::ItemListing;
  }
  if (!HasExtension(profiles.name)) {
    profiles.name += kDefaultExtension;
    // Cutting the name would open another profile than the one asked for.
    if (profiles.name.size() > kProfileNameCapacity) {
      // Shown whole: at most four characters past the capacity, and those explain the refusal.
      EndRun(MessageId::ProfileNameTooLong, profiles.name);
    }
  }
  SelectGlobalListing(profiles);
  return profiles;
}

void SplitProfileName(ProfileSet& profiles) {
  profiles.directory.clear();
  std::size_t last = profiles.name.rfind('\\');
  if (last != std::string::npos && last != 0) {
    profiles.directory = profiles.name.substr(0, last + 1);
    profiles.name.erase(0, last + 1);
  }
  SelectGlobalListing(profiles);
}

std::unique_ptr<platform::File> OpenProfile(ProfileSet& profiles, OutputFlavour flavour) {
  SplitProfileName(profiles);
  if (flavour == OutputFlavour::EXEXML) {
    DiscoveredProfile found = DiscoverProfile(profiles.name);
    profiles.directory = std::move(found.directory);
    return std::move(found.file);
  }
  auto file = platform::File::OpenForReading(profiles.Path());
  if (!file) {
    EndRun(flavour == OutputFlavour::Nebulant ? MessageId::ProfilePathMissingNebulant
                                              : MessageId::ProfileMissing,
           profiles.Path());
  }
  return file;
}
