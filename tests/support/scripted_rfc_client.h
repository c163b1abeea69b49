// A scripted RFC library for the runs' unit tests: each conversation is the next one of the
// script, and what the run handed over is kept for the test to look at. No process, socket or
// file is involved.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "src/output/text_output.h"
#include "src/rfc/rfc_client.h"

namespace testsupport {

class ScriptedRfcClient : public RfcClient {
 public:
  struct Received {
    Logon logon;
    CallChoice call;
  };

  // `output` is the run's: Finish notes what had been printed by then.
  explicit ScriptedRfcClient(std::vector<Conversation> script,
                             const CapturedOutput* output = nullptr)
      : script_(std::move(script)), output_(output) {}

  Conversation Converse(const Logon& logon, CallChoice call) override {
    received_.push_back({logon, call});
    if (next_ == script_.size()) {
      ADD_FAILURE() << "the run talked to more systems than the script has";
      return {};
    }
    return script_[next_++];
  }

  void Finish() override {
    ++finishes_;
    if (output_ != nullptr) printedAtFinish_ = output_->text();
  }

  const std::vector<Received>& received() const { return received_; }
  int finishes() const { return finishes_; }
  const std::string& printedAtFinish() const { return printedAtFinish_; }

 private:
  std::vector<Conversation> script_;
  std::size_t next_ = 0;
  const CapturedOutput* output_;
  std::vector<Received> received_;
  int finishes_ = 0;
  std::string printedAtFinish_;
};

// Conversations as a library reports them.
inline Conversation Answered(const SystemFields& fields, const Durations& times) {
  Conversation conversation;
  conversation.outcome = Outcome::Answered;
  conversation.fields = fields;
  conversation.times = times;
  return conversation;
}

inline Conversation Ended(Outcome outcome, const Durations& times = {}, std::string reason = {}) {
  Conversation conversation;
  conversation.outcome = outcome;
  conversation.times = times;
  conversation.reason = std::move(reason);
  return conversation;
}

inline Conversation LibraryFailedWith(const LibraryFailure& failure) {
  Conversation conversation = Ended(Outcome::LibraryFailed);
  conversation.libraryFailure = failure;
  return conversation;
}

}  // namespace testsupport
