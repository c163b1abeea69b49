// The parameter text of the command line, read once: every keyword the sensor knows and the
// value that goes with it.
#include "src/config/parameters.h"

#include <algorithm>
#include <array>

#include "src/output/constant_text.h"
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

using After = std::optional<std::string_view>;

// A switch is on wherever it stands.
template <bool Parameters::*Field>
void Switch(Parameters& parameters, After after, std::string_view /*keyword*/) {
  parameters.*Field = after.has_value();
}

// A connection option's value runs to the next comma or blank.
std::optional<std::string> OptionValue(After after) {
  if (!after) return std::nullopt;
  return std::string(after->substr(0, after->find_first_of(", ")));
}

template <std::optional<std::string> Parameters::*Field>
void ConnectionOption(Parameters& parameters, After after, std::string_view /*keyword*/) {
  parameters.*Field = OptionValue(after);
}

// A whole number from 1 to `kLargest`, digits only; the run ends with `kMessage` for anything
// else, echoing the keyword and its value.
template <auto Field, std::size_t kLargest, MessageId kMessage>
void Number(Parameters& parameters, After after, std::string_view keyword) {
  const std::optional<std::string> value = OptionValue(after);
  if (!value) return;
  const bool digits = !value->empty() && value->size() <= std::to_string(kLargest).size() &&
                      value->find_first_not_of("0123456789") == std::string::npos;
  const std::int32_t number = digits ? platform::LeadingNumber(*value) : 0;
  if (number < 1 || number > static_cast<std::int32_t>(kLargest)) {
    EndRun(kMessage,
           std::string(keyword.substr(1)) + EchoedArgument(*value, kParameterTextCapacity));
  }
  parameters.*Field = number;
}

void Item(Parameters& parameters, After after, std::string_view /*keyword*/) {
  if (after) parameters.item = ItemNameFrom(*after);
}

// A plain substring search: MATCH=4 selects channel 4 too.
void Channel(Parameters& parameters, After after, std::string_view /*keyword*/) {
  if (after) {
    parameters.channel =
        platform::LeadingNumber(after->substr(0, std::min(kChannelDigits, after->find(','))));
  }
}

// The descriptions the usage text shows, their numbers from the constants that rule them.
constexpr auto kLargestLimitDigits = DecimalText<kLargestLimit>();
constexpr std::string_view kLargestLimitText = kLargestLimitDigits.view();
constexpr std::string_view kWarnHead = "warning limit of the time channels: 1 to ";
constexpr std::string_view kErrorHead = "error limit of the time channels: 1 to ";
constexpr std::string_view kMilliseconds = " milliseconds";
constexpr std::array kWarnPieces{kWarnHead, kLargestLimitText, kMilliseconds};
constexpr std::array kErrorPieces{kErrorHead, kLargestLimitText, kMilliseconds};
constexpr auto kWarnDescription = JoinText<kWarnPieces>();
constexpr auto kErrorDescription = JoinText<kErrorPieces>();
constexpr auto kLargestTimeoutDigits = DecimalText<kLargestTimeout>();
constexpr auto kDefaultTimeoutDigits = DecimalText<kDefaultTimeout>();
constexpr std::array kTimeoutPieces{std::string_view("how long the run may take: 1 to "),
                                    kLargestTimeoutDigits.view(), std::string_view(" seconds, "),
                                    kDefaultTimeoutDigits.view(), std::string_view(" without it")};
constexpr auto kTimeoutDescription = JoinText<kTimeoutPieces>();
constexpr auto kLargestParallelDigits = DecimalText<kLargestParallel>();
constexpr auto kDefaultParallelDigits = DecimalText<kDefaultParallel>();
constexpr std::array kParallelPieces{
    std::string_view("listing run: the systems checked at a time: 1 to "),
    kLargestParallelDigits.view(), std::string_view(", "), kDefaultParallelDigits.view(),
    std::string_view(" without it")};
constexpr auto kParallelDescription = JoinText<kParallelPieces>();

constexpr std::array kKeywords{
    ParameterKeyword{"ITEM=", "name",
                     "item listing of Talvex.Prf: the measurement each system reports, ':' for "
                     "a blank",
                     &Item},
    ParameterKeyword{"/CHECK", "", "a readable list of the system's values instead of channels",
                     &Switch<&Parameters::check>},
    ParameterKeyword{"CH=", "n",
                     "Quillon: only channel n (1 open, 2 processing, 3 close, 4 response)",
                     &Channel},
    ParameterKeyword{",HOST=", "name", "connect to this host instead of the profile's",
                     &ConnectionOption<&Parameters::host>},
    ParameterKeyword{",NO=", "nn", "connect to this system number instead of the profile's",
                     &ConnectionOption<&Parameters::systemNumber>},
    ParameterKeyword{",WARN=", "n", kWarnDescription.view(),
                     &Number<&Parameters::warningLimit, kLargestLimit, MessageId::InvalidLimit>},
    ParameterKeyword{",ERROR=", "n", kErrorDescription.view(),
                     &Number<&Parameters::errorLimit, kLargestLimit, MessageId::InvalidLimit>},
    ParameterKeyword{",FAILED", "",
                     "listing run: a channel Failed Systems, in error when a system failed",
                     &Switch<&Parameters::failedChannel>},
    ParameterKeyword{
        ",TIMEOUT=", "n", kTimeoutDescription.view(),
        &Number<&Parameters::timeoutSeconds, kLargestTimeout, MessageId::InvalidTimeout>},
    ParameterKeyword{",PARALLEL=", "n", kParallelDescription.view(),
                     &Number<&Parameters::parallel, kLargestParallel, MessageId::InvalidParallel>},
    ParameterKeyword{",SYSLOG", "", "accepted; changes nothing", &Switch<&Parameters::syslog>},
};

}  // namespace

std::span<const ParameterKeyword> ParameterKeywords() { return kKeywords; }

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
  parameters.consoleTrace = text.upper().find_first_of(kConsoleMarks) != std::string::npos;
  for (const ParameterKeyword& keyword : kKeywords) {
    keyword.read(parameters, text.After(keyword.keyword), keyword.keyword);
  }
  parameters.sensorId = text.upper().substr(0, text.upper().find(' '));
  parameters.sensorId.resize(kSensorIdLength, ' ');
  return parameters;
}
