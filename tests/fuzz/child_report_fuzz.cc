// Fuzz target: what a listing run reads from the process it starts for a system (its report,
// as it arrives in pieces), and what such a process reads from its parent (the request).
// Input: the first byte chooses the size of the pieces, the rest is the bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "src/run/child_protocol.h"
#include "tests/fuzz/property.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = data[0] % 64 + 1;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  ChildReportReader reader;
  bool refused = false;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    const bool taken = reader.Feed(bytes.substr(at, piece));
    fuzz::Require(!(refused && taken), "once malformed, the output stays malformed");
    refused = refused || !taken;
  }
  fuzz::Require(refused == reader.malformed(), "a refused piece marks the output malformed");
  const ChildReport& report = reader.report();
  if (!reader.malformed() && report.ending == ChildReport::Ending::Conversation) {
    // What was read travels again to the same.
    ChildReportReader again;
    fuzz::Require(again.Feed(EncodeConversation(report.conversation)),
                  "a conversation read is one that can be sent");
    const Conversation& first = report.conversation;
    const Conversation& second = again.report().conversation;
    fuzz::Require(second.outcome == first.outcome && second.reason == first.reason &&
                      second.fields.host == first.fields.host &&
                      second.libraryFailure.message == first.libraryFailure.message &&
                      second.times.response == first.times.response,
                  "a conversation travels unchanged");
  }

  if (const std::optional<ChildRequest> request = DecodeRequest(bytes)) {
    fuzz::Require(!request->profiles.empty(), "a request names the system's profile");
    fuzz::Require(EncodeRequest(*request) == bytes, "a request is read only in its one form");
  }
  return 0;
}
