// The RFC client library stand-in: the eight operations of the interface header, over TCP to
// sapsim (or anything that speaks its frames).
#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "src/rfc/saprfc.h"
#include "standin/address.h"
#include "standin/connection.h"
#include "standin/failure.h"
#include "standin/rfcsi.h"
#include "standin/trace.h"

namespace standin {
namespace {

// The type handle that RfcInstallStructure gives the RFCSI structure: neither of the
// elementary type codes.
constexpr RfcType kRfcsiTypeHandle = 0x100;
// A parameter list longer than this has lost its end entry.
constexpr std::size_t kMaxListEntries = 64;

// A name from the caller, read up to its end mark but never further than a name can be long.
std::string NameText(const char* name) {
  std::size_t length = 0;
  while (length < 64 && name[length] != '\0') ++length;
  return std::string(name, length);
}

struct LastError {
  std::string key;
  std::string status;
  std::string message;
  std::string detail;
};

// The library's state for the whole process. It is never destroyed: the sensor's error
// handler may end the process from inside an operation, and nothing must run down then.
struct Library {
  asio::io_context io{1};
  RfcEnvironmentRecord environment{};
  std::map<RfcHandle, std::unique_ptr<Connection>> connections;
  RfcHandle lastHandle = 0;
  bool rfcsiInstalled = false;
  LastError lastError;
};

Library& State() {
  static Library& library = *new Library;
  return library;
}

void Remember(const char* operation, const Failure& failure) {
  State().lastError = {failure.key(), operation, failure.what(), failure.detail()};
}

void RememberAndTrace(const char* operation, const Failure& failure) {
  Remember(operation, failure);
  AppendTraceSection(operation, failure);
}

// Runs an operation's body. A failure is remembered for RfcLastError and traced; when the
// connection was lost during a call or a receive, the installed error handler is called too.
// The handler may close every connection or end the process, so nothing of the body is used
// after it. Whatever happens, no exception leaves the library.
template <class Result, class Body>
Result Guard(const char* operation, Result failed, bool handlerOnLoss, Body body) {
  bool callHandler = false;
  try {
    return body();
  } catch (const Failure& failure) {
    RememberAndTrace(operation, failure);
    callHandler = handlerOnLoss && failure.connectionLost();
  } catch (const std::exception& error) {
    RememberAndTrace(operation, Failure("INTERNAL", "internal error", error.what()));
  } catch (...) {
    RememberAndTrace(operation, Failure("INTERNAL", "internal error"));
  }
  // Outside the handlers of the exception: the error handler re-enters the library or ends
  // the process.
  if (RfcErrorHandler handler = State().environment.errorHandler; callHandler && handler) {
    handler(operation);
  }
  return failed;
}

Connection& Find(RfcHandle handle) {
  auto found = State().connections.find(handle);
  if (found == State().connections.end()) {
    throw Failure("INVALID_HANDLE", "no open connection with handle " + std::to_string(handle));
  }
  return *found->second;
}

Connection& FindConnected(RfcHandle handle) {
  Connection& connection = Find(handle);
  if (!connection.connected()) {
    throw Failure("CONNECTION_BROKEN", "connection to " + connection.peer() + " already broken")
        .MarkConnectionLost();
  }
  return connection;
}

RfcHandle Register(std::unique_ptr<Connection> connection) {
  Library& library = State();
  do {
    ++library.lastHandle;
  } while (library.lastHandle == 0 || library.connections.contains(library.lastHandle));
  library.connections.emplace(library.lastHandle, std::move(connection));
  return library.lastHandle;
}

RfcHandle OpenWith(const wire::OpenRequest& request) {
  const Endpoint endpoint = EndpointOf(request);
  auto connection = std::make_unique<Connection>(State().io);
  connection->Open(endpoint, request, CurrentTimeouts());
  return Register(std::move(connection));
}

std::optional<std::string> ReadFile(const char* name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// RFC_SYSTEM_INFO sends nothing and exchanges no table: such a list holds its end entry only.
void CheckEmptyList(const RfcParameter* list, const char* what) {
  if (list != nullptr && list->name != nullptr) {
    throw Failure("PARAMETER_MISMATCH", std::string("RFC_SYSTEM_INFO takes no ") + what +
                                            " parameter, but " + NameText(list->name) +
                                            " was given");
  }
}

// What RFC_SYSTEM_INFO hands back, and where the caller wants each value.
struct ImportingParameter {
  std::string_view name;
  std::int32_t type;  // kStructure: the installed RFCSI type handle
  std::int32_t length;
};
constexpr std::int32_t kStructure = -1;
constexpr std::array<ImportingParameter, 6> kImporting{{
    {"CURRENT_RESOURCES", RFC_TYPE_INT, 4},
    {"DIALOG_USER_TYPE", RFC_TYPE_CHAR, 1},
    {"MAXIMAL_RESOURCES", RFC_TYPE_INT, 4},
    {"RECOMMENDED_DELAY", RFC_TYPE_INT, 4},
    {"RFCSI_EXPORT", kStructure, static_cast<std::int32_t>(kRfcsiSize)},
    {"RFC_LOGIN_COMPLETE", RFC_TYPE_CHAR, 1},
}};
using ImportingTargets = std::array<void*, kImporting.size()>;

ImportingTargets CheckImporting(const RfcParameter* list) {
  const auto mismatch = [](const std::string& text) {
    return Failure("PARAMETER_MISMATCH", "importing parameter " + text);
  };
  if (list == nullptr) throw Failure("PARAMETER_MISMATCH", "no importing list");
  ImportingTargets targets{};
  std::size_t n = 0;
  for (; list[n].name != nullptr; ++n) {
    if (n == kMaxListEntries) throw Failure("PARAMETER_MISMATCH", "importing list has no end");
    const RfcParameter& entry = list[n];
    const std::string name = NameText(entry.name);
    auto row = std::find_if(kImporting.begin(), kImporting.end(),
                            [&name](const ImportingParameter& p) { return p.name == name; });
    if (row == kImporting.end()) throw mismatch(name + " is not one of RFC_SYSTEM_INFO");
    const auto index = static_cast<std::size_t>(row - kImporting.begin());
    const auto expected = [](std::int32_t value) { return std::to_string(value); };
    if (entry.nameLength != static_cast<std::int32_t>(name.size())) {
      throw mismatch(name + " has name length " + expected(entry.nameLength) + ", expected " +
                     expected(static_cast<std::int32_t>(name.size())));
    }
    const std::int32_t type =
        row->type == kStructure
            ? (State().rfcsiInstalled ? static_cast<std::int32_t>(kRfcsiTypeHandle) : kStructure)
            : row->type;
    if (type == kStructure) throw mismatch(name + ": the structure RFCSI is not installed");
    if (entry.type != type) {
      throw mismatch(name + " has type " + expected(entry.type) + ", expected " + expected(type));
    }
    if (entry.length != row->length) {
      throw mismatch(name + " has length " + expected(entry.length) + ", expected " +
                     expected(row->length));
    }
    if (entry.address == nullptr) throw mismatch(name + " has no address");
    if (targets[index] != nullptr) throw mismatch(name + " is given twice");
    targets[index] = entry.address;
  }
  for (std::size_t i = 0; i < kImporting.size(); ++i) {
    if (targets[i] == nullptr) throw mismatch(std::string(kImporting[i].name) + " is missing");
  }
  return targets;
}

void Fill(const ImportingTargets& targets, const wire::CallResult& result) {
  std::memcpy(targets[0], &result.currentResources, 4);
  std::memcpy(targets[1], &result.dialogUserType, 1);
  std::memcpy(targets[2], &result.maximalResources, 4);
  std::memcpy(targets[3], &result.recommendedDelay, 4);
  std::memcpy(targets[4], result.systemInfo.data(), kRfcsiSize);
  std::memcpy(targets[5], &result.loginComplete, 1);
}

void CheckStructure(const char* name, const RfcStructureField* description,
                    std::uint32_t fieldCount, const RfcType* typeHandle) {
  const auto mismatch = [](const std::string& text) { return Failure("STRUCTURE_MISMATCH", text); };
  if (name == nullptr || std::string_view(name) != "RFCSI") {
    throw mismatch("only the structure RFCSI is known");
  }
  if (description == nullptr || typeHandle == nullptr) {
    throw mismatch("RFCSI: no description or no place for the type handle");
  }
  if (fieldCount != kRfcsiFields.size()) {
    throw mismatch("RFCSI has 18 fields, not " + std::to_string(fieldCount));
  }
  for (std::size_t i = 0; i < kRfcsiFields.size(); ++i) {
    const RfcsiField& want = kRfcsiFields[i];
    const RfcStructureField& got = description[i];
    const std::string where = "RFCSI field " + std::to_string(i + 1) + " ";
    const std::string gotName = got.name ? NameText(got.name) : "";
    if (gotName != want.name) {
      throw mismatch(where + "is " + gotName + ", expected " + std::string(want.name));
    }
    if (got.type != RFC_TYPE_CHAR) throw mismatch(where + gotName + " is not of type characters");
    if (got.length != static_cast<std::int32_t>(want.length)) {
      throw mismatch(where + gotName + " has length " + std::to_string(got.length) + ", expected " +
                     std::to_string(want.length));
    }
    if (got.decimals != 0) throw mismatch(where + gotName + " has decimals");
    // The offsets may be given, or left 0 for fields that simply follow one another.
    if (got.offset != 0 && got.offset != static_cast<std::int32_t>(want.offset)) {
      throw mismatch(where + gotName + " has offset " + std::to_string(got.offset) + ", expected " +
                     std::to_string(want.offset));
    }
  }
}

void CopyText(char* target, std::size_t capacity, const std::string& text) {
  const std::size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(target, text.data(), length);
  target[length] = '\0';
}

void FillErrorInfo(RfcErrorInfo* info) {
  if (info == nullptr) return;
  std::memset(info, 0, sizeof *info);
  const LastError& last = State().lastError;
  CopyText(info->key, sizeof info->key, last.key);
  CopyText(info->status, sizeof info->status, last.status);
  CopyText(info->message, sizeof info->message, last.message);
  CopyText(info->internalStatus, sizeof info->internalStatus, last.detail);
}

}  // namespace
}  // namespace standin

using namespace standin;

extern "C" {

RFC_API void RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment) {
  if (environment != nullptr) State().environment = *environment;
}

RFC_API RfcHandle RFC_CALL RfcOpen(RfcOpenOptions* options) {
  return Guard("RfcOpen", RfcHandle{0}, false,
               [&] { return OpenWith(RequestFromOptions(options)); });
}

RFC_API RfcHandle RFC_CALL RfcOpenEx(const char* connectString, RfcErrorInfo* extendedError) {
  RfcHandle handle = Guard("RfcOpenEx", RfcHandle{0}, false, [&] {
    if (connectString == nullptr) throw Failure("BAD_PARAMETER", "no connect string");
    return OpenWith(RequestFromConnectString(connectString, ReadFile("SapRfc.ini")));
  });
  if (handle == 0) FillErrorInfo(extendedError);
  return handle;
}

RFC_API int32_t RFC_CALL RfcInstallStructure(const char* name, const RfcStructureField* description,
                                             uint32_t fieldCount, RfcType* typeHandle) {
  return Guard("RfcInstallStructure", std::int32_t{RFC_FAILURE}, false, [&] {
    CheckStructure(name, description, fieldCount, typeHandle);
    State().rfcsiInstalled = true;
    *typeHandle = kRfcsiTypeHandle;
    return std::int32_t{RFC_OK};
  });
}

RFC_API int32_t RFC_CALL RfcCall(RfcHandle handle, const char* function, RfcParameter* exporting,
                                 RfcParameter* tables) {
  return Guard("RfcCall", std::int32_t{RFC_FAILURE}, true, [&] {
    Connection& connection = FindConnected(handle);
    if (function == nullptr) throw Failure("BAD_PARAMETER", "no function name");
    CheckEmptyList(exporting, "exporting");
    CheckEmptyList(tables, "table");
    if (connection.callPending) {
      throw Failure("CALL_PENDING", "the result of the last call on handle " +
                                        std::to_string(handle) + " was not received yet");
    }
    const auto timeout = CurrentTimeouts().reply;
    connection.Send(wire::CallRequest{function}, timeout);
    wire::CallReply reply = connection.Receive<wire::CallReply>(timeout);
    if (!reply.accepted) {
      throw Failure("CALL_REFUSED",
                    reply.message.empty() ? std::string(function) + " refused" : reply.message);
    }
    connection.callPending = true;
    return std::int32_t{RFC_OK};
  });
}

RFC_API int32_t RFC_CALL RfcReceive(RfcHandle handle, RfcParameter* importing, RfcParameter* tables,
                                    char** exception) {
  return Guard("RfcReceive", std::int32_t{RFC_FAILURE}, true, [&] {
    Connection& connection = FindConnected(handle);
    const ImportingTargets targets = CheckImporting(importing);
    CheckEmptyList(tables, "table");
    if (!connection.callPending) {
      throw Failure("NO_CALL",
                    "nothing to receive: no call was sent on handle " + std::to_string(handle));
    }
    connection.callPending = false;
    const wire::CallResult result = connection.Receive<wire::CallResult>(CurrentTimeouts().reply);
    switch (result.code) {
      case RFC_OK:
        Fill(targets, result);
        break;
      case RFC_FAILURE:
        throw Failure("FUNCTION_FAILED",
                      result.message.empty() ? "RFC_SYSTEM_INFO failed" : result.message);
      case RFC_EXCEPTION:
      case RFC_SYS_EXCEPTION:
        connection.exception = result.exception;
        if (exception != nullptr) *exception = connection.exception.data();
        Remember("RfcReceive",
                 Failure(result.code == RFC_EXCEPTION ? "EXCEPTION" : "SYSTEM_EXCEPTION",
                         "RFC_SYSTEM_INFO raised " + result.exception, result.message));
        break;
      default:
        Remember("RfcReceive",
                 Failure("FAILURE_CODE",
                         "RFC_SYSTEM_INFO ended with code " + std::to_string(result.code),
                         result.message));
    }
    return result.code;
  });
}

RFC_API void RFC_CALL RfcLastError(RfcErrorInfo* errorInfo) { FillErrorInfo(errorInfo); }

RFC_API void RFC_CALL RfcClose(RfcHandle handle) {
  Guard("RfcClose", 0, false, [&] {
    auto& connections = State().connections;
    if (handle == 0) {
      for (auto& [number, connection] : connections) connection->Close(CurrentTimeouts().reply);
      connections.clear();
    } else if (auto found = connections.find(handle); found != connections.end()) {
      found->second->Close(CurrentTimeouts().reply);
      connections.erase(found);
    }
    return 0;
  });
}

}  // extern "C"
