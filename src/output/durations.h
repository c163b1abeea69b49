// The four durations of a conversation with a system and the channels that show them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// In milliseconds: the open, the system-information call, the close, and the whole from before
// the library was set up to after the close.
struct Durations {
  std::int32_t open = 0;
  std::int32_t processing = 0;
  std::int32_t close = 0;
  std::int32_t response = 0;
};

// A duration as every channel shows it: the milliseconds, at least four digits.
std::string TimeText(std::int32_t milliseconds);

// The unit of every duration channel.
inline constexpr std::string_view kTimeUnit = "TimeResponse";

struct DurationChannel {
  std::string_view key;   // a single run's channel key
  std::string_view name;  // the channel's name, and the item a listing run selects it by
  std::int32_t Durations::*time;
  // Shown only for a system that answered the call: the call reports the open and processing
  // times together with the system's text. The close and response times of every connected
  // system are shown.
  bool onlyWhenAnswered;
};

// In the order of a system's document, which is the order Quillon numbers them by.
inline constexpr std::array<DurationChannel, 4> kDurationChannels{{
    {"RFC_Open", "RFC-Open Time", &Durations::open, true},
    {"Processing", "Processing Time", &Durations::processing, true},
    {"RFC_Close", "RFC-Close Time", &Durations::close, false},
    {"Response_Time", "Response Time", &Durations::response, false},
}};

// The channel whose name is exactly `name`; nothing for any other text.
const DurationChannel* DurationChannelNamed(std::string_view name);
