// The system-information report: the call, the system's text and the open and processing times.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "src/rfc/saprfc.h"
#include "src/run/run_context.h"

// A field of RFCSI as text: its characters up to its length or a zero byte, trailing blanks
// removed.
std::string FieldText(const char* field, std::size_t length);
// The release as people write it: 740 becomes 7.40, 46C becomes 4.6C.
std::string ReleaseText(const RFCSI& info);
// "(DEST) Sys-Info: Host=..., Sid=..., Is=..., Rel=..., Dbs=..., Os=..., IP=..."
std::string SystemInfoText(const RFCSI& info, const SystemEntry& entry);
// The readable list of a "/CHECK" run.
std::string CheckList(const RFCSI& info, const SystemEntry& entry);

// Calls RFC_SYSTEM_INFO on the open connection and writes what it found into the document; the
// call's return code, 0 on success. On a failure the document gets the call's error text.
std::int32_t ReportSystemInfo(RunContext& run, RfcHandle handle);
