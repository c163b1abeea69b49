// The parameter text of the command line, read once: every keyword the sensor knows and the
// value that goes with it.
#include "src/config/parameters.h"

#include <algorithm>

#include "src/output/messages.h"
#include "src/platform/text.h"

namespace {

constexpr std::size_t kSensorIdLength = 10;
// "CH=" takes at most three characters, stopping before a comma.
constexpr std::size_t kChannelDigits = 3;

// The text after a keyword, from the typed text at the keyword's place in the upper-cased one.
class KeywordText {
 public:
  explicit KeywordText(std::string_view typed)
      : typed_(typed), upper_(platform::UpperCaseAtoZ(typed)) {}

  bool Contains(std::string_view keyword) const {
    return upper_.find(keyword) != std::string::npos;
  }
  std::optional<std::string_view> After(std::string_view keyword) const {
    const std::size_t at = upper_.find(keyword);
    if (at == std::string::npos) return std::nullopt;
    return typed_.substr(at + keyword.size());
  }
  const std::string& upper() const { return upper_; }

 private:
  std::string_view typed_;
  std::string upper_;
};

// A connection option's value runs to the next comma or blank.
std::optional<std::string> OptionValue(const KeywordText& text, std::string_view keyword) {
  auto after = text.After(keyword);
  if (!after) return std::nullopt;
  return std::string(after->substr(0, after->find_first_of(", ")));
}

// A limit's milliseconds: digits only, from 1 to 999999; the run ends for anything else.
std::optional<std::int32_t> Limit(const KeywordText& text, std::string_view keyword) {
  const std::optional<std::string> value = OptionValue(text, keyword);
  if (!value) return std::nullopt;
  const bool digits = !value->empty() && value->size() <= 6 &&
                      value->find_first_not_of("0123456789") == std::string::npos;
  const std::int32_t milliseconds = digits ? platform::LeadingNumber(*value) : 0;
  if (milliseconds < 1 || milliseconds > static_cast<std::int32_t>(kLargestLimit)) {
    EndRun(MessageId::InvalidLimit,
           std::string(keyword.substr(1)) + EchoedArgument(*value, kParameterTextCapacity));
  }
  return milliseconds;
}

}  // namespace

std::string ItemNameFrom(std::string_view afterKeyword) {
  std::string name(afterKeyword.substr(0, afterKeyword.find_first_of(" ,")));
  if (name.size() > kItemNameCapacity) name.resize(kItemNameCapacity);
  std::replace(name.begin(), name.end(), ':', ' ');
  return name;
}

Parameters ParseParameters(std::string_view typed) {
  const KeywordText text(typed);
  Parameters parameters;
  parameters.typed = typed;
  parameters.consoleTrace = text.upper().find_first_of("#@$%") != std::string::npos;
  parameters.check = text.Contains("/CHECK");
  parameters.syslog = text.Contains(",SYSLOG");
  if (auto item = text.After("ITEM=")) parameters.item = ItemNameFrom(*item);
  // A plain substring search: MATCH=4 selects channel 4 too.
  if (auto channel = text.After("CH=")) {
    parameters.channel =
        platform::LeadingNumber(channel->substr(0, std::min(kChannelDigits, channel->find(','))));
  }
  parameters.host = OptionValue(text, ",HOST=");
  parameters.systemNumber = OptionValue(text, ",NO=");
  parameters.warningLimit = Limit(text, ",WARN=");
  parameters.errorLimit = Limit(text, ",ERROR=");
  parameters.failedChannel = text.Contains(",FAILED");
  parameters.sensorId = text.upper().substr(0, text.upper().find(' '));
  parameters.sensorId.resize(kSensorIdLength, ' ');
  return parameters;
}
