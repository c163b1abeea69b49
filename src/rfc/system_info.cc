// The one remote call of the sensor, RFC_SYSTEM_INFO, and the handler of the library's errors.
#include "src/rfc/system_info.h"

#include <array>
#include <cstdlib>

#include "src/output/console.h"
#include "src/output/messages.h"

namespace {

// The RFCSI record as the library is told about it: 18 character fields, one after another.
constexpr std::array<RfcStructureField, 18> kRfcsiDescription{{
    {"RFCPROTO", RFC_TYPE_CHAR, 3, 0, 0},
    {"RFCCHARTYP", RFC_TYPE_CHAR, 4, 0, 0},
    {"RFCINTTYP", RFC_TYPE_CHAR, 3, 0, 0},
    {"RFCFLOTYP", RFC_TYPE_CHAR, 3, 0, 0},
    {"RFCDEST", RFC_TYPE_CHAR, 32, 0, 0},
    {"RFCHOST", RFC_TYPE_CHAR, 8, 0, 0},
    {"RFCSYSID", RFC_TYPE_CHAR, 8, 0, 0},
    {"RFCDATABS", RFC_TYPE_CHAR, 8, 0, 0},
    {"RFCDBHOST", RFC_TYPE_CHAR, 32, 0, 0},
    {"RFCDBSYS", RFC_TYPE_CHAR, 10, 0, 0},
    {"RFCSAPRL", RFC_TYPE_CHAR, 4, 0, 0},
    {"RFCMACH", RFC_TYPE_CHAR, 5, 0, 0},
    {"RFCOPSYS", RFC_TYPE_CHAR, 10, 0, 0},
    {"RFCTZONE", RFC_TYPE_CHAR, 6, 0, 0},
    {"RFCDAYST", RFC_TYPE_CHAR, 1, 0, 0},
    {"RFCIPADDR", RFC_TYPE_CHAR, 15, 0, 0},
    {"RFCKERNRL", RFC_TYPE_CHAR, 4, 0, 0},
    {"RFCSI_RESV", RFC_TYPE_CHAR, 44, 0, 0},
}};

// The error text of each return code; any code not listed is "another failure".
struct FailureText {
  std::int32_t code;
  Message message;
};
constexpr std::array<FailureText, 3> kFailureTexts{{
    {RFC_FAILURE, Message::CallRfcFailure},
    {RFC_EXCEPTION, Message::CallException},
    {RFC_SYS_EXCEPTION, Message::CallSysException},
}};

RfcParameter Parameter(const char* name, std::int32_t type, std::int32_t length, void* address) {
  return {name, static_cast<std::int32_t>(std::string_view(name).size()), type, length, address};
}

}  // namespace

std::string_view BoundedText(const char* field, std::size_t size) {
  std::string_view text(field, size);
  return text.substr(0, text.find('\0'));
}

void SetUpRfcEnvironment() {
  static RfcEnvironmentRecord environment{ReportRfcError, nullptr};
  RfcEnvironment(&environment);
}

std::int32_t CallSystemInfo(RunContext& run, RfcHandle handle, SystemInfoValues& values,
                            std::string& exceptionText) {
  if (run.RfcsiType == 0 &&
      RfcInstallStructure("RFCSI", kRfcsiDescription.data(),
                          static_cast<std::uint32_t>(kRfcsiDescription.size()),
                          &run.RfcsiType) != 0) {
    ReportRfcError("RfcInstallStructure");
  }

  RfcParameter exporting[] = {{nullptr, 0, 0, 0, nullptr}};
  RfcParameter tables[] = {{nullptr, 0, 0, 0, nullptr}};
  std::int32_t code = RfcCall(handle, "RFC_SYSTEM_INFO", exporting, tables);
  TraceEvent(run, static_cast<std::int32_t>(handle), "RfcCall called", "");
  if (code != RFC_OK) return code;

  RfcParameter importing[] = {
      Parameter("CURRENT_RESOURCES", RFC_TYPE_INT, 4, &values.currentResources),
      Parameter("DIALOG_USER_TYPE", RFC_TYPE_CHAR, 1, &values.dialogUserType),
      Parameter("MAXIMAL_RESOURCES", RFC_TYPE_INT, 4, &values.maximalResources),
      Parameter("RECOMMENDED_DELAY", RFC_TYPE_INT, 4, &values.recommendedDelay),
      Parameter("RFCSI_EXPORT", static_cast<std::int32_t>(run.RfcsiType), sizeof(RFCSI),
                &values.systemInfo),
      Parameter("RFC_LOGIN_COMPLETE", RFC_TYPE_CHAR, 1, &values.loginComplete),
      {nullptr, 0, 0, 0, nullptr},
  };
  char* exception = nullptr;
  code = RfcReceive(handle, importing, tables, &exception);
  TraceEvent(run, static_cast<std::int32_t>(handle), "RfcReceive called", "");
  if ((code == RFC_EXCEPTION || code == RFC_SYS_EXCEPTION) && exception != nullptr) {
    exceptionText = exception;
  }
  return code;
}

std::string DescribeCallFailure(std::int32_t code, std::string_view exceptionText) {
  for (const FailureText& failure : kFailureTexts) {
    if (failure.code == code) {
      return MessageFor(failure.message, code == RFC_EXCEPTION ? exceptionText : "");
    }
  }
  return MessageFor(Message::CallOtherFailure);
}

extern "C" void RFC_CALL ReportRfcError(const char* operation) {
  Print("RFC error\n");
  PrintLabelLine("operation/code", 0, 15, operation ? operation : "");
  RfcErrorInfo error{};
  RfcLastError(&error);
  PrintLabelLine("key", 0, 15, BoundedText(error.key, sizeof error.key));
  PrintLabelLine("status", 0, 15, BoundedText(error.status, sizeof error.status));
  PrintLabelLine("message", 0, 15, BoundedText(error.message, sizeof error.message));
  PrintLabelLine("internal status", 0, 15,
                 BoundedText(error.internalStatus, sizeof error.internalStatus));
  Print("\n");
  // The block is out before the library is asked to close anything, whatever that does.
  FlushOutput();
  RfcClose(0);
  Print("* Programm aborted...\n* Error at EoXput-File...\n");
  FlushOutput();
  std::_Exit(1);  // nothing else runs on top of the library's unfinished operation
}
