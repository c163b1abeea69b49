// A library like librfc32 that lacks one of the eight operations, RfcReceive, for the tests of
// finding the library: the sensor must name the operation instead of calling a null pointer.
#define RFC_BUILDING_LIBRARY
#include "src/rfc/saprfc.h"

extern "C" {

RFC_API void RFC_CALL RfcEnvironment(RfcEnvironmentRecord*) {}
RFC_API RfcHandle RFC_CALL RfcOpen(RfcOpenOptions*) { return 0; }
RFC_API RfcHandle RFC_CALL RfcOpenEx(const char*, RfcErrorInfo*) { return 0; }
RFC_API int32_t RFC_CALL RfcInstallStructure(const char*, const RfcStructureField*, uint32_t,
                                             RfcType*) {
  return RFC_FAILURE;
}
RFC_API int32_t RFC_CALL RfcCall(RfcHandle, const char*, RfcParameter*, RfcParameter*) {
  return RFC_FAILURE;
}
RFC_API void RFC_CALL RfcLastError(RfcErrorInfo*) {}
RFC_API void RFC_CALL RfcClose(RfcHandle) {}
}
