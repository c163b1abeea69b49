// The library's error and trace file, Dev_Rfc.Trc in the current directory: one section per
// failure, appended. The sensor reads the last description of the last section back.
#pragma once

#include <string>
#include <string_view>

#include "standin/failure.h"

namespace standin {

inline constexpr const char* kTraceFileName = "Dev_Rfc.Trc";

// Readers take the file 99 characters at a time, line feed included: a description line
// stays below that so it is never split.
inline constexpr std::size_t kTraceLineMax = 98;

// A section: the line "**** ERROR " with the time and the operation, then the failure's key
// and detail in the form "ERROR" + blanks + text from column 13, then its message in the form
// seven characters + "======> " + text from column 16.
std::string TraceSection(std::string_view time, std::string_view operation, const Failure& failure);

// Appends the section for a failure now; a file that cannot be written is left alone.
void AppendTraceSection(std::string_view operation, const Failure& failure);

}  // namespace standin
