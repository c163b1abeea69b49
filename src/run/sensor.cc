// One run of the sensor, phase after phase, and how it ends.
#include "src/run/sensor.h"

#include <exception>

#include "src/config/path_check.h"
#include "src/config/server_listing.h"
#include "src/output/console.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/rfc/library_error.h"
#include "src/run/command_line.h"
#include "src/run/listing_run.h"
#include "src/run/single_run.h"

int RunSensor(RunContext& run, const std::vector<std::string>& arguments) {
  run.StartTime = platform::LocalTimeText();
  run.Banner = Banner(run.StartTime);
  run.PasswordKeyTable = BuildPasswordKeyTable();
  const CommandLine commandLine = ReadCommandLine(arguments);
  run.ProgramPath = commandLine.programPath;
  run.SecondArgument = commandLine.secondArgument;
  if (IsPathCheck(commandLine.profileName)) RunPathCheck();

  run.ParameterText = ParseParameters(commandLine.parameterText);
  run.ResultDocument =
      Document(commandLine.flavour, run.ParameterText.channel,
               TimeLimits{run.ParameterText.warningLimit, run.ParameterText.errorLimit});
  // ",SYSLOG" is accepted, but no step opens a trace stream yet.
  run.Session = RfcSession(EventTrace(run.ParameterText.syslog, nullptr));
  ReportRfcErrorsIn(&run.ResultDocument, &run.Session);

  run.Profile = ResolveProfileSet(commandLine.profileName, run.ParameterText.item);
  auto profile = OpenProfile(run.Profile, commandLine.flavour);
  if (!run.Profile.IsListing()) {
    ReadSingleEntry(run.Entry, std::move(profile), run.Profile.name, run.PasswordKeyTable);
    return RunSingleSystem(run);
  }
  // A listing run reads the listing from the profile again on its own.
  profile.reset();
  return RunListing(run, ReadServerListing(run.Profile, run.ParameterText, run.SecondArgument));
}

int RunToTheEnd(RunContext& run, const std::function<int()>& phases) {
  const Document& document = run.ResultDocument;
  int exitCode = 0;
  try {
    exitCode = phases();
  } catch (const RunEnded& end) {
    Print(document.ErrorDocument(end.message));
    exitCode = end.exitCode;
  } catch (const std::exception& error) {
    Print(document.ErrorDocument(MessageFor(MessageId::UnexpectedFailure, error.what())));
    exitCode = ExitCodeOf(MessageId::UnexpectedFailure);
  } catch (...) {
    Print(document.ErrorDocument(MessageFor(MessageId::UnexpectedFailure, "unknown")));
    exitCode = ExitCodeOf(MessageId::UnexpectedFailure);
  }
  run.Session.Finish();
  // 0 and 1 tell the monitor about a document it received; one that did not arrive whole is 2.
  return FlushOutput() ? exitCode : 2;
}
