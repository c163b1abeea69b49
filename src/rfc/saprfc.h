/* The RFC client library's interface: the eight operations the sensor calls and the records
   they exchange. Nothing in the sensor depends on the library but this header, so any library
   that provides these symbols (the vendor's, or our stand-in) can sit beside the program. */
#ifndef SAPSYSINFO_RFC_SAPRFC_H
#define SAPSYSINFO_RFC_SAPRFC_H

#include <stddef.h>
#include <stdint.h>

/* The calling convention of every operation and of the error handler. 32-bit Windows
   libraries of this kind use __stdcall; change this one line for a library that does not. */
#if defined(_WIN32) && !defined(_WIN64)
#define RFC_CALL __stdcall
#else
#define RFC_CALL
#endif

/* How the library's symbols are bound: exported when the library itself is built. */
#if defined(_WIN32)
#if defined(RFC_BUILDING_LIBRARY)
#define RFC_API __declspec(dllexport)
#else
#define RFC_API __declspec(dllimport)
#endif
#else
#if defined(RFC_BUILDING_LIBRARY)
#define RFC_API __attribute__((visibility("default")))
#else
#define RFC_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A connection handle; 0 means that no connection exists. */
typedef uint32_t RfcHandle;

/* A type handle as RfcInstallStructure returns it, and the type codes of parameters. */
typedef uint32_t RfcType;
enum { RFC_TYPE_CHAR = 0, RFC_TYPE_INT = 8 };

/* Return codes of RfcReceive (and RfcCall, which returns 0 or a failure). */
enum { RFC_OK = 0, RFC_FAILURE = 1, RFC_EXCEPTION = 2, RFC_SYS_EXCEPTION = 3 };

/* Connection modes of RfcOpenOptions. */
enum { RFC_MODE_HOST = 0, RFC_MODE_R2 = 1 };

/* Addressing of an R/2 system: through its gateway. */
typedef struct GatewayOptions {
  const char* gatewayHost;    /* null when absent */
  const char* gatewayService; /* null when absent */
} GatewayOptions;

/* Addressing of every other system: its application server. */
typedef struct HostOptions {
  const char* hostName; /* null when absent */
  int32_t systemNumber;
  const char* gatewayHost;    /* null when absent */
  const char* gatewayService; /* null when absent */
} HostOptions;

typedef struct RfcOpenOptions {
  const char* destination;
  int32_t mode;               /* RFC_MODE_R2 or RFC_MODE_HOST */
  void* connectionParameters; /* GatewayOptions* (mode 1) or HostOptions* (mode 0) */
  const char* client;
  const char* user;     /* blank-padded to at least 12 characters */
  const char* password; /* blank-padded to at least 10 characters */
  const char* language;
  int32_t trace; /* 0: library trace off */
} RfcOpenOptions;

/* The system-information record of RFC_SYSTEM_INFO: 18 blank-padded character fields with no
   end marks, one after another. */
typedef struct RFCSI {
  char rfcproto[3];
  char rfcchartyp[4];
  char rfcinttyp[3];
  char rfcflotyp[3];
  char rfcdest[32];
  char rfchost[8];
  char rfcsysid[8];
  char rfcdatabs[8];
  char rfcdbhost[32];
  char rfcdbsys[10];
  char rfcsaprl[4];
  char rfcmach[5];
  char rfcopsys[10];
  char rfctzone[6];
  char rfcdayst[1];
  char rfcipaddr[15];
  char rfckernrl[4];
  char rfcsi_resv[44];
} RFCSI;

/* One field of a structure description handed to RfcInstallStructure. */
typedef struct RfcStructureField {
  const char* name;
  int32_t type; /* RFC_TYPE_CHAR for every field of RFCSI */
  int32_t length;
  int32_t decimals;
  int32_t offset;
} RfcStructureField;

/* One entry of a parameter or table list; a list ends with an entry whose name is null. */
typedef struct RfcParameter {
  const char* name;
  int32_t nameLength;
  int32_t type;   /* RFC_TYPE_CHAR, RFC_TYPE_INT, or a structure's type handle */
  int32_t length; /* bytes at address */
  void* address;
} RfcParameter;

/* What RfcLastError fills in: four texts with end marks. */
typedef struct RfcErrorInfo {
  char key[33];
  char status[128];
  char message[256];
  char internalStatus[128];
} RfcErrorInfo;

typedef void(RFC_CALL* RfcErrorHandler)(const char* operation);
typedef void*(RFC_CALL* RfcAllocator)(void* block, size_t size);

typedef struct RfcEnvironmentRecord {
  RfcErrorHandler errorHandler; /* called with the failed operation's name */
  RfcAllocator allocator;       /* null: the library's own */
} RfcEnvironmentRecord;

RFC_API void RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment);
RFC_API RfcHandle RFC_CALL RfcOpen(RfcOpenOptions* options);
/* Opens from "CLIENT=... USER=... PASSWD=... LANG=... DEST=..."; DEST is resolved through
   SapRfc.ini in the current directory. */
RFC_API RfcHandle RFC_CALL RfcOpenEx(const char* connectString, RfcErrorInfo* extendedError);
RFC_API int32_t RFC_CALL RfcInstallStructure(const char* name, const RfcStructureField* description,
                                             uint32_t fieldCount, RfcType* typeHandle);
RFC_API int32_t RFC_CALL RfcCall(RfcHandle handle, const char* function, RfcParameter* exporting,
                                 RfcParameter* tables);
/* On RFC_EXCEPTION and RFC_SYS_EXCEPTION *exception names the exception; the text belongs to
   the library and stays valid until the next operation on the handle. */
RFC_API int32_t RFC_CALL RfcReceive(RfcHandle handle, RfcParameter* importing, RfcParameter* tables,
                                    char** exception);
RFC_API void RFC_CALL RfcLastError(RfcErrorInfo* errorInfo);
/* Closes the connection; the handle 0 closes every connection of the process. */
RFC_API void RFC_CALL RfcClose(RfcHandle handle);

#ifdef __cplusplus
}
#endif

/* The records' layouts, in the 32-bit and the 64-bit width, are checked in record_layout.h and
   rfcsi_layout.h. */

#endif
