// One run of the sensor, phase after phase, and how it ends.
#include "src/run/sensor.h"

#include <exception>

#include "src/config/path_check.h"
#include "src/config/server_listing.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/platform/last_words.h"
#include "src/run/command_line.h"
#include "src/run/listing_run.h"
#include "src/run/parallel_listing.h"
#include "src/run/run_guard.h"
#include "src/run/single_run.h"
#include "src/run/usage.h"

int RunSensor(RunContext& run, const std::vector<std::string>& arguments) {
  if (AsksForUsage(arguments)) {
    run.out->PrintEnding(UsageText(), 0);
    return 0;
  }
  run.startTime = platform::LocalTimeText();
  run.banner = Banner(run.startTime);
  run.passwordKeyTable = BuildPasswordKeyTable();
  const CommandLine commandLine = ReadCommandLine(arguments);
  run.secondArgument = commandLine.secondArgument;
  if (IsPathCheck(commandLine.profileName)) {
    // The information document goes out whether or not the file could be written.
    WritePathCheckFile();
    const int exitCode = ExitCodeOf(MessageId::PathCheckCreated);
    run.out->PrintEnding(run.resultDocument.ErrorDocument(MessageFor(MessageId::PathCheckCreated)),
                         exitCode);
    return exitCode;
  }
  run.parameterText = ParseParameters(commandLine.parameterText);
  run.resultDocument =
      Document(commandLine.flavour, run.parameterText.channel,
               TimeLimits{run.parameterText.warningLimit, run.parameterText.errorLimit});
  // From here on the run ends with a whole document within its deadline, whatever the library
  // does.
  auto guard = std::make_unique<RunGuard>(run);
  guard->PrepareOutsideOperations();
  run.libraryWatch = std::move(guard);
  platform::StartDeadline(run.started + std::chrono::seconds(run.parameterText.timeoutSeconds));
  run.profile = ResolveProfileSet(commandLine.profileName, run.parameterText.item);
  auto profile = OpenProfile(run.profile, commandLine.flavour);
  if (!run.profile.IsListing()) {
    ReadSingleEntry(run.entry, std::move(profile), run.profile.name, run.passwordKeyTable);
    return RunSingleSystem(run);
  }
  // A listing run reads the listing from the profile again on its own.
  profile.reset();
  run.checkInParallel = CheckInParallel;
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
    exitCode = end.exitCode;
    run.out->PrintEnding(document.ErrorDocument(end.message), exitCode);
  } catch (const std::exception& error) {
    exitCode = ExitCodeOf(MessageId::UnexpectedFailure);
    run.out->PrintEnding(
        document.ErrorDocument(MessageFor(MessageId::UnexpectedFailure, error.what())), exitCode);
  } catch (...) {
    exitCode = ExitCodeOf(MessageId::UnexpectedFailure);
    run.out->PrintEnding(
        document.ErrorDocument(MessageFor(MessageId::UnexpectedFailure, "unknown")), exitCode);
  }
  // The document is out before the library's trace is handed over to the shared one.
  const bool delivered = run.out->Flush();
  if (run.client) run.client->Finish();
  for (auto& child : run.finishingChildren) child->End(true);
  // 0 and 1 tell the monitor about a document it received; one that did not arrive whole is 2.
  return delivered ? exitCode : 2;
}
