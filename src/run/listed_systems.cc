// The systems of a listing, one after the other, as a listing run meets them.
#include "src/run/listed_systems.h"

#include <algorithm>

#include "src/platform/clock.h"

ListedSystems::ListedSystems(RunContext& run, const ServerListing& listing)
    : run_(run), names_(listing.names), display_(listing.display) {}

std::optional<ListedSystem> ListedSystems::Next() {
  while (!names_.empty()) {
    const std::uint32_t place = counted_++;
    ListedSystem system;
    system.name = TakeNextSystemName(names_);
    const SystemEntry before = run_.entry;
    const ListedProfile profile =
        run_.readListedProfile(run_.profile.directory + system.name, run_.entry);
    if (profile == ListedProfile::Missing) continue;  // skipped without a word

    system.entry = profile == ListedProfile::Valid ? EntryValidity::Valid : EntryValidity::Invalid;
    system.values = run_.entry;
    system.displayName = DisplayNameOf(display_, system.name, run_.entry);
    if (run_.parameterText.consoleTrace) {
      system.summaryLine = SystemSummaryLine(run_.entry, platform::LocalTimeText(), system.name);
    }
    std::vector<const Source*> earlier;
    for (std::size_t i = 0; i < EntryKeys().size(); ++i) {
      std::string SystemEntry::*value = EntryKeys()[i].value;
      if (run_.entry.*value != before.*value) sources_[i] = Source{place, system.name};
      if (sources_[i] && sources_[i]->place != place) earlier.push_back(&*sources_[i]);
    }
    std::sort(earlier.begin(), earlier.end(),
              [](const Source* a, const Source* b) { return a->place < b->place; });
    for (std::size_t i = 0; i < earlier.size(); ++i) {
      if (i == 0 || earlier[i]->place != earlier[i - 1]->place) {
        system.profiles.push_back(earlier[i]->name);
      }
    }
    system.profiles.push_back(system.name);
    return system;
  }
  return std::nullopt;
}
