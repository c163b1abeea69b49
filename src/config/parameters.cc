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

// A whole number from 1 to `largest`, digits only; the run ends with `message` for anything
// else, echoing the keyword and its value.
std::optional<std::int32_t> Number(const KeywordText& text, std::string_view keyword,
                                   std::size_t largest, MessageId message) {
  const std::optional<std::string> value = OptionValue(text, keyword);
  if (!value) return std::nullopt;
  const bool digits = !value->empty() && value->size() <= std::to_string(largest).size() &&
                      value->find_first_not_of("0123456789") == std::string::npos;
  const std::int32_t number = digits ? platform::LeadingNumber(*value) : 0;
  if (number < 1 || number > static_cast<std::int32_t>(largest)) {
    EndRun(message,
           std::string(keyword.substr(1)) + EchoedArgument(*value, kParameterTextCapacity));
  }
  return number;
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
  parameters.warningLimit = Number(text, ",WARN=", kLargestLimit, MessageId::InvalidLimit);
  parameters.errorLimit = Number(text, ",ERROR=", kLargestLimit, MessageId::InvalidLimit);
  parameters.timeoutSeconds = Number(text, ",TIMEOUT=", kLargestTimeout, MessageId::InvalidTimeout)
                                  .value_or(static_cast<std::int32_t>(kDefaultTimeout));
  parameters.parallel = Number(text, ",PARALLEL=", kLargestParallel, MessageId::InvalidParallel)
                            .value_or(static_cast<std::int32_t>(kDefaultParallel));
  parameters.failedChannel = text.Contains(",FAILED");
  parameters.sensorId = text.upper().substr(0, text.upper().find(' '));
  parameters.sensorId.resize(kSensorIdLength, ' ');
  return parameters;
}
