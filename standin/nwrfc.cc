// The NetWeaver RFC library stand-in: the nine operations of sapnwrfc.h, over TCP to sapsim (or
// anything that speaks its frames), on the classic stand-in's connection code. Texts in and
// out are UTF-16, converted by the companion library; every outcome is told in the caller's
// error record. Like the vendor's library with its trace off, it prints nothing and writes no
// trace file.
#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

#include "src/rfc/record_layout.h"
#include "src/rfc/sapnwrfc.h"
#include "standin/address.h"
#include "standin/connection.h"
#include "standin/failure.h"
#include "standin/nwrfc_codes.h"
#include "standin/rfcsi.h"
#include "standin/sapucum.h"

namespace standin {
namespace {

// The classic header names success RFC_OK as well; here it is always the NetWeaver one.
using nwrfc::DATA_CONTAINER_HANDLE;
using nwrfc::RFC_CONNECTION_HANDLE;
using nwrfc::RFC_CONNECTION_PARAMETER;
using nwrfc::RFC_ERROR_GROUP;
using nwrfc::RFC_ERROR_INFO;
using nwrfc::RFC_FUNCTION_DESC_HANDLE;
using nwrfc::RFC_FUNCTION_HANDLE;
using nwrfc::RFC_OK;
using nwrfc::RFC_RC;
using nwrfc::RFC_STRUCTURE_HANDLE;
using nwrfc::SAP_UC;

constexpr auto kCommunication = nwrfc::RFC_GROUP_COMMUNICATION_FAILURE;
constexpr auto kCaller = nwrfc::RFC_GROUP_EXTERNAL_RUNTIME_FAILURE;
constexpr auto kSystem = nwrfc::RFC_GROUP_ABAP_RUNTIME_FAILURE;

constexpr RFC_RC Code(int code) { return static_cast<RFC_RC>(code); }

// The longest name read from the caller (of a parameter, function, structure or field), far
// beyond any real one; a parameter's value may be as long as a text on the wire.
constexpr std::size_t kMaxName = 64;
// The structure RFC_SYSTEM_INFO exports.
constexpr std::string_view kExportStructure = "RFCSI_EXPORT";

// A failure as the caller's error record tells it.
class LibraryError : public std::runtime_error {
 public:
  LibraryError(RFC_RC code, RFC_ERROR_GROUP group, std::string key, const std::string& message)
      : std::runtime_error(message), code_(code), group_(group), key_(std::move(key)) {}
  RFC_RC code() const { return code_; }
  RFC_ERROR_GROUP group() const { return group_; }
  const std::string& key() const { return key_; }

