// The one remote call of the sensor, RFC_SYSTEM_INFO, and what the system tells in it.
#include "src/rfc/system_info.h"

#include <array>

#include "src/output/messages.h"
#include "src/rfc/library_error.h"
#include "src/rfc/rfcsi_layout.h"

namespace {

constexpr auto kRfcsiDescription = RfcsiDescription();

// What RFC_SYSTEM_INFO sends back; only the RFCSI record is used.
struct SystemInfoValues {
  std::int32_t currentResources = 0;
  char dialogUserType = ' ';
  std::int32_t maximalResources = 0;
  std::int32_t recommendedDelay = 0;
  RFCSI systemInfo{};
  char loginComplete = ' ';
};

// The error text of each return code; any code not listed is "another failure".
struct FailureText {
  std::int32_t code;
  MessageId message;
};
constexpr std::array<FailureText, 3> kFailureTexts{{
    {RFC_FAILURE, MessageId::CallRfcFailure},
    {RFC_EXCEPTION, MessageId::CallException},
    {RFC_SYS_EXCEPTION, MessageId::CallSysException},
}};

RfcParameter Parameter(const char* name, std::int32_t type, std::int32_t length, void* address) {
  return {name, static_cast<std::int32_t>(std::string_view(name).size()), type, length, address};
}

template <std::size_t N>
std::string Field(const char (&field)[N]) {
  return FieldText(field, N);
}

}  // namespace

std::string_view BoundedText(const char* field, std::size_t size) {
  std::string_view text(field, size);
  return text.substr(0, text.find('\0'));
}

std::string FieldText(const char* field, std::size_t length) {
  std::string text(BoundedText(field, length));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

SystemFields FieldsOf(const RFCSI& info) {
  return {Field(info.rfchost),  Field(info.rfcsysid), Field(info.rfcsaprl),
          Field(info.rfcdbsys), Field(info.rfcopsys), Field(info.rfcipaddr)};
}

CallResult CallSystemInfo(const RfcOperations& rfc, RfcHandle handle, RfcType& rfcsiType,
                          const EventTrace& trace) {
  if (rfcsiType == 0 &&
      rfc.installStructure("RFCSI", kRfcsiDescription.data(),
                           static_cast<std::uint32_t>(kRfcsiDescription.size()), &rfcsiType) != 0) {
    ReportRfcErrorAndExit("RfcInstallStructure");
  }

  CallResult result;
  RfcParameter exporting[] = {{nullptr, 0, 0, 0, nullptr}};
  RfcParameter tables[] = {{nullptr, 0, 0, 0, nullptr}};
  result.code = rfc.call(handle, "RFC_SYSTEM_INFO", exporting, tables);
  trace.Event(static_cast<std::int32_t>(handle), "RfcCall called", "");
  if (result.code != RFC_OK) return result;

  SystemInfoValues values;
  RfcParameter importing[] = {
      Parameter("CURRENT_RESOURCES", RFC_TYPE_INT, 4, &values.currentResources),
      Parameter("DIALOG_USER_TYPE", RFC_TYPE_CHAR, 1, &values.dialogUserType),
      Parameter("MAXIMAL_RESOURCES", RFC_TYPE_INT, 4, &values.maximalResources),
      Parameter("RECOMMENDED_DELAY", RFC_TYPE_INT, 4, &values.recommendedDelay),
      Parameter("RFCSI_EXPORT", static_cast<std::int32_t>(rfcsiType), sizeof(RFCSI),
                &values.systemInfo),
      Parameter("RFC_LOGIN_COMPLETE", RFC_TYPE_CHAR, 1, &values.loginComplete),
      {nullptr, 0, 0, 0, nullptr},
  };
  char* exception = nullptr;
  result.code = rfc.receive(handle, importing, tables, &exception);
  trace.Event(static_cast<std::int32_t>(handle), "RfcReceive called", "");
  if ((result.code == RFC_EXCEPTION || result.code == RFC_SYS_EXCEPTION) && exception != nullptr) {
    result.exception = exception;
  }
  if (result.code == RFC_OK) result.fields = FieldsOf(values.systemInfo);
  return result;
}

std::string DescribeCallFailure(std::int32_t code, std::string_view exception) {
  for (const FailureText& failure : kFailureTexts) {
    if (failure.code == code) {
      return MessageFor(failure.message, code == RFC_EXCEPTION ? exception : "");
    }
  }
  return MessageFor(MessageId::CallOtherFailure);
}
