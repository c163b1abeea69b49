// Conversations through the NetWeaver RFC library (sapnwrfc).
#include "src/rfc/nwrfc_client.h"

#include <array>

#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/platform/file.h"
#include "src/rfc/nwrfc_parameters.h"
#include "src/rfc/rfcsi_layout.h"
#include "src/rfc/trace.h"
#include "src/rfc/utf16_text.h"

namespace {

using nwrfc::RFC_ERROR_INFO;
using nwrfc::RFC_RC;

// The fields of RFCSI_EXPORT the documents show, read one by one.
struct ShownField {
  std::string_view name;
  std::string SystemFields::*value;
};
constexpr std::array<ShownField, 6> kShownFields{{
    {"RFCHOST", &SystemFields::host},
    {"RFCSYSID", &SystemFields::systemId},
    {"RFCSAPRL", &SystemFields::release},
    {"RFCDBSYS", &SystemFields::database},
    {"RFCOPSYS", &SystemFields::operatingSystem},
    {"RFCIPADDR", &SystemFields::address},
}};

std::size_t LengthOf(std::string_view field) {
  for (const RfcsiField& known : kRfcsiFields) {
    if (known.name == field) return known.length;
  }
  return 0;
}

// How the call's return code shows in the document: the classic library's outcome of the same
// kind. A connection that broke, was closed or stayed silent is the library's failure.
struct CodeOutcome {
  RFC_RC code;
  Outcome outcome;
  std::string_view name;
};
constexpr std::array<CodeOutcome, 6> kCodeOutcomes{{
    {nwrfc::RFC_ABAP_EXCEPTION, Outcome::Exception, "RFC_ABAP_EXCEPTION"},
    {nwrfc::RFC_ABAP_RUNTIME_FAILURE, Outcome::SystemException, "RFC_ABAP_RUNTIME_FAILURE"},
    {nwrfc::RFC_ABAP_MESSAGE, Outcome::SystemException, "RFC_ABAP_MESSAGE"},
    {nwrfc::RFC_COMMUNICATION_FAILURE, Outcome::LibraryFailed, "RFC_COMMUNICATION_FAILURE"},
    {nwrfc::RFC_TIMEOUT, Outcome::LibraryFailed, "RFC_TIMEOUT"},
    {nwrfc::RFC_CLOSED, Outcome::LibraryFailed, "RFC_CLOSED"},
}};

const CodeOutcome* RowOf(RFC_RC code) {
  for (const CodeOutcome& row : kCodeOutcomes) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

std::string CodeName(RFC_RC code) {
  if (const CodeOutcome* row = RowOf(code)) return std::string(row->name);
  return "code " + std::to_string(static_cast<int>(code));
}

}  // namespace

struct NwRfcClient::Failure {
  RFC_RC code = nwrfc::RFC_OK;
  std::string key;
  std::string message;

