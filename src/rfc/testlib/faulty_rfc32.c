/* A classic RFC library that fails the way a vendor's library may, for the tests of the
   sensor's guards: it answers every system at once, except a system on the host "faulty",
   where it does what FAULT names: exits in RfcOpen or RfcCall, crashes in RfcCall, prints into
   the sensor's standard output in RfcCall, or never returns from RfcReceive or RfcClose. Built
   once per fault by the test suite; never shipped. */
#define RFC_BUILDING_LIBRARY
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "src/rfc/saprfc.h"

#ifdef _WIN32
#include <windows.h>
static void Hang(void) {
  for (;;) Sleep(INFINITE);
}
#else
#include <unistd.h>
static void Hang(void) {
  for (;;) pause();
}
#endif

enum { kGood = 1, kFaulty = 2 };

#define FAULT_IS(name) (strcmp(FAULT, name) == 0)

static int IsFaulty(RfcHandle handle) { return handle == kFaulty; }

static void Crash(void) {
  volatile int* nowhere = NULL;
  *nowhere = 1;
}

RFC_API void RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment) { (void)environment; }

RFC_API RfcHandle RFC_CALL RfcOpen(RfcOpenOptions* options) {
  const HostOptions* host = (const HostOptions*)options->connectionParameters;
  const int faulty = options->mode == RFC_MODE_HOST && host->hostName != NULL &&
                     strcmp(host->hostName, "faulty") == 0;
  if (faulty && FAULT_IS("exit_in_open")) exit(0);
  return faulty ? kFaulty : kGood;
}

RFC_API RfcHandle RFC_CALL RfcOpenEx(const char* connectString, RfcErrorInfo* extendedError) {
  (void)connectString;
  (void)extendedError;
  return kGood;
}

RFC_API int32_t RFC_CALL RfcInstallStructure(const char* name, const RfcStructureField* fields,
                                             uint32_t count, RfcType* type) {
  (void)name;
  (void)fields;
  (void)count;
  *type = 0x100;
  return RFC_OK;
}

RFC_API int32_t RFC_CALL RfcCall(RfcHandle handle, const char* function, RfcParameter* exporting,
                                 RfcParameter* tables) {
  (void)function;
  (void)exporting;
  (void)tables;
  if (IsFaulty(handle) && FAULT_IS("exit_in_call")) exit(0);
  if (IsFaulty(handle) && FAULT_IS("crash_in_call")) Crash();
  if (IsFaulty(handle) && FAULT_IS("print_in_call")) {
    fputs("a library's own words\n", stdout);
    fflush(stdout);
  }
  return RFC_OK;
}

RFC_API int32_t RFC_CALL RfcReceive(RfcHandle handle, RfcParameter* importing, RfcParameter* tables,
                                    char** exception) {
  (void)tables;
  (void)exception;
  if (IsFaulty(handle) && FAULT_IS("hang_in_receive")) Hang();
  for (; importing->name != NULL; ++importing) {
    if (strcmp(importing->name, "RFCSI_EXPORT") == 0) {
      memset(importing->address, ' ', (size_t)importing->length);
      memcpy(importing->address, "011", 3);
    }
  }
  return RFC_OK;
}

RFC_API void RFC_CALL RfcLastError(RfcErrorInfo* info) { memset(info, 0, sizeof *info); }

RFC_API void RFC_CALL RfcClose(RfcHandle handle) {
  if (IsFaulty(handle) && FAULT_IS("hang_in_close")) Hang();
}
