/* The NetWeaver RFC library's interface, as far as the sensor uses it: nine operations, their
   handles, return codes and the error record. It is today's successor of the classic library
   (saprfc.h). Every text in or out is UTF-16. Both headers can be included together: in C++
   this one's names stand in the namespace nwrfc, because both libraries name success RFC_OK. */
#ifndef SAPSYSINFO_RFC_SAPNWRFC_H
#define SAPSYSINFO_RFC_SAPNWRFC_H

#include <stdint.h>

/* The calling convention of every operation: __stdcall on 32-bit Windows, where it decides
   who clears the stack; x86-64 and Linux have one convention. */
#if defined(_WIN32) && !defined(_WIN64)
#define NWRFC_CALL __stdcall
#else
#define NWRFC_CALL
#endif

/* How the operations are bound: exported when the library itself is built, imported
   otherwise. A build that names its exports in a list of its own defines NWRFC_API (empty)
   before this header. */
#ifndef NWRFC_API
#if defined(_WIN32)
#if defined(NWRFC_BUILDING_LIBRARY)
#define NWRFC_API __declspec(dllexport)
#else
#define NWRFC_API __declspec(dllimport)
#endif
#else
#if defined(NWRFC_BUILDING_LIBRARY)
#define NWRFC_API __attribute__((visibility("default")))
#else
#define NWRFC_API
#endif
#endif
#endif

#ifdef __cplusplus
namespace nwrfc {
extern "C" {
#endif

/* One UTF-16 code unit, on every platform (wchar_t has 32 bits on Linux). */
#ifdef __cplusplus
typedef char16_t SAP_UC;
#else
typedef uint16_t SAP_UC;
#endif

/* The two enumerations are int-sized. In C++ they say so, which also makes every int a value
   of theirs: the library returns codes beyond the named ones. */
#ifdef __cplusplus
#define NWRFC_INT_ENUM : int
#else
#define NWRFC_INT_ENUM
#endif

/* Opaque handles; null means none. A function and a structure are both data containers, so
   a structure is read from either. */
typedef struct RFC_CONNECTION_HANDLE_s* RFC_CONNECTION_HANDLE;
typedef struct RFC_FUNCTION_DESC_HANDLE_s* RFC_FUNCTION_DESC_HANDLE;
typedef struct RFC_DATA_CONTAINER_s* DATA_CONTAINER_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_FUNCTION_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_STRUCTURE_HANDLE;

/* What an operation returns. Every release keeps these nine values; the library has more,
   and any other value is "another failure". */
typedef enum RFC_RC NWRFC_INT_ENUM {
  RFC_OK = 0,
  RFC_COMMUNICATION_FAILURE = 1,
  RFC_LOGON_FAILURE = 2,
  RFC_ABAP_RUNTIME_FAILURE = 3, /* the system's SYSTEM_FAILURE */
  RFC_ABAP_MESSAGE = 4,
  RFC_ABAP_EXCEPTION = 5, /* a classic exception; its name is the error's key */
  RFC_CLOSED = 6,
  RFC_CANCELED = 7,
  RFC_TIMEOUT = 8
} RFC_RC;

/* Where a failure comes from. */
typedef enum RFC_ERROR_GROUP NWRFC_INT_ENUM {
  RFC_GROUP_OK = 0,
  RFC_GROUP_ABAP_APPLICATION_FAILURE = 1,
  RFC_GROUP_ABAP_RUNTIME_FAILURE = 2,
  RFC_GROUP_LOGON_FAILURE = 3,
  RFC_GROUP_COMMUNICATION_FAILURE = 4,
  RFC_GROUP_EXTERNAL_RUNTIME_FAILURE = 5,
  RFC_GROUP_EXTERNAL_APPLICATION_FAILURE = 6,
  RFC_GROUP_EXTERNAL_AUTHORIZATION_FAILURE = 7
} RFC_ERROR_GROUP;

/* Filled by every operation; every text ends with a zero unit. */
typedef struct RFC_ERROR_INFO {
  RFC_RC code;
  RFC_ERROR_GROUP group;
  SAP_UC key[128];
  SAP_UC message[512];
  SAP_UC abapMsgClass[21];
  SAP_UC abapMsgType[2];
  SAP_UC abapMsgNumber[4];
  SAP_UC abapMsgV1[51];
  SAP_UC abapMsgV2[51];
  SAP_UC abapMsgV3[51];
  SAP_UC abapMsgV4[51];
} RFC_ERROR_INFO;

/* One logon parameter (ASHOST, SYSNR, CLIENT, USER, PASSWD, LANG, ...), both texts ended with
   a zero unit. Names are matched in any letter case. */
typedef struct RFC_CONNECTION_PARAMETER {
  const SAP_UC* name;
  const SAP_UC* value;
} RFC_CONNECTION_PARAMETER;

NWRFC_API RFC_CONNECTION_HANDLE NWRFC_CALL
RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams, unsigned paramCount,
                  RFC_ERROR_INFO* errorInfo);
/* Looks the function's interface up in the system (a round trip). */
NWRFC_API RFC_FUNCTION_DESC_HANDLE NWRFC_CALL RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                                 const SAP_UC* funcName,
                                                                 RFC_ERROR_INFO* errorInfo);
NWRFC_API RFC_FUNCTION_HANDLE NWRFC_CALL RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                           RFC_ERROR_INFO* errorInfo);
NWRFC_API RFC_RC NWRFC_CALL RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle,
                                      RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo);
NWRFC_API RFC_RC NWRFC_CALL RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                            RFC_STRUCTURE_HANDLE* structHandle,
                                            RFC_ERROR_INFO* errorInfo);
/* Fills exactly bufferLength units, blank-padded, without a zero unit at the end. */
NWRFC_API RFC_RC NWRFC_CALL RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                        SAP_UC* charBuffer, unsigned bufferLength,
                                        RFC_ERROR_INFO* errorInfo);
NWRFC_API RFC_RC NWRFC_CALL RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle,
                                               RFC_ERROR_INFO* errorInfo);
NWRFC_API RFC_RC NWRFC_CALL RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle,
                                               RFC_ERROR_INFO* errorInfo);
/* The library's version; the text belongs to the library and stays valid. */
NWRFC_API const SAP_UC* NWRFC_CALL RfcGetVersion(unsigned* majorVersion, unsigned* minorVersion,
                                                 unsigned* patchLevel);

#ifdef __cplusplus
}
}
#endif

/* The records' layouts, in the 32-bit and the 64-bit width, are checked in record_layout.h. */

#endif
