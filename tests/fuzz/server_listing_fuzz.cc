// Fuzz target: the listings of a listing run, Talvex.Prf's "# Gsng: " lines and Talvex.Gbl's
// listing and allocation lines for one sensor, with the parameter text that names the sensor.
// Input: one byte choosing the file (even: Talvex.Prf, odd: Talvex.Gbl), the parameter text up
// to the first line feed, then the file's bytes.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "src/config/parameters.h"
#include "src/config/profile_set.h"
#include "src/config/server_listing.h"
#include "src/output/messages.h"
#include "tests/fuzz/property.h"
#include "tests/fuzz/scratch.h"

namespace {

// The messages a listing may end the run with; the profile name and second argument they
// name come from this target.
std::set<std::string> ListingMessages(std::string_view secondArgument) {
  return {MessageFor(MessageId::ServerListingMissing), MessageFor(MessageId::ItemMissing),
          MessageFor(MessageId::InvalidAllocation),
          MessageFor(MessageId::SensorNotFound,
                     EchoedArgument(secondArgument, kParameterTextCapacity))};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const bool global = (data[0] & 1) != 0;
  const std::size_t lineEnd = input.find('\n');
  if (lineEnd == std::string_view::npos) return 0;
  const std::string_view parameterText = input.substr(0, std::min(lineEnd, kParameterTextCapacity));
  const std::string_view file = input.substr(lineEnd + 1);

  ProfileSet profiles;
  profiles.mode = global ? ProfileMode::GlobalListing : ProfileMode::ItemListing;
  profiles.name = global ? kGlobalListingProfile : kDefaultProfile;
  profiles.directory = fuzz::ScratchFolder().string() + "/";
  fuzz::ScratchFile(profiles.name, file);
  const std::string secondArgument(parameterText.substr(0, parameterText.find(' ')));

  try {
    const Parameters parameters = ParseParameters(parameterText);
    if (!global) profiles.itemName = parameters.item.value_or("");
    ServerListing listing = ReadServerListing(profiles, parameters, secondArgument);

    fuzz::Require(!listing.names.empty(), "a usable listing names something");
    fuzz::Require(!listing.itemName.empty() && listing.itemName.size() <= kItemNameCapacity &&
                      listing.itemName.find_first_of(":,") == std::string::npos,
                  "the item is a name of at most 90 characters, ':' made blanks", listing.itemName);
    fuzz::Require(!listing.allocationText || listing.allocationText->find(':') == std::string::npos,
                  "the allocation's text has blanks for ':'", listing.allocationText.value_or(""));
    fuzz::Require(global || !listing.allocationText, "only a global listing has an allocation");

    // Every name is taken off in turn, none with its '#', and the listing runs out.
    const std::size_t most = listing.names.size() + 1;
    std::size_t taken = 0;
    SystemEntry entry;
    entry.hostname = "host";
    entry.destination = "DEST";
    std::string_view names = listing.names;
    while (!names.empty()) {
      const std::string name = TakeNextSystemName(names);
      fuzz::Require(name.find('#') == std::string::npos, "a name holds no '#'", name);
      fuzz::Require(++taken <= most, "the listing runs out");
      const std::string shown = DisplayNameOf(listing.display, name, entry);
      fuzz::Require(shown.size() <= name.size() || shown == "host" || shown == "DEST",
                    "a system is named by its profile, alias, host or destination", shown);
    }
  } catch (const RunEnded& end) {
    const bool listingMessage = ListingMessages(secondArgument).count(end.message) == 1;
    // A number the parameter text gives out of its range: a limit, the deadline, the systems
    // checked at a time.
    const bool numberMessage = end.message.starts_with("Error 1046: Invalid Limit ") ||
                               end.message.starts_with("Error 1049: Invalid Timeout ") ||
                               end.message.starts_with("Error 1051: Invalid Parallel ");
    fuzz::Require((listingMessage || numberMessage) && end.exitCode == 2,
                  "a listing ends the run with one of its messages", end.message);
  }
  return 0;
}
