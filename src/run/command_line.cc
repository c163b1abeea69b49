// Start-up and the command line: the banner, the flavour, the profile name, the parameter text.
#include "src/run/command_line.h"

#include "src/output/messages.h"
#include "src/platform/text.h"
#include "src/run/version.h"

namespace {

constexpr std::string_view kFlavourKeyword = "/FLAVOUR=";

bool StartsWithFlavourKeyword(std::string_view argument) {
  return platform::UpperCaseAtoZ(argument.substr(0, kFlavourKeyword.size())) == kFlavourKeyword;
}

}  // namespace

std::string Banner(std::string_view time) {
  return "* " + std::string(time) + " SAP SysInfo Vers " + std::string(kVersion) + " / " +
         std::string(kReleaseDate);
}

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  if (!arguments.empty()) line.programPath = arguments[0];
  std::vector<std::string_view> args(arguments.begin() + (arguments.empty() ? 0 : 1),
                                     arguments.end());

  if (!args.empty() && StartsWithFlavourKeyword(args[0])) {
    std::string_view name = args[0].substr(kFlavourKeyword.size());
    std::optional<OutputFlavour> flavour = FlavourNamed(name);
    // The flavour stands where the profile name would, so it is echoed as far as one fits.
    if (!flavour) EndRun(MessageId::UnknownFlavour, EchoedArgument(name, kProfileNameCapacity));
    line.flavour = *flavour;
    args.erase(args.begin());
  }

  if (args.empty()) EndRun(MessageId::ProfileNameMissing);
  if (args[0].size() > kProfileNameCapacity) {
    EndRun(MessageId::ProfileNameTooLong, EchoedArgument(args[0], kProfileNameCapacity));
  }
  line.profileName = args[0];
  if (args.size() > 1) {
    line.secondArgument = args[1];
    line.parameterText = args[1];
  }
  if (args.size() > 2) line.parameterText.append(" ").append(args[2]);
  if (line.parameterText.size() > kParameterTextCapacity) EndRun(MessageId::ParametersTooLong);
  return line;
}

bool IsPathCheck(std::string_view firstArgument) { return firstArgument == "/PathCheck"; }
