// The server listing of a listing run: from the default profile's "# Gsng: " lines, or from the
// global sensor listing's lines for this sensor with its allocation.
#include "src/config/server_listing.h"

#include <algorithm>
#include <array>

#include "src/output/messages.h"
#include "src/platform/text.h"

namespace {

constexpr std::size_t kListingPiece = 20;    // a listing line's piece starts in column 21
constexpr std::size_t kAllocationText = 19;  // an allocation's text starts in column 20
constexpr std::string_view kSensorNamePiece = "Sensor=\"SAP SysInfo\"";
constexpr std::string_view kItemPiece = "Item=";

struct DisplayKeyword {
  std::string_view keyword;
  DisplayMode mode;
};
// Searched in this order; the last one present wins.
constexpr std::array<DisplayKeyword, 4> kDisplayKeywords{{
    {",Profile", DisplayMode::Profile},
    {",Alias", DisplayMode::Alias},
    {",Host", DisplayMode::Host},
    {",Sid", DisplayMode::Sid},
}};

std::string Rest(const std::string& line, std::size_t from) {
  return from < line.size() ? line.substr(from) : std::string();
}

void ReadItemListing(const ProfileSet& profiles, ServerListing& listing) {
  auto file = platform::File::OpenForReading(profiles.Path());
  if (!file) EndRun(MessageId::DefaultProfileMissing, profiles.name);
  while (auto piece = file->ReadPiece(kListingReadLimit)) {
    std::string line = platform::StripLineEnd(*piece);
    if (line.starts_with("# Gsng: ")) listing.names += Rest(line, kListingPiece);
  }
  listing.itemName = profiles.itemName;
}

void ReadGlobalListing(const ProfileSet& profiles, const Parameters& parameters,
                       std::string_view secondArgument, ServerListing& listing) {
  const std::string listingTag = "# GSNG: " + parameters.sensorId;
  const std::string allocationTag = "# GSNX: " + parameters.sensorId;
  auto file = platform::File::OpenForReading(profiles.Path());
  if (!file) EndRun(MessageId::GlobalListingMissing, profiles.name);

  bool found = false;
  std::string allocation;
  while (auto piece = file->ReadPiece(kListingReadLimit)) {
    const std::string line = platform::StripLineEnd(*piece);
    const std::string head = platform::UpperCaseAtoZ(line.substr(0, listingTag.size()));
    if (head == listingTag) listing.names += Rest(line, kListingPiece);
    if (head != allocationTag) continue;

    allocation = Rest(line, kAllocationText);
    if (allocation.find(kSensorNamePiece) == std::string::npos) {
      EndRun(MessageId::InvalidAllocation);
    }
    std::string text = allocation.substr(0, allocation.find(",Sensor="));
    std::replace(text.begin(), text.end(), ':', ' ');
    listing.allocationText = std::move(text);
    for (const DisplayKeyword& display : kDisplayKeywords) {
      if (line.find(display.keyword) != std::string::npos) listing.display = display.mode;
    }
    found = true;
  }
  file.reset();

  if (auto at = allocation.find(kItemPiece); at != std::string::npos) {
    listing.itemName = ItemNameFrom(std::string_view(allocation).substr(at + kItemPiece.size()));
  }
  if (!found)
    EndRun(MessageId::SensorNotFound, EchoedArgument(secondArgument, kParameterTextCapacity));
}

}  // namespace

ServerListing ReadServerListing(const ProfileSet& profiles, const Parameters& parameters,
                                std::string_view secondArgument) {
  ServerListing listing;
  if (profiles.mode == ProfileMode::ItemListing) {
    ReadItemListing(profiles, listing);
  } else {
    ReadGlobalListing(profiles, parameters, secondArgument, listing);
  }
  if (listing.names.empty()) EndRun(MessageId::ServerListingMissing);
  if (listing.itemName.empty()) EndRun(MessageId::ItemMissing);
  return listing;
}

std::string TakeNextSystemName(std::string_view& names) {
  const std::size_t end = names.find('#');
  std::string name(names.substr(0, end));
  names.remove_prefix(end == std::string_view::npos ? names.size() : end + 1);
  return name;
}

std::string DisplayNameOf(DisplayMode display, const std::string& profileName,
                          const SystemEntry& entry) {
  switch (display) {
    case DisplayMode::Alias:
      return profileName.substr(0,
                                profileName.size() - std::min<std::size_t>(4, profileName.size()));
    case DisplayMode::Host:
      return entry.hostname;
    case DisplayMode::Sid:
      return entry.destination;
    case DisplayMode::Profile:
      break;
  }
  return profileName;
}
