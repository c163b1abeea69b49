// The server listing of a listing run: from the default profile's "# Gsng: " lines, or from the
// global sensor listing's lines for this sensor with its allocation.
#include "src/config/server_listing.h"

#include <algorithm>
#include <array>

#include "src/config/profile_set.h"
#include "src/config/system_entry.h"
#include "src/output/messages.h"
#include "src/run/command_line.h"

namespace {

constexpr std::size_t kSensorIdLength = 10;
constexpr std::size_t kListingPiece = 20;     // a listing line's piece starts in column 21
constexpr std::size_t kAllocationText = 19;   // an allocation's text starts in column 20
constexpr std::string_view kSensorNamePiece = "Sensor=\"SAP SysInfo\"";

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

void ReadItemListing(RunContext& run) {
  auto file = platform::File::OpenForReading(run.ProfileDirectory + run.ProfileName);
  if (!file) EndRun(run, Message::DefaultProfileMissing, run.ProfileName);
  while (auto piece = file->ReadPiece(kListingReadLimit)) {
    std::string line = platform::StripLineEnd(*piece);
    if (line.rfind("# Gsng: ", 0) == 0) run.ServerListing += Rest(line, kListingPiece);
  }
}

void ReadGlobalListing(RunContext& run) {
  const std::string id = SensorId(run.Parameters).substr(0, kSensorIdLength);
  const std::string listingTag = "# GSNG: " + id;
  const std::string allocationTag = "# GSNX: " + id;
  auto file = platform::File::OpenForReading(run.ProfileDirectory + run.ProfileName);
  if (!file) EndRun(run, Message::GlobalListingMissing, run.ProfileName);

  bool found = false;
  std::string allocation;
  run.ItemName.clear();
  while (auto piece = file->ReadPiece(kListingReadLimit)) {
    const std::string line = platform::StripLineEnd(*piece);
    const std::string head = UpperCaseAtoZ(line.substr(0, listingTag.size()));
    if (head == listingTag) run.ServerListing += Rest(line, kListingPiece);
    if (head != allocationTag) continue;

    allocation = Rest(line, kAllocationText);
    if (allocation.find(kSensorNamePiece) == std::string::npos) {
      EndRun(run, Message::InvalidAllocation);
    }
    std::string parameters = allocation.substr(0, allocation.find(",Sensor="));
    std::replace(parameters.begin(), parameters.end(), ':', ' ');
    run.Parameters.typed = parameters;
    for (const DisplayKeyword& display : kDisplayKeywords) {
      if (line.find(display.keyword) != std::string::npos) run.Display = display.mode;
    }
    found = true;
  }
  file.reset();

  if (auto at = allocation.find("Item="); at != std::string::npos) {
    run.ItemName = ItemNameFrom(std::string_view(allocation).substr(at + 5));
  }
  if (!found) EndRun(run, Message::SensorNotFound, run.SecondArgument);
}

}  // namespace

std::string SensorId(const ParameterText& parameters) {
  std::string id = parameters.upper.substr(0, parameters.upper.find(' '));
  if (id.size() < kSensorIdLength) id.resize(kSensorIdLength, ' ');
  return id;
}

void ReadServerListing(RunContext& run) {
  run.Display = DisplayMode::Profile;
  run.ServerListing.clear();
  run.SystemCount = run.ProcessedCount = run.FailedCount = 0;
  if (run.Mode == ProfileMode::ItemListing) {
    ReadItemListing(run);
  } else {
    ReadGlobalListing(run);
  }
  if (run.ServerListing.empty()) EndRun(run, Message::ServerListingMissing);
  if (run.ItemName.empty()) EndRun(run, Message::ItemMissing);
}

std::string TakeNextSystemName(RunContext& run) {
  const std::size_t end = run.ServerListing.find('#');
  std::string name = run.ServerListing.substr(0, end);
  run.ServerListing = end == std::string::npos ? "" : run.ServerListing.substr(end + 1);
  return name;
}

std::string DisplayNameOf(const RunContext& run, const std::string& profileName) {
  switch (run.Display) {
    case DisplayMode::Alias:
      return profileName.substr(0, profileName.size() - std::min<std::size_t>(4, profileName.size()));
    case DisplayMode::Host:
      return run.Entry.Hostname;
    case DisplayMode::Sid:
      return run.Entry.Destination;
    case DisplayMode::Profile:
      break;
  }
  return profileName;
}