 private:
  RFC_RC code_;
  RFC_ERROR_GROUP group_;
  std::string key_;
};

LibraryError InvalidParameter(const std::string& message) {
  return {Code(nwrfc_codes::kInvalidParameter), kCaller, "BAD_PARAMETER", message};
}
LibraryError InvalidHandle(const std::string& message) {
  return {Code(nwrfc_codes::kInvalidHandle), kCaller, "INVALID_HANDLE", message};
}

// The failures of the shared connection and address code, by their keys.
struct FailureKind {
  std::string_view key;
  RFC_RC code;
  RFC_ERROR_GROUP group;
};
constexpr FailureKind kFailureKinds[] = {
    {"LOGON_REFUSED", nwrfc::RFC_LOGON_FAILURE, nwrfc::RFC_GROUP_LOGON_FAILURE},
    {"CONNECT_FAILED", nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication},
    {"CONNECT_TIMEOUT", nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication},
    {"NAME_NOT_RESOLVED", nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication},
    {"CONNECTION_BROKEN", nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication},
    {"MALFORMED_REPLY", nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication},
    {"TIMEOUT", nwrfc::RFC_TIMEOUT, kCommunication},
    {"BAD_ADDRESS", Code(nwrfc_codes::kInvalidParameter), kCaller},
    {"BAD_PARAMETER", Code(nwrfc_codes::kInvalidParameter), kCaller},
};

LibraryError FromFailure(const Failure& failure) {
  std::string message = failure.what();
  if (!failure.detail().empty()) message += " (" + failure.detail() + ")";
  for (const FailureKind& kind : kFailureKinds) {
    if (kind.key == failure.key()) return {kind.code, kind.group, failure.key(), message};
  }
  return {Code(nwrfc_codes::kInternal), kCaller, failure.key(), message};
}

struct NetWeaverConnection {
  // Each connection waits on its own: the library may be used from several threads.
  asio::io_context io{1};
  Connection connection{io};
};

struct FunctionDescription {
  std::string name;
};

// A function's data: blanks until an invocation brings the system's values.
struct Function {
  explicit Function(std::string functionName) : name(std::move(functionName)) {}
  std::string name;
  wire::CallResult result;
  // Its address, one of its own inside the function, is the handle of the exported structure.
  unsigned char exported = 0;
};

// Every handle given out, so that one that was not, or is no more, is told apart without being
// followed. Never destroyed, as in the classic stand-in: a process may end inside an operation.
struct Handles {
  std::mutex mutex;
  std::map<const void*, std::unique_ptr<NetWeaverConnection>> connections;
  // Descriptions belong to the library, one per function name, for the whole process.
  std::map<const void*, std::unique_ptr<FunctionDescription>> descriptions;
  std::map<const void*, std::unique_ptr<Function>> functions;
};

Handles& State() {
  static Handles& handles = *new Handles;
  return handles;
}

template <class Handle, class Map>
auto& Find(Map& map, Handle handle, const char* what) {
  if (handle == nullptr) throw InvalidHandle(std::string("no ") + what + " handle");
  const std::lock_guard lock(State().mutex);
  auto found = map.find(reinterpret_cast<const void*>(handle));
  if (found == map.end()) throw InvalidHandle(std::string("no open ") + what + " with this handle");
  return *found->second;
}

NetWeaverConnection& FindConnection(RFC_CONNECTION_HANDLE handle) {
  return Find(State().connections, handle, "connection");
}

// A data container: a function, or the structure it exports.
struct Container {
  Function& function;
  bool isStructure;
};

Container FindContainer(DATA_CONTAINER_HANDLE handle) {
  if (handle == nullptr) throw InvalidHandle("no function or structure handle");
  const std::lock_guard lock(State().mutex);
  for (const auto& [address, function] : State().functions) {
    if (address == reinterpret_cast<const void*>(handle)) return {*function, false};
    if (&function->exported == reinterpret_cast<const void*>(handle)) return {*function, true};
  }
  throw InvalidHandle("no function or structure with this handle");
}

Function& FindFunction(RFC_FUNCTION_HANDLE handle) {
  Container container = FindContainer(handle);
  if (container.isStructure) throw InvalidHandle("the handle is a structure's, not a function's");
  return container.function;
}

// A text from the caller, read up to its zero unit but never past `limit` units.
std::string CallerText(const SAP_UC* text, std::size_t limit, const std::string& what) {
  if (text == nullptr) throw InvalidParameter("no " + what);
  std::size_t length = 0;
  while (length < limit && text[length] != u'\0') ++length;
  if (length == limit) {
    throw InvalidParameter(what + " has no end within " + std::to_string(limit) + " characters");
  }
  return Utf8FromUtf16(std::u16string_view(text, length));
}

// What the partner's ending of a connection means to the caller: closed in order between two
// frames, or broken off.
template <class Step>
auto Talk(Connection& connection, Step step) {
  try {
    return step();
  } catch (const Failure& failure) {
    if (failure.closedByPartner()) {
      throw LibraryError(nwrfc::RFC_CLOSED, kCommunication, "CONNECTION_CLOSED",
                         "connection to " + connection.peer() + " closed by the partner");
    }
    throw;
  }
}

Connection& Connected(NetWeaverConnection& handle) {
  if (!handle.connection.connected()) {
    throw LibraryError(nwrfc::RFC_COMMUNICATION_FAILURE, kCommunication, "CONNECTION_BROKEN",
                       "connection to " + handle.connection.peer() + " already lost");
  }
  return handle.connection;
}

// Copies a text into a field of the error record, cut to leave room for its zero unit, never
// between the two units of one character. Allocates nothing: it also reports running out of
// memory.
template <std::size_t kCapacity>
void PutText(SAP_UC (&field)[kCapacity], std::string_view text) {
  const std::size_t needed = SapUcFromBytes(text.data(), text.size(), field, kCapacity - 1);
  std::size_t length = std::min(needed, kCapacity - 1);
  if (length < needed && length > 0 && field[length - 1] >= 0xD800 && field[length - 1] <= 0xDBFF) {
    --length;
  }
  field[length] = u'\0';
}

void Report(RFC_ERROR_INFO* info, RFC_RC code, RFC_ERROR_GROUP group, std::string_view key,
            std::string_view message) {
  if (info == nullptr) return;
  *info = RFC_ERROR_INFO{};
  info->code = code;
  info->group = group;
  PutText(info->key, key);
  PutText(info->message, message);
}

// Runs an operation's body and tells its outcome in the error record. A failed operation
// returns its code, or a null handle. No exception leaves the library.
template <class Result, class Body>
Result Guard(RFC_ERROR_INFO* info, Body body) noexcept {
  RFC_RC code = Code(nwrfc_codes::kInternal);
  try {
    Result result = body();
    Report(info, RFC_OK, nwrfc::RFC_GROUP_OK, "", "");
    return result;
  } catch (const LibraryError& error) {
    code = error.code();
    Report(info, code, error.group(), error.key(), error.what());
  } catch (const Failure& failure) {
    try {
      const LibraryError error = FromFailure(failure);
      code = error.code();
      Report(info, code, error.group(), error.key(), error.what());
    } catch (...) {
      Report(info, code, kCaller, failure.key(), failure.what());
    }
  } catch (const std::bad_alloc&) {
    Report(info, code, kCaller, "INTERNAL", "out of memory");
  } catch (const std::exception& error) {
    Report(info, code, kCaller, "INTERNAL", error.what());
  } catch (...) {
    Report(info, code, kCaller, "INTERNAL", "internal error");
  }
  if constexpr (std::is_same_v<Result, RFC_RC>) {
    return code;
  } else {
    return nullptr;
  }
}

// The character fields of a container: the 18 of the RFCSI record in the exported structure,
// the two single characters of RFC_SYSTEM_INFO in the function.
std::optional<std::string_view> CharField(const Container& container, std::string_view name) {
  const wire::CallResult& result = container.function.result;
  if (container.isStructure) {
    const std::optional<RfcsiField> field = FindRfcsiField(name);
    if (!field) return std::nullopt;
    return std::string_view(result.systemInfo.data() + field->offset, field->length);
  }
  if (name == "DIALOG_USER_TYPE") return std::string_view(&result.dialogUserType, 1);
  if (name == "RFC_LOGIN_COMPLETE") return std::string_view(&result.loginComplete, 1);
  return std::nullopt;
}

// What RFC_SYSTEM_INFO's answer means to the caller. The answer codes on the wire are the
// classic library's receive codes.
RFC_RC Answered(Function& function, const wire::CallResult& result) {
  const std::string detail = result.message.empty() ? "" : ": " + result.message;
  switch (result.code) {
    case ::RFC_OK:
      function.result = result;
      return RFC_OK;
    case ::RFC_EXCEPTION:
      throw LibraryError(nwrfc::RFC_ABAP_EXCEPTION, nwrfc::RFC_GROUP_ABAP_APPLICATION_FAILURE,
                         result.exception,
                         function.name + " raised the exception " + result.exception + detail);
    case ::RFC_SYS_EXCEPTION:
      throw LibraryError(
          nwrfc::RFC_ABAP_RUNTIME_FAILURE, kSystem, result.exception,
          function.name + " raised the system exception " + result.exception + detail);
    default:
      throw LibraryError(
          Code(nwrfc_codes::kAnswerCode), kSystem, "FAILURE_CODE",
          function.name + " ended with code " + std::to_string(result.code) + detail);
  }
}

constexpr char16_t kVersion[] = u"1.0.0 sapsysinfo stand-in (speaks to sapsim only)";

}  // namespace
}  // namespace standin

