// The NetWeaver stand-in's own return codes, beyond the nine that every release of the
// vendor's library keeps (sapnwrfc.h). A sensor reads each of them as "another failure".
#pragma once

namespace standin::nwrfc_codes {

// A null or unusable argument; logon parameters that name no address or too many.
inline constexpr int kInvalidParameter = 101;
// A handle this library did not give out, one closed or destroyed, or one of another kind.
inline constexpr int kInvalidHandle = 102;
// A structure or field name the container does not have.
inline constexpr int kNotFound = 103;
// RfcGetChars: a buffer shorter than the field.
inline constexpr int kBufferTooSmall = 104;
// The system refused the function: its lookup, or the call itself.
inline constexpr int kRefused = 105;
// The system answered the call with a code other than success, exception and system exception.
inline constexpr int kAnswerCode = 106;
// The library itself failed, such as memory running out.
inline constexpr int kInternal = 107;

}  // namespace standin::nwrfc_codes
