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
#include "src/run/usage.h"

int RunSensor(RunContext& run, const std::vector<std::string>& arguments) {
  if (AsksForUsage(arguments)) {
    Print(UsageText());
    return 0;
  }
  run.startTime = platform::LocalTimeText();
  run.banner = Banner(run.startTime);
  run.passwordKeyTable = BuildPasswordKeyTable();
  const CommandLine commandLine = ReadCommandLine(arguments);
  run.programPath = commandLine.programPath;
  run.secondArgument = commandLine.secondArgument;
  if (IsPathCheck(commandLine.profileName)) RunPathCheck();

  run.parameterText = ParseParameters(commandLine.parameterText);
  run.resultDocument =
      Document(commandLine.flavour, run.parameterText.channel,
               TimeLimits{run.parameterText.warningLimit, run.parameterText.errorLimit});
  // ",SYSLOG" is accepted, but no step opens a trace stream yet.
  run.session = RfcSession(EventTrace(run.parameterText.syslog, nullptr));
  ReportRfcErrorsIn(&run.resultDocument, &run.session);

  run.profile = ResolveProfileSet(commandLine.profileName, run.parameterText.item);
  auto profile = OpenProfile(run.profile, commandLine.flavour);
  if (!run.profile.IsListing()) {
    ReadSingleEntry(run.entry, std::move(profile), run.profile.name, run.passwordKeyTable);
    return RunSingleSystem(run);
  }
  // A listing run reads the listing from the profile again on its own.
  profile.reset();
  return RunListing(run, ReadServerListing(run.profile, run.parameterText, run.secondArgument));
}

int RunToTheEnd(RunContext& run, const std::function<int()>& phases) {
  const Document& document = run.resultDocument;
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
  run.session.Finish();
  // 0 and 1 tell the monitor about a document it received; one that did not arrive whole is 2.
  return FlushOutput() ? exitCode : 2;
}
