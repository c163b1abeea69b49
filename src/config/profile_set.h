// The profile set of a run: which kind of run it is, which profile file it reads and where,
// and the measurement an item listing reports.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "src/output/flavour.h"
#include "src/platform/file.h"

// A name without a three-character extension gets this one: PRD opens PRD.P00.
inline constexpr std::string_view kDefaultExtension = ".P00";
// This profile name selects the global listing; no file of that name is read.
inline constexpr std::string_view kGlobalName = "GLOBAL.P00";
inline constexpr std::string_view kDefaultProfile = "Talvex.Prf";
inline constexpr std::string_view kGlobalListingProfile = "Talvex.Gbl";

enum class ProfileMode { Single, ItemListing, GlobalListing };

struct ProfileSet {
  ProfileMode mode = ProfileMode::Single;
  std::string name;       // the bare file name once the directory is split off
  std::string directory;  // empty or ending in a backslash
  std::string itemName;   // an item listing's measurement

  std::string Path() const { return directory + name; }
  bool IsListing() const { return mode != ProfileMode::Single; }
};

// The name with the default extension when it has none of three characters: PRD is PRD.P00,
// prd.p01 and D:\Sensors\Talvex.Prf stay as they are.
std::string WithDefaultExtension(std::string_view name);

// Mode, item name, default extension and the global name, from the first argument and the
// parameter text's item. Ends the run when the name with its extension no longer fits.
ProfileSet ResolveProfileSet(std::string_view profileName, const std::optional<std::string>& item);

// Splits the directory off the profile name at its last backslash (one in the first place is
// not a separator) and looks for the global name again in the bare name.
void SplitProfileName(ProfileSet& profiles);

// Splits the name, then opens the profile: in EXEXML through the discovery of the monitor's
// custom-sensor directory (which settles the directory), in the other flavours at the path
// given. Ends the run when it cannot.
std::unique_ptr<platform::File> OpenProfile(ProfileSet& profiles, OutputFlavour flavour);
