// The profile set of a run: which kind of run it is, which profile file it reads and where,
// and the measurement a listing run reports.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "src/run/run_context.h"

// A name without a three-character extension gets this one: PRD opens PRD.P00.
inline constexpr std::string_view kDefaultExtension = ".P00";
// This profile name selects the global listing; no file of that name is read.
inline constexpr std::string_view kGlobalName = "GLOBAL.P00";
inline constexpr std::string_view kDefaultProfile = "Talvex.Prf";
inline constexpr std::string_view kGlobalListingProfile = "Talvex.Gbl";
inline constexpr std::string_view kItemKeyword = "ITEM=";
inline constexpr std::size_t kItemNameCapacity = 90;

// The measurement named by the text that follows an item keyword: up to the first blank, comma
// or the end, at most 90 characters, every ':' a blank (Response:Time names "Response Time").
std::string ItemNameFrom(std::string_view afterKeyword);

// Mode, item name, default extension and the global name; clears the system entry. Ends the
// run when the name with its extension no longer fits the profile name.
void ResolveProfileSet(RunContext& run);

// Splits the directory off the profile name at its last backslash (one in the first place is
// not a separator) and looks for the global name again in the bare name.
void SplitProfileName(RunContext& run);

// Splits the name, then opens the profile into ProfileStream: in EXEXML through the discovery
// of the monitor's custom-sensor directory, in the other flavours at ProfilePath. Ends the run
// when it cannot.
void OpenProfile(RunContext& run);

std::string ProfilePath(const RunContext& run);
