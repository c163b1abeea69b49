// The system-information report: the call, the system's text and the open and processing times.
#include "src/rfc/report.h"

#include "src/output/channel.h"
#include "src/output/console.h"
#include "src/output/document.h"
#include "src/platform/clock.h"
#include "src/rfc/system_info.h"

namespace {

template <std::size_t N>
std::string Field(const char (&field)[N]) {
  return FieldText(field, N);
}

// One timing channel of the report. A listing run prints the channel of its selected item at
// once, named after the system; a single run adds both to the document.
void AddTimeChannel(RunContext& run, std::string_view key, std::string_view name,
                    std::int32_t milliseconds) {
  const std::string value = TimeText(milliseconds);
  if (!run.IsListingRun()) {
    AddChannel(run, key, name, value, kTimeUnit);
    return;
  }
  if (run.ItemName != name) return;
  run.ItemDelivered = true;
  PrintChannelAtOnce(run, "", run.DisplayName, value);
}

}  // namespace

std::string FieldText(const char* field, std::size_t length) {
  std::string text(BoundedText(field, length));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string ReleaseText(const RFCSI& info) {
  const std::string release = Field(info.rfcsaprl);
  return release.substr(0, 1) + "." + (release.empty() ? "" : release.substr(1, 2));
}

std::string SystemInfoText(const RFCSI& info, const SystemEntry& entry) {
  return "(" + entry.Destination + ") Sys-Info: Host=" + Field(info.rfchost) +
         ", Sid=" + Field(info.rfcsysid) + ", Is=" + entry.Sysnr + ", Rel=" + ReleaseText(info) +
         ", Dbs=" + Field(info.rfcdbsys) + ", Os=" + Field(info.rfcopsys) +
         ", IP=" + Field(info.rfcipaddr);
}

std::string CheckList(const RFCSI& info, const SystemEntry& entry) {
  return "\n* HostName......:  " + Field(info.rfchost) +
         "\n* System-ID.......:  " + Field(info.rfcsysid) + "\n* SAP-Instance.:  " + entry.Sysnr +
         "\n* SAP Release..:  " + ReleaseText(info) +
         "\n* DB-System.....:  " + Field(info.rfcdbsys) +
         "\n* OS-System.....:  " + Field(info.rfcopsys) +
         "\n* IP-Address.....:  " + Field(info.rfcipaddr);
}

std::int32_t ReportSystemInfo(RunContext& run, RfcHandle handle) {
  const std::int32_t processingStart = platform::ClockMilliseconds();
  SystemInfoValues values;
  std::string exceptionText;
  const std::int32_t code = CallSystemInfo(run, handle, values, exceptionText);
  if (code != RFC_OK) {
    run.ResultDocument += DescribeCallFailure(code, exceptionText);
    return code;
  }
  run.CallStatus = "OK";

  if (run.Parameters.upper.find("/CHECK") != std::string::npos) {
    run.ResultDocument += CheckList(values.systemInfo, run.Entry);
    return RFC_OK;
  }
  OpenDocument(run);
  OpenText(run);
  run.ResultDocument += DocumentText(run, SystemInfoText(values.systemInfo, run.Entry));
  CloseText(run);

  AddTimeChannel(run, "RFC_Open", "RFC-Open Time", run.OpenEndTime - run.ResponseStartTime);
  AddTimeChannel(run, "Processing", "Processing Time",
                 platform::ClockMilliseconds() - processingStart);
  return RFC_OK;
}
