#include "src/rfc/conversation.h"

#include <gtest/gtest.h>

namespace {

TEST(CallFailureMessageTest, EachFailedCallHasItsText) {
  const std::pair<Outcome, const char*> cases[] = {
      {Outcome::Exception, "Error 1012: Exception.: NOT_AUTHORIZED"},
      {Outcome::SystemException, "Error 1013: Sys-Exception raised !"},
      {Outcome::CallFailed, "Error 1014: RFC-Failure raised !"},
      {Outcome::OtherFailure, "Error 1015: Other Failure raised !"},
  };
  for (const auto& [outcome, text] : cases) {
    Conversation conversation;
    conversation.outcome = outcome;
    conversation.exception = "NOT_AUTHORIZED";  // named by the exception's text only
    EXPECT_EQ(CallFailureMessage(conversation), text) << text;
  }
}

}  // namespace
