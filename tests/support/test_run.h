// A run for the runs' unit tests: a scripted RFC library, its output kept in a string, and a
// profile's entry as the system's values.
#pragma once

#include <memory>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "src/config/parameters.h"
#include "src/output/document.h"
#include "src/run/run_context.h"
#include "src/run/sensor.h"
#include "tests/support/scripted_rfc_client.h"

namespace runtests {

using testsupport::ScriptedRfcClient;

class TestRun {
 public:
  TestRun(const std::string& parameters, std::vector<Conversation> script,
          OutputFlavour flavour = OutputFlavour::EXEXML) {
    run.out = &output;
    run.startTime = "12:00:00";
    run.banner = "* 12:00:00 SAP SysInfo Vers 4.4 / 15.02.23";
    run.parameterText = ParseParameters(parameters);
    run.resultDocument =
        Document(flavour, run.parameterText.channel,
                 TimeLimits{run.parameterText.warningLimit, run.parameterText.errorLimit});
    run.profile.name = "PRD.P00";
    run.entry.destination = "PRD";
    run.entry.client = "100";
    run.entry.user = "MONITOR";
    run.entry.password = "secret";
    run.entry.hostname = "prdhost";
    run.entry.sysnr = "00";
    auto scripted = std::make_unique<ScriptedRfcClient>(std::move(script), &output);
    client = scripted.get();
    run.client = std::move(scripted);
  }

  // Runs `phases` as the program does; the exit code.
  int Run(const std::function<int()>& phases) { return RunToTheEnd(run, phases); }
  const std::string& printed() const { return output.text(); }

  RunContext run;
  CapturedOutput output;
  ScriptedRfcClient* client = nullptr;  // the run's
};

// The console lines' clock times as hh:mm:ss.
inline std::string MaskClock(const std::string& text) {
  return std::regex_replace(text, std::regex("[0-9]{2}:[0-9]{2}:[0-9]{2}"), "hh:mm:ss");
}

inline std::string ErrorDocument(const std::string& message) {
  return "<Prtg>\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n";
}

// An XML channel in milliseconds, as every duration channel is written.
inline std::string TimeChannel(const std::string& name, const std::string& value,
                               const std::string& limits = "") {
  return "\n<Result><Channel>" + name +
         "</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>TimeResponse</CustomUnit>\n<Value>" + value +
         "</Value>" + limits + "</Result>\n";
}

}  // namespace runtests
