// The parameter text of the command line, read once: every keyword the sensor knows and the
// value that goes with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "src/output/messages.h"

// The longest item name a listing reports.
inline constexpr std::size_t kItemNameCapacity = 90;

// The second and third command-line arguments joined by one blank. Keywords are found in any
// letter case (the text upper-cased, a to z only); a keyword's value is taken as typed, from the
// same text and the same position.
struct Parameters {
  std::string typed;                    // as typed: what the console lines show
  bool consoleTrace = false;            // any of '#', '@', '$', '%': progress lines on the console
  bool check = false;                   // "/CHECK": the readable list instead of channels
  bool syslog = false;                  // ",SYSLOG": trace events wanted
  std::optional<std::string> item;      // "ITEM=": the measurement of an item listing
  std::optional<std::int32_t> channel;  // "CH=": the one channel Quillon prints
  std::optional<std::string> host;      // ",HOST=": another host than the profile's
  std::optional<std::string> systemNumber;   // ",NO=": another system number
  std::optional<std::int32_t> warningLimit;  // ",WARN=": milliseconds, for the monitor's alerts
  std::optional<std::int32_t> errorLimit;    // ",ERROR="
  bool failedChannel = false;                // ",FAILED": a listing counts its failed systems
  // ",TIMEOUT=": how long the run may take, in seconds.
  std::int32_t timeoutSeconds = static_cast<std::int32_t>(kDefaultTimeout);
  // ",PARALLEL=": how many systems a listing run checks at a time.
  std::int32_t parallel = static_cast<std::int32_t>(kDefaultParallel);
  std::string sensorId;  // the first word, upper-cased, blank-padded and cut to ten characters

  bool operator==(const Parameters&) const = default;
};

// One keyword of the parameter text: how the usage text and the reference show it, and how its
// value is taken. Adding a row to the table adds the keyword everywhere it is listed.
struct ParameterKeyword {
  std::string_view keyword;      // in upper case, as written; found in any letter case
  std::string_view value;        // what the usage text shows after it ("n"); empty for none
  std::string_view description;  // one line
  // Takes the keyword into `parameters`: `after` is the text as typed after the keyword's first
  // occurrence, nothing when the text lacks the keyword.
  void (*read)(Parameters& parameters, std::optional<std::string_view> after,
               std::string_view keyword);
};

// Every keyword, in the order they are listed and read: of two invalid values the earlier
// keyword's ends the run.
std::span<const ParameterKeyword> ParameterKeywords();

// The marks that switch on console progress lines, any of them anywhere in the text.
inline constexpr std::string_view kConsoleMarks = "#@$%";

// Reads the parameter text. Ends the run when a limit is no number of milliseconds from 1 to
// 999999, the timeout no number of seconds from 1 to 900, or the systems at a time no number
// from 1 to 32.
Parameters ParseParameters(std::string_view typed);

// The measurement named by the text that follows an item keyword: up to the first blank, comma
// or the end, at most 90 characters, every ':' a blank (Response:Time names "Response Time").
std::string ItemNameFrom(std::string_view afterKeyword);
