// What a listing run and the process it starts for one of its systems tell each other: the
// request on the child's standard input, the report on its standard output. Texts travel with
// their length, so that nothing a profile or a remote system holds can forge a line, and the
// reader checks every length before it reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "src/rfc/conversation.h"

// The first argument of a process started for one listed system. It is no documented
// parameter; without its parent's request such a start ends with an error document.
inline constexpr std::string_view kListedSystemMode = "/SapSysInfo-ListedSystem";

struct ChildRequest {
  std::string nonce;                  // the parent's, also on the child's command line
  std::string parameters;             // the parameter text as typed
  std::string directory;              // where the listed profiles lie
  std::vector<std::string> profiles;  // read in this order; the system's own last
};

std::string EncodeRequest(const ChildRequest& request);
// Nothing unless the text is a whole request.
std::optional<ChildRequest> DecodeRequest(std::string_view text);

// What a child reports: the library operations it starts, one line each as it goes, and then
// how its system's check ended.
struct ChildReport {
  enum class Ending {
    Conversation,  // the conversation's value
    Quit,          // the library crashed, quit, or the child was told to stop, in `operation`
    NoAnswer,      // the child's own deadline passed in `operation`
    Ended,         // the run ended with `message` and `exitCode` (such as Error 1047)
  };
  std::vector<std::string> operations;  // as started, in order
  std::optional<Ending> ending;         // nothing while the report is incomplete
  Conversation conversation;
  std::string operation;
  std::string reason;
  std::string message;
  int exitCode = 0;
};

// A line for each operation the child starts.
std::string EncodeOperation(std::string_view operation);
// The report's end for each way a child's check ends.
std::string EncodeConversation(const Conversation& conversation);
std::string EncodeEnded(std::string_view message, int exitCode);
// The child's last words: head, the reason's name, tail (see platform/last_words.h).
std::pair<std::string, std::string> EncodeQuit(std::string_view operation);
std::string EncodeNoAnswer(std::string_view operation);

// Reads a child's output as it arrives.
class ChildReportReader {
 public:
  // Takes the next bytes; false once the output is malformed (then nothing more is read).
  bool Feed(std::string_view bytes);
  const ChildReport& report() const { return report_; }
  bool malformed() const { return malformed_; }

 private:
  // Reads whole lines from `pending_` while there are.
  void Parse();

  std::string pending_;
  ChildReport report_;
  bool malformed_ = false;
};
