// The systems of a listing, one after the other, as a listing run meets them: each listed
// profile read into the run's entry in turn, so that a value a later profile does not name
// stays as an earlier one set it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "src/config/server_listing.h"
#include "src/config/system_entry.h"
#include "src/run/run_context.h"

enum class EntryValidity { Valid, Invalid };

struct ListedSystem {
  std::string name;  // its profile's file name in the listing
  EntryValidity entry = EntryValidity::Valid;
  SystemEntry values;  // the run's entry as this system's profile left it
  std::string displayName;
  std::string summaryLine;  // with console marks only
  // The listed profiles that, read in this order, give the same entry: those an earlier value
  // comes from, then the system's own. A system checked in a process of its own reads them.
  std::vector<std::string> profiles;
};

class ListedSystems {
 public:
  ListedSystems(RunContext& run, const ServerListing& listing);

  // The next system whose profile can be opened; nothing at the listing's end. Names without a
  // profile are counted and skipped.
  std::optional<ListedSystem> Next();
  // The names taken off the listing so far, those without a profile too.
  std::uint32_t counted() const { return counted_; }

 private:
  // The listed profile that last gave each of the entry's values: its place in the listing
  // and its name.
  struct Source {
    std::uint32_t place = 0;
    std::string name;
  };

  RunContext& run_;
  std::string_view names_;
  DisplayMode display_;
  std::uint32_t counted_ = 0;
  std::array<std::optional<Source>, 11> sources_;
};