using namespace standin;

namespace nwrfc {
extern "C" {

NWRFC_API RFC_CONNECTION_HANDLE NWRFC_CALL
RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams, unsigned paramCount,
                  RFC_ERROR_INFO* errorInfo) {
  return Guard<RFC_CONNECTION_HANDLE>(errorInfo, [&] {
    if (connectionParams == nullptr && paramCount > 0) throw InvalidParameter("no parameters");
    if (paramCount > wire::kMaxParameters) {
      throw InvalidParameter(std::to_string(paramCount) + " parameters, more than " +
                             std::to_string(wire::kMaxParameters));
    }
    std::vector<wire::Parameter> parameters;
    for (unsigned i = 0; i < paramCount; ++i) {
      const std::string name = CallerText(connectionParams[i].name, kMaxName,
                                          "name of parameter " + std::to_string(i + 1));
      parameters.push_back(
          {name, CallerText(connectionParams[i].value, wire::kMaxText, "value of " + name)});
    }
    const wire::OpenRequest request = RequestFromParameters(std::move(parameters));
    const Endpoint endpoint = NetWeaverEndpointOf(request);
    auto handle = std::make_unique<NetWeaverConnection>();
    handle->connection.Open(endpoint, request, CurrentTimeouts());
    const std::lock_guard lock(State().mutex);
    const void* address = handle.get();
    State().connections.emplace(address, std::move(handle));
    return reinterpret_cast<RFC_CONNECTION_HANDLE>(const_cast<void*>(address));
  });
}

NWRFC_API RFC_FUNCTION_DESC_HANDLE NWRFC_CALL RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                                 const SAP_UC* funcName,
                                                                 RFC_ERROR_INFO* errorInfo) {
  return Guard<RFC_FUNCTION_DESC_HANDLE>(errorInfo, [&] {
    Connection& connection = Connected(FindConnection(rfcHandle));
    const std::string name = CallerText(funcName, kMaxName, "function name");
    const wire::LookupReply reply = Talk(connection, [&] {
      const auto timeout = CurrentTimeouts().reply;
      connection.Send(wire::LookupRequest{name}, timeout);
      return connection.Receive<wire::LookupReply>(timeout);
    });
    if (!reply.accepted) {
      throw LibraryError(Code(nwrfc_codes::kRefused), kSystem, "LOOKUP_REFUSED",
                         reply.message.empty() ? "lookup of " + name + " refused" : reply.message);
    }
    Handles& state = State();
    const std::lock_guard lock(state.mutex);
    for (const auto& [address, description] : state.descriptions) {
      if (description->name == name) {
        return reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(const_cast<void*>(address));
      }
    }
    auto description = std::make_unique<FunctionDescription>(FunctionDescription{name});
    const void* address = description.get();
    state.descriptions.emplace(address, std::move(description));
    return reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(const_cast<void*>(address));
  });
}

