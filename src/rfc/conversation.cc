// What a conversation with one system came to.
#include "src/rfc/conversation.h"

#include <array>

#include "src/output/messages.h"

namespace {

struct FailureText {
  Outcome outcome;
  MessageId message;
};
constexpr std::array<FailureText, 4> kFailureTexts{{
    {Outcome::Exception, MessageId::CallException},
    {Outcome::SystemException, MessageId::CallSysException},
    {Outcome::CallFailed, MessageId::CallRfcFailure},
    {Outcome::OtherFailure, MessageId::CallOtherFailure},
}};

}  // namespace

std::string CallFailureMessage(const Conversation& conversation) {
  for (const FailureText& failure : kFailureTexts) {
    if (failure.outcome == conversation.outcome) {
      return MessageFor(failure.message, conversation.outcome == Outcome::Exception
                                             ? std::string_view(conversation.exception)
                                             : std::string_view());
    }
  }
  return MessageFor(MessageId::CallOtherFailure);
}
