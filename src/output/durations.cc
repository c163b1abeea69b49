// The four durations of a conversation with a system and the channels that show them.
#include "src/output/durations.h"

#include <algorithm>

std::string TimeText(std::int32_t milliseconds) {
  const std::int32_t seconds = milliseconds / 1000;
  const std::int32_t rest = milliseconds % 1000;
  std::string text = std::to_string(seconds);
  std::string digits = std::to_string(rest < 0 ? -rest : rest);
  text.append(3 - digits.size(), '0');
  return text + digits;
}

const DurationChannel* DurationChannelNamed(std::string_view name) {
  const auto* channel =
      std::find_if(kDurationChannels.begin(), kDurationChannels.end(),
                   [name](const DurationChannel& row) { return row.name == name; });
  return channel == kDurationChannels.end() ? nullptr : channel;
}