NWRFC_API RFC_FUNCTION_HANDLE NWRFC_CALL RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                           RFC_ERROR_INFO* errorInfo) {
  return Guard<RFC_FUNCTION_HANDLE>(errorInfo, [&] {
    const FunctionDescription& description =
        Find(State().descriptions, funcDescHandle, "function description");
    auto function = std::make_unique<Function>(description.name);
    const std::lock_guard lock(State().mutex);
    const void* address = function.get();
    State().functions.emplace(address, std::move(function));
    return reinterpret_cast<RFC_FUNCTION_HANDLE>(const_cast<void*>(address));
  });
}

NWRFC_API RFC_RC NWRFC_CALL RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle,
                                      RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo) {
  return Guard<RFC_RC>(errorInfo, [&] {
    Connection& connection = Connected(FindConnection(rfcHandle));
    Function& function = FindFunction(funcHandle);
    return Talk(connection, [&] {
      const auto timeout = CurrentTimeouts().reply;
      connection.Send(wire::CallRequest{function.name}, timeout);
      const wire::CallReply reply = connection.Receive<wire::CallReply>(timeout);
      if (!reply.accepted) {
        throw LibraryError(
            Code(nwrfc_codes::kRefused), kSystem, "CALL_REFUSED",
            reply.message.empty() ? "call of " + function.name + " refused" : reply.message);
      }
      return Answered(function, connection.Receive<wire::CallResult>(timeout));
    });
  });
}

