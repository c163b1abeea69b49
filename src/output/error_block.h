// The block a single run prints when the RFC library reports a failure it cannot return from.
#pragma once

#include <string>
#include <string_view>

// "%*.0s" then "%-*s : %s\n": indent blanks, the label filled to width (never cut), the text.
std::string LabelLine(std::string_view label, int indent, int width, std::string_view text);

// What the RFC library said about a failure: the operation that failed and its last error.
struct LibraryFailure {
  std::string operation;
  std::string key;
  std::string status;
  std::string message;
  std::string internalStatus;
};

// "RFC error", the five labelled lines and an empty line.
std::string LibraryFailureBlock(const LibraryFailure& failure);

// Printed after the block, once the library has closed its connections.
inline constexpr std::string_view kAbortLines =
    "* Programm aborted...\n* Error at EoXput-File...\n";
