// Standard output, the labelled lines of the error block, the trace routine and time texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "src/run/run_context.h"

// Everything the programs print goes to standard output, buffered, in call order.
void Print(std::string_view text);
void FlushOutput();

// "%*.0s" then "%-*s : %s\n": indent blanks, the label filled to width (never cut), the text.
void PrintLabelLine(std::string_view label, int indent, int width, std::string_view text);

// One "%d %s %s" line to the run's trace stream, with ",SYSLOG" among the parameters only.
void TraceEvent(const RunContext& run, std::int32_t handle, std::string_view event,
                std::string_view detail);

// A duration as every channel shows it: the milliseconds, at least four digits.
std::string TimeText(std::int32_t milliseconds);
