// The result document: its frame in each flavour, and the error document.
#pragma once

#include <string>
#include <string_view>

#include "src/run/run_context.h"

void OpenDocument(RunContext& run);
void OpenText(RunContext& run);
void CloseText(RunContext& run);
void CloseDocument(RunContext& run);
// Replaces the whole document, in every flavour.
void WriteErrorDocument(RunContext& run, std::string_view message);

// Text as it may stand inside an XML element: '&', '<' and '>' escaped, so that a profile name
// or a field of the remote system can neither break the document nor add elements to it.
std::string XmlText(std::string_view text);
// Free text for the document's text section, escaped in the XML flavours only.
std::string DocumentText(const RunContext& run, std::string_view text);
