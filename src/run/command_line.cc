// Start-up and the command line: the banner, the flavour, the profile name, the parameter text.
#include "src/run/command_line.h"

#include "src/output/messages.h"
#include "src/platform/clock.h"

namespace {

constexpr std::string_view kFlavourKeyword = "/FLAVOUR=";

bool StartsWithFlavourKeyword(std::string_view argument) {
  return argument.size() >= kFlavourKeyword.size() &&
         UpperCaseAtoZ(argument.substr(0, kFlavourKeyword.size())) == kFlavourKeyword;
}

}  // namespace

std::string UpperCaseAtoZ(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

void PrepareBanner(RunContext& run) {
  run.StartTime = platform::LocalTimeText();
  run.Banner = "* " + run.StartTime + " SAP SysInfo Vers 4.4 / 15.02.23";
  run.ConsoleLine = run.Banner;
}

void ReadCommandLine(RunContext& run, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) run.ProgramPath = arguments[0];
  std::vector<std::string_view> args(arguments.begin() + (arguments.empty() ? 0 : 1),
                                     arguments.end());

  // An optional leading /Flavour=NAME is taken off before the arguments are numbered.
  if (!args.empty() && StartsWithFlavourKeyword(args[0])) {
    std::string_view name = args[0].substr(kFlavourKeyword.size());
    std::optional<OutputFlavour> flavour = FlavourNamed(name);
    if (!flavour) EndRun(run, Message::UnknownFlavour, name);
    run.Flavour = *flavour;
    args.erase(args.begin());
  }

  if (args.empty()) EndRun(run, Message::ProfileNameMissing);
  if (args[0].size() > kProfileNameCapacity) EndRun(run, Message::ProfileNameTooLong, args[0]);
  run.ProfileName = args[0];

  std::string typed;
  if (args.size() > 1) {
    run.SecondArgument = args[1];
    typed = args[1];
  }
  if (args.size() > 2) typed.append(" ").append(args[2]);
  if (typed.size() > kParameterTextCapacity) EndRun(run, Message::ParametersTooLong);
  run.Parameters.upper = UpperCaseAtoZ(typed);
  run.Parameters.typed = std::move(typed);
}

bool WantsConsoleTrace(const ParameterText& parameters) {
  return parameters.upper.find_first_of("#@$%") != std::string::npos;
}

bool IsPathCheck(std::string_view firstArgument) { return firstArgument == "/PathCheck"; }
