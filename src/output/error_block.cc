// The block a single run prints when the RFC library reports a failure it cannot return from.
#include "src/output/error_block.h"

#include <algorithm>

std::string LabelLine(std::string_view label, int indent, int width, std::string_view text) {
  std::string line(indent > 0 ? static_cast<std::size_t>(indent) : 0, ' ');
  line += label;
  const std::size_t filled = static_cast<std::size_t>(std::max(indent, 0) + std::max(width, 0));
  if (line.size() < filled) line.resize(filled, ' ');
  line += " : ";
  line += text;
  line += '\n';
  return line;
}

std::string LibraryFailureBlock(const LibraryFailure& failure) {
  constexpr int kLabelWidth = 15;
  return "RFC error\n" + LabelLine("operation/code", 0, kLabelWidth, failure.operation) +
         LabelLine("key", 0, kLabelWidth, failure.key) +
         LabelLine("status", 0, kLabelWidth, failure.status) +
         LabelLine("message", 0, kLabelWidth, failure.message) +
         LabelLine("internal status", 0, kLabelWidth, failure.internalStatus) + "\n";
}
