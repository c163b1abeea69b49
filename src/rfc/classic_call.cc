// The one remote call of the sensor, RFC_SYSTEM_INFO, through the classic library.
#include "src/rfc/classic_call.h"

#include <array>
#include <string_view>

#include "src/rfc/record_text.h"
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

struct CodeOutcome {
  std::int32_t code;
  Outcome outcome;
};
constexpr std::array<CodeOutcome, 4> kCodeOutcomes{{
    {RFC_OK, Outcome::Answered},
    {RFC_FAILURE, Outcome::CallFailed},
    {RFC_EXCEPTION, Outcome::Exception},
    {RFC_SYS_EXCEPTION, Outcome::SystemException},
}};

RfcParameter Parameter(const char* name, std::int32_t type, std::int32_t length, void* address) {
  return {name, static_cast<std::int32_t>(std::string_view(name).size()), type, length, address};
}

template <std::size_t N>
std::string Field(const char (&field)[N]) {
  return FieldText(field, N);
}

}  // namespace

SystemFields FieldsOf(const RFCSI& info) {
  return {Field(info.rfchost),  Field(info.rfcsysid), Field(info.rfcsaprl),
          Field(info.rfcdbsys), Field(info.rfcopsys), Field(info.rfcipaddr)};
}

bool InstallRfcsi(const RfcOperations& rfc, LibraryWatch& watch, RfcType& rfcsiType) {
  if (rfcsiType != 0) return true;
  const OperationInProgress operation(watch, "RfcInstallStructure");
  return rfc.installStructure("RFCSI", kRfcsiDescription.data(),
                              static_cast<std::uint32_t>(kRfcsiDescription.size()),
                              &rfcsiType) == RFC_OK;
}

CallResult CallSystemInfo(const RfcOperations& rfc, LibraryWatch& watch, RfcHandle handle,
                          RfcType rfcsiType) {
  CallResult result;
  RfcParameter exporting[] = {{nullptr, 0, 0, 0, nullptr}};
  RfcParameter tables[] = {{nullptr, 0, 0, 0, nullptr}};
  {
    const OperationInProgress operation(watch, "RfcCall");
    result.code = rfc.call(handle, "RFC_SYSTEM_INFO", exporting, tables);
  }
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
  {
    const OperationInProgress operation(watch, "RfcReceive");
    result.code = rfc.receive(handle, importing, tables, &exception);
  }
  if ((result.code == RFC_EXCEPTION || result.code == RFC_SYS_EXCEPTION) && exception != nullptr) {
    result.exception = exception;
  }
  if (result.code == RFC_OK) result.fields = FieldsOf(values.systemInfo);
  return result;
}

Outcome OutcomeOfCode(std::int32_t code) {
  for (const CodeOutcome& row : kCodeOutcomes) {
    if (row.code == code) return row.outcome;
  }
  return Outcome::OtherFailure;
}