NWRFC_API RFC_RC NWRFC_CALL RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                            RFC_STRUCTURE_HANDLE* structHandle,
                                            RFC_ERROR_INFO* errorInfo) {
  return Guard<RFC_RC>(errorInfo, [&] {
    if (structHandle != nullptr) *structHandle = nullptr;
    const Container container = FindContainer(dataHandle);
    const std::string structure = CallerText(name, kMaxName, "structure name");
    if (structHandle == nullptr) throw InvalidParameter("no place for the structure handle");
    if (container.isStructure || structure != kExportStructure) {
      throw LibraryError(
          Code(nwrfc_codes::kNotFound), kCaller, "NOT_FOUND",
          (container.isStructure ? std::string(kExportStructure) : container.function.name) +
              " has no structure " + structure);
    }
    *structHandle = reinterpret_cast<RFC_STRUCTURE_HANDLE>(&container.function.exported);
    return RFC_OK;
  });
}

NWRFC_API RFC_RC NWRFC_CALL RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                        SAP_UC* charBuffer, unsigned bufferLength,
                                        RFC_ERROR_INFO* errorInfo) {
  return Guard<RFC_RC>(errorInfo, [&] {
    const Container container = FindContainer(dataHandle);
    const std::string fieldName = CallerText(name, kMaxName, "field name");
    if (charBuffer == nullptr) throw InvalidParameter("no buffer for " + fieldName);
    const std::optional<std::string_view> field = CharField(container, fieldName);
    const std::string owner =
        container.isStructure ? std::string(kExportStructure) : container.function.name;
    if (!field) {
      throw LibraryError(Code(nwrfc_codes::kNotFound), kCaller, "NOT_FOUND",
                         owner + " has no character field " + fieldName);
    }
    if (bufferLength < field->size()) {
      throw LibraryError(Code(nwrfc_codes::kBufferTooSmall), kCaller, "BUFFER_TOO_SMALL",
                         "a buffer of " + std::to_string(bufferLength) + " characters for " +
                             fieldName + ", which has " + std::to_string(field->size()));
    }
    // A field's bytes never make more units than there are bytes.
    const std::size_t units = std::min<std::size_t>(
        SapUcFromBytes(field->data(), field->size(), charBuffer, bufferLength), bufferLength);
    std::fill(charBuffer + units, charBuffer + bufferLength, u' ');
    return RFC_OK;
  });
}

NWRFC_API RFC_RC NWRFC_CALL RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle,
                                               RFC_ERROR_INFO* errorInfo) {
  return Guard<RFC_RC>(errorInfo, [&] {
    const Function& function = FindFunction(funcHandle);
    const std::lock_guard lock(State().mutex);
    State().functions.erase(&function);
    return RFC_OK;
  });
}

NWRFC_API RFC_RC NWRFC_CALL RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle,
                                               RFC_ERROR_INFO* errorInfo) {
  return Guard<RFC_RC>(errorInfo, [&] {
    std::unique_ptr<NetWeaverConnection> closing;
    {
      NetWeaverConnection& handle = FindConnection(rfcHandle);
      const std::lock_guard lock(State().mutex);
      auto found = State().connections.find(&handle);
      if (found == State().connections.end()) throw InvalidHandle("connection closed already");
      closing = std::move(found->second);
      State().connections.erase(found);
    }
    closing->connection.Close(CurrentTimeouts().reply);
    return RFC_OK;
  });
}

NWRFC_API const SAP_UC* NWRFC_CALL RfcGetVersion(unsigned* majorVersion, unsigned* minorVersion,
                                                 unsigned* patchLevel) {
  if (majorVersion != nullptr) *majorVersion = 1;
  if (minorVersion != nullptr) *minorVersion = 0;
  if (patchLevel != nullptr) *patchLevel = 0;
  return kVersion;
}

}  // extern "C"
}  // namespace nwrfc
