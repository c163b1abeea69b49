// A NetWeaver RFC library that fails the way a vendor's library may, for the tests of the
// sensor's guards, as the faulty classic library does: it answers every system at once, except
// a system on the application server "faulty", where it does what FAULT names: exits in
// RfcOpenConnection or RfcInvoke, crashes in RfcInvoke, prints into the sensor's standard
// output in RfcInvoke, or never returns from RfcInvoke ("hang_in_receive": the NetWeaver
// library receives the answer inside its invocation) or RfcCloseConnection. Built once per
// fault by the test suite; never shipped.
#define NWRFC_BUILDING_LIBRARY
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "src/rfc/sapnwrfc.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace nwrfc {
namespace {

[[noreturn]] void Hang() {
  for (;;) {
#ifdef _WIN32
    Sleep(INFINITE);
#else
    pause();
#endif
  }
}

void Crash() {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
}

bool FaultIs(std::string_view name) { return name == FAULT; }

// Handles: any address of ours will do, the library never reads them back.
char good, faulty, function;

RFC_CONNECTION_HANDLE Handle(char& which) {
  return reinterpret_cast<RFC_CONNECTION_HANDLE>(&which);
}
bool IsFaulty(RFC_CONNECTION_HANDLE handle) { return handle == Handle(faulty); }

void Ok(RFC_ERROR_INFO* errorInfo) { std::memset(errorInfo, 0, sizeof *errorInfo); }

bool Same(const SAP_UC* text, std::u16string_view expected) {
  return text != nullptr && std::u16string_view(text) == expected;
}

constexpr SAP_UC kVersion[] = u"1.0.0 faulty";

}  // namespace

extern "C" {

NWRFC_API RFC_CONNECTION_HANDLE NWRFC_CALL
RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams, unsigned paramCount,
                  RFC_ERROR_INFO* errorInfo) {
  Ok(errorInfo);
  bool onFaultyHost = false;
  for (unsigned i = 0; i < paramCount; ++i) {
    onFaultyHost = onFaultyHost || (Same(connectionParams[i].name, u"ASHOST") &&
                                    Same(connectionParams[i].value, u"faulty"));
  }
  if (onFaultyHost && FaultIs("exit_in_open")) std::exit(0);
  return onFaultyHost ? Handle(faulty) : Handle(good);
}

NWRFC_API RFC_FUNCTION_DESC_HANDLE NWRFC_CALL RfcGetFunctionDesc(RFC_CONNECTION_HANDLE,
                                                                 const SAP_UC*,
                                                                 RFC_ERROR_INFO* errorInfo) {
  Ok(errorInfo);
  return reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(&function);
}

NWRFC_API RFC_FUNCTION_HANDLE NWRFC_CALL RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE,
                                                           RFC_ERROR_INFO* errorInfo) {
  Ok(errorInfo);
  return reinterpret_cast<RFC_FUNCTION_HANDLE>(&function);
}

NWRFC_API RFC_RC NWRFC_CALL RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE,
                                      RFC_ERROR_INFO* errorInfo) {
  Ok(errorInfo);
  if (IsFaulty(rfcHandle) && FaultIs("exit_in_call")) std::exit(0);
  if (IsFaulty(rfcHandle) && FaultIs("crash_in_call")) Crash();
  if (IsFaulty(rfcHandle) && FaultIs("print_in_call")) {
    std::fputs("a library's own words\n", stdout);
    std::fflush(stdout);
  }
  if (IsFaulty(rfcHandle) && FaultIs("hang_in_receive")) Hang();
  return RFC_OK;
}

NWRFC_API RFC_RC NWRFC_CALL RfcGetStructure(DATA_CONTAINER_HANDLE, const SAP_UC*,
                                            RFC_STRUCTURE_HANDLE* structHandle,
                                            RFC_ERROR_INFO* errorInfo) {
  Ok(errorInfo);
  *structHandle = reinterpret_cast<RFC_STRUCTURE_HANDLE>(&function);
  return RFC_OK;
}

// Every field blank.
NWRFC_API RFC_RC NWRFC_CALL RfcGetChars(DATA_CONTAINER_HANDLE, const SAP_UC*, SAP_UC* charBuffer,
                                        unsigned bufferLength, RFC_ERROR_INFO* errorInfo) {
  Ok(errorInfo);
  for (unsigned i = 0; i < bufferLength; ++i) charBuffer[i] = u' ';
  return RFC_OK;
}

NWRFC_API RFC_RC NWRFC_CALL RfcDestroyFunction(RFC_FUNCTION_HANDLE, RFC_ERROR_INFO* errorInfo) {
  Ok(errorInfo);
  return RFC_OK;
}

NWRFC_API RFC_RC NWRFC_CALL RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle,
                                               RFC_ERROR_INFO* errorInfo) {
  Ok(errorInfo);
  if (IsFaulty(rfcHandle) && FaultIs("hang_in_close")) Hang();
  return RFC_OK;
}

NWRFC_API const SAP_UC* NWRFC_CALL RfcGetVersion(unsigned* majorVersion, unsigned* minorVersion,
                                                 unsigned* patchLevel) {
  *majorVersion = 1;
  *minorVersion = 0;
  *patchLevel = 0;
  return kVersion;
}

}  // extern "C"
}  // namespace nwrfc
