// One run of the sensor, phase after phase, and how it ends.
#include "src/run/sensor.h"

#include <exception>

#include "src/config/path_check.h"
#include "src/config/server_listing.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/run/command_line.h"
#include "src/run/listing_run.h"
#include "src/run/single_run.h"

int RunSensor(RunContext& run, const std::vector<std::string>& arguments) {
  run.startTime = platform::LocalTimeText();
  run.banner = Banner(run.startTime);
  run.passwordKeyTable = BuildPasswordKeyTable();
  const CommandLine commandLine = ReadCommandLine(arguments);
  run.secondArgument = commandLine.secondArgument;
  if (IsPathCheck(commandLine.profileName)) {
    // The information document goes out whether or not the file could be written.
    WritePathCheckFile();
    run.out->Print(run.resultDocument.ErrorDocument(MessageFor(MessageId::PathCheckCreated)));
    return ExitCodeOf(MessageId::PathCheckCreated);
  }
  run.parameterText = ParseParameters(commandLine.parameterText);
  run.resultDocument =
      Document(commandLine.flavour, run.parameterText.channel,
               TimeLimits{run.parameterText.warningLimit, run.parameterText.errorLimit});
  run.profile = ResolveProfileSet(commandLine.profileName, run.parameterText.item);
  auto profile = OpenProfile(run.profile, commandLine.flavour);
  if (!run.profile.IsListing()) {
    ReadSingleEntry(run.entry, std::move(profile), run.profile.name, run.passwordKeyTable);
    return RunSingleSystem(run);
  }
  // A listing run reads the listing from the profile again on its own.
  profile.reset();
  run.readListedProfile = [&run](const std::string& path, SystemEntry& entry) {
    return ReadListedProfile(path, entry, run.passwordKeyTable);
  };
  return RunListing(run, ReadServerListing(run.profile, run.parameterText, run.secondArgument));
}

int RunToTheEnd(RunContext& run, const std::function<int()>& phases) {
  const Document& document = run.resultDocument;
  int exitCode = 0;
  try {
    exitCode = phases();
  } catch (const RunEnded& end) {
    run.out->Print(document.ErrorDocument(end.message));
    exitCode = end.exitCode;
  } catch (const std::exception& error) {
    run.out->Print(document.ErrorDocument(MessageFor(MessageId::UnexpectedFailure, error.what())));
    exitCode = ExitCodeOf(MessageId::UnexpectedFailure);
  } catch (...) {
    run.out->Print(document.ErrorDocument(MessageFor(MessageId::UnexpectedFailure, "unknown")));
    exitCode = ExitCodeOf(MessageId::UnexpectedFailure);
  }
  // The document is out before the library's trace is handed over to the shared one.
  const bool delivered = run.out->Flush();
  if (run.client) run.client->Finish();
  // 0 and 1 tell the monitor about a document it received; one that did not arrive whole is 2.
  return delivered ? exitCode : 2;
}
