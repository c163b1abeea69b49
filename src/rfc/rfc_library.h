// Finds an RFC client library at run time, the classic one or the NetWeaver one, and hands the
// sensor its operations, or says what keeps the library from being used: on a probe the
// vendor's library may be missing, of the wrong kind, without its companions or incomplete,
// and the run must still end with a document that says so.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "src/platform/binary_kind.h"
#include "src/rfc/record_layout.h"
#include "src/rfc/sapnwrfc.h"
#include "src/rfc/saprfc.h"

// The operations' types, with the library's calling convention.
extern "C" {
typedef void(RFC_CALL* RfcEnvironmentFunction)(RfcEnvironmentRecord* environment);
typedef RfcHandle(RFC_CALL* RfcOpenFunction)(RfcOpenOptions* options);
typedef RfcHandle(RFC_CALL* RfcOpenExFunction)(const char* connectString,
                                               RfcErrorInfo* extendedError);
typedef int32_t(RFC_CALL* RfcInstallStructureFunction)(const char* name,
                                                       const RfcStructureField* description,
                                                       uint32_t fieldCount, RfcType* typeHandle);
typedef int32_t(RFC_CALL* RfcCallFunction)(RfcHandle handle, const char* function,
                                           RfcParameter* exporting, RfcParameter* tables);
typedef int32_t(RFC_CALL* RfcReceiveFunction)(RfcHandle handle, RfcParameter* importing,
                                              RfcParameter* tables, char** exception);
typedef void(RFC_CALL* RfcLastErrorFunction)(RfcErrorInfo* errorInfo);
typedef void(RFC_CALL* RfcCloseFunction)(RfcHandle handle);
}

// The library's operations; valid until the process ends.
struct RfcOperations {
  RfcEnvironmentFunction environment = nullptr;
  RfcOpenFunction open = nullptr;
  RfcOpenExFunction openEx = nullptr;
  RfcInstallStructureFunction installStructure = nullptr;
  RfcCallFunction call = nullptr;
  RfcReceiveFunction receive = nullptr;
  RfcLastErrorFunction lastError = nullptr;
  RfcCloseFunction close = nullptr;
};

// The NetWeaver library's operations (NWRFC.md's nine), with its calling convention.
struct NwRfcOperations {
  decltype(&nwrfc::RfcOpenConnection) openConnection = nullptr;
  decltype(&nwrfc::RfcGetFunctionDesc) getFunctionDesc = nullptr;
  decltype(&nwrfc::RfcCreateFunction) createFunction = nullptr;
  decltype(&nwrfc::RfcInvoke) invoke = nullptr;
  decltype(&nwrfc::RfcGetStructure) getStructure = nullptr;
  decltype(&nwrfc::RfcGetChars) getChars = nullptr;
  decltype(&nwrfc::RfcDestroyFunction) destroyFunction = nullptr;
  decltype(&nwrfc::RfcCloseConnection) closeConnection = nullptr;
  decltype(&nwrfc::RfcGetVersion) getVersion = nullptr;
};

enum class RfcLibraryKind { Classic, NetWeaver };

// A library the sensor speaks to, by its file name, with the companions it needs beside it
// ('*' in a name stands for any characters).
struct RfcLibraryFile {
  RfcLibraryKind kind = RfcLibraryKind::Classic;
  std::string fileName;
  std::vector<std::string> companions;
};

// Where to look for the libraries, in this order: each place for every library, in order.
struct RfcLibrarySearch {
  std::vector<RfcLibraryFile> libraries;
  std::string programFolder;   // first, with its path separator at the end; empty: skipped
  bool standardSearch = true;  // then the system's own search, which never takes the current
                               // directory for it
};

// The sensor's search: in its own folder, then through the system's search; at each place the
// classic library first, so that an installation that has one keeps using it, then the
// NetWeaver library.
RfcLibrarySearch SensorLibrarySearch();

// The library found and its operations; valid until the process ends.
struct LoadedRfcLibrary {
  RfcLibraryKind kind = RfcLibraryKind::Classic;
  std::variant<RfcOperations, NwRfcOperations> operations;
  std::string file;  // the file loaded; the name looked for where the system does not tell
};

// What keeps the library from being used.
struct RfcLibraryProblem {
  enum class Kind {
    NotFound,          // file: the name looked for
    NotLoadable,       // file: the file found; detail: the system's reason
    WrongKind,         // the same, and the library is built for another machine than the sensor
    OperationMissing,  // file: the library; detail: the first operation it lacks
    CompanionMissing,  // file: the library; detail: the companions missing beside it
  };
  Kind kind = Kind::NotFound;
  std::string file;
  std::string detail;
  RfcLibrarySearch search;           // where it was looked for
  std::string fileName;              // the library's own name, where one library is meant
  platform::BinaryKind libraryKind;  // WrongKind: what the library is
  platform::BinaryKind sensorKind;   // WrongKind: what it would have to be
};

using RfcLibrary = std::variant<LoadedRfcLibrary, RfcLibraryProblem>;

// Looks in the program's folder first: a library found there is the one the administrator put
// beside the sensor, so a fault of it is reported, not passed over for another one elsewhere.
// A library's companions that lie beside it are loaded first, by their full paths (a library
// loaded by its full path finds them only so on Linux; Windows finds them beside it). Nothing
// is printed and the run goes on; the library, once loaded, stays loaded.
RfcLibrary LoadRfcLibrary(const RfcLibrarySearch& search);

// The problem in words, the variable part of the run's error message, for example
// "C:\PRTG\librfc32.dll is a 32-bit library; this sensor is 64-bit: use the win32 package".
std::string DescribeRfcLibraryProblem(const RfcLibraryProblem& problem);