  explicit Failure(const RFC_ERROR_INFO& info)
      : code(info.code),
        key(TextFromUtf16(BoundedUtf16(info.key, std::size(info.key)))),
        message(TextFromUtf16(BoundedUtf16(info.message, std::size(info.message)))) {}
  Failure(std::string failureKey, std::string text)
      : key(std::move(failureKey)), message(std::move(text)) {}
};

NwRfcClient::NwRfcClient(const NwRfcOperations& rfc, const std::string& libraryFile,
                         WorkingFolder folder, LibraryWatch& watch)
    : rfc_(rfc), folder_(std::move(folder)), watch_(watch) {
  unsigned major = 0, minor = 0, patch = 0;
  const char16_t* version = nullptr;
  {
    const OperationInProgress operation(watch_, "RfcGetVersion");
    version = rfc_.getVersion(&major, &minor, &patch);
  }
  library_ = libraryFile + " " + std::to_string(major) + "." + std::to_string(minor) + "." +
             std::to_string(patch);
  if (version != nullptr) {
    library_ += " (" + TextFromUtf16(BoundedUtf16(version, 256)) + ")";
  }
}

std::string NwRfcClient::Report(std::string_view operation, const Logon& logon,
                                const Failure& failure) {
  const std::string section =
      "**** ERROR " + platform::LocalTimeText() + " " + std::string(operation) + "\n" +
      TraceLine("      library ", library_) +
      TraceLine("      system ", logon.system + " (" + logon.destination + ")") +
      TraceLine("ERROR       ", failure.key.empty() ? CodeName(failure.code) : failure.key) +
      TraceLine("       ======> ", failure.message.empty() ? failure.key : failure.message);
  folder_.AddToOwnTrace(section);
  if (!failure.message.empty()) return " - " + failure.message;
  return failure.key.empty() ? " - Look for Trace-File" : " - " + failure.key;
}

Conversation NwRfcClient::Converse(const Logon& logon, CallChoice call) {
  const std::optional<WorkingFolder::Inside> inside = folder_.Enter();
  if (!inside) EndRun(MessageId::WorkingFolderMissing, folder_.path());
  Conversation conversation;
  const std::int32_t responseStart = platform::ClockMilliseconds();

  // Where the sensor's directory holds the destination's own file, its block gives the address.
  std::optional<NwRfcParameters> parameters = ParametersOfLogon(logon);
  const std::string sapRfcFile = "SapRfc." + logon.destination;
  if (auto file = platform::File::OpenForReading(folder_.SensorFile(sapRfcFile),
                                                 platform::FileMode::Binary)) {
    conversation.throughSapRfcIni = true;
    parameters = ParametersOfDestination(file->ReadBytes(kLongestSapRfcFile + 1), logon);
    if (!parameters) {
      conversation.reason =
          Report(sapRfcFile, logon,
                 Failure("DESTINATION_NOT_FOUND", "destination " + logon.destination + " not in " +
                                                      sapRfcFile + " or not readable"));
      return conversation;
    }
  }
  std::vector<std::u16string> texts;
  texts.reserve(2 * parameters->size());
  std::vector<nwrfc::RFC_CONNECTION_PARAMETER> records;
  for (const auto& [name, value] : *parameters) {
    texts.push_back(Utf16FromText(name));
    texts.push_back(Utf16FromText(value));
  }
  for (std::size_t i = 0; i < texts.size(); i += 2) {
    records.push_back({texts[i].c_str(), texts[i + 1].c_str()});
  }

  RFC_ERROR_INFO error{};
  nwrfc::RFC_CONNECTION_HANDLE connection = nullptr;
  {
    const OperationInProgress operation(watch_, "RfcOpenConnection");
    connection = rfc_.openConnection(records.data(), static_cast<unsigned>(records.size()), &error);
  }
  if (connection == nullptr) {
    conversation.reason = Report("RfcOpenConnection", logon, Failure(error));
    return conversation;
  }
  conversation.outcome = Outcome::NotCalled;
  conversation.times.open = platform::ClockMilliseconds() - responseStart;

  if (call == CallChoice::CallSystemInfo) {
    const std::int32_t processingStart = platform::ClockMilliseconds();
    Call(logon, connection, conversation);
    conversation.times.processing = platform::ClockMilliseconds() - processingStart;
  }

  const std::int32_t closeStart = platform::ClockMilliseconds();
  {
    const OperationInProgress operation(watch_, "RfcCloseConnection");
    rfc_.closeConnection(connection, &error);
  }
  const std::int32_t closeEnd = platform::ClockMilliseconds();
  conversation.times.close = closeEnd - closeStart;
  conversation.times.response = closeEnd - responseStart;
  return conversation;
}

void NwRfcClient::Call(const Logon& logon, nwrfc::RFC_CONNECTION_HANDLE connection,
                       Conversation& conversation) {
  RFC_ERROR_INFO error{};
  // The library looks the function's interface up in the system: a description or function
  // that cannot be had is a call that failed.
  nwrfc::RFC_FUNCTION_DESC_HANDLE description = nullptr;
  {
    const OperationInProgress operation(watch_, "RfcGetFunctionDesc");
    description = rfc_.getFunctionDesc(connection, u"RFC_SYSTEM_INFO", &error);
  }
  nwrfc::RFC_FUNCTION_HANDLE function = nullptr;
  if (description != nullptr) {
    const OperationInProgress operation(watch_, "RfcCreateFunction");
    function = rfc_.createFunction(description, &error);
  }
  if (function == nullptr) {
    conversation.outcome = Outcome::CallFailed;
    conversation.reason = Report(
        description == nullptr ? "RfcGetFunctionDesc" : "RfcCreateFunction", logon, Failure(error));
    return;
  }

  RFC_RC code = nwrfc::RFC_OK;
  {
    const OperationInProgress operation(watch_, "RfcInvoke");
    code = rfc_.invoke(connection, function, &error);
  }
  std::string_view failedOperation = "RfcInvoke";
  if (code == nwrfc::RFC_OK) {
    nwrfc::RFC_STRUCTURE_HANDLE record = nullptr;
    {
      const OperationInProgress operation(watch_, "RfcGetStructure");
      code = rfc_.getStructure(function, u"RFCSI_EXPORT", &record, &error);
    }
    failedOperation = "RfcGetStructure";
    for (const ShownField& field : kShownFields) {
      if (code != nwrfc::RFC_OK) break;
      const std::u16string name = Utf16FromText(field.name);
      std::u16string value(LengthOf(field.name), u' ');
      const OperationInProgress operation(watch_, "RfcGetChars");
      code = rfc_.getChars(record, name.c_str(), value.data(), static_cast<unsigned>(value.size()),
                           &error);
      failedOperation = "RfcGetChars";
      // As the classic record's fields: to the first zero, less the blanks at the end.
      std::string text = TextFromUtf16(BoundedUtf16(value.data(), value.size()));
      text.erase(text.find_last_not_of(' ') + 1);
      conversation.fields.*field.value = std::move(text);
    }
  }
  const Failure failure(error);
  {
    RFC_ERROR_INFO ignored{};
    const OperationInProgress operation(watch_, "RfcDestroyFunction");
    rfc_.destroyFunction(function, &ignored);
  }
  if (code == nwrfc::RFC_OK) {
    conversation.outcome = Outcome::Answered;
    return;
  }
  const CodeOutcome* row = failedOperation == "RfcInvoke" ? RowOf(code) : nullptr;
  conversation.outcome = row != nullptr ? row->outcome : Outcome::OtherFailure;
  conversation.fields = {};
  if (conversation.outcome == Outcome::Exception) conversation.exception = failure.key;
  conversation.reason = Report(failedOperation, logon, failure);
  if (conversation.outcome == Outcome::LibraryFailed) {
    conversation.libraryFailure = {std::string(failedOperation), failure.key, CodeName(code),
                                   failure.message, ""};
  }
}

void NwRfcClient::Finish() { folder_.Finish(); }
