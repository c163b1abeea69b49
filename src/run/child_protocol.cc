// What a listing run and the process it starts for one of its systems tell each other.
#include "src/run/child_protocol.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace {

constexpr std::string_view kRequestHead = "sapsysinfo-request 1\n";
// Bounds of what a child may say: a text, all of its output, its operations.
constexpr std::size_t kLongestText = std::size_t{16} * 1024;
constexpr std::size_t kLongestOutput = std::size_t{1024} * 1024;
constexpr std::size_t kMostOperations = 1000;

struct OutcomeName {
  Outcome outcome;
  std::string_view name;
};
constexpr std::array<OutcomeName, 8> kOutcomes{{
    {Outcome::NotOpened, "NotOpened"},
    {Outcome::NotCalled, "NotCalled"},
    {Outcome::Answered, "Answered"},
    {Outcome::Exception, "Exception"},
    {Outcome::SystemException, "SystemException"},
    {Outcome::CallFailed, "CallFailed"},
    {Outcome::OtherFailure, "OtherFailure"},
    {Outcome::LibraryFailed, "LibraryFailed"},
}};

std::string Text(std::string_view tag, std::string_view value) {
  std::string line(tag);
  line += ' ';
  line += std::to_string(value.size());
  line += ':';
  line += value;
  line += '\n';
  return line;
}

std::string Word(std::string_view tag, std::string_view word) {
  return std::string(tag) + " " + std::string(word) + "\n";
}

// The texts of a conversation, in the order they travel.
template <class Conversation>
auto ConversationTexts(Conversation& c) {
  return std::array{&c.exception,
                    &c.reason,
                    &c.fields.host,
                    &c.fields.systemId,
                    &c.fields.release,
                    &c.fields.database,
                    &c.fields.operatingSystem,
                    &c.fields.address,
                    &c.libraryFailure.operation,
                    &c.libraryFailure.key,
                    &c.libraryFailure.status,
                    &c.libraryFailure.message,
                    &c.libraryFailure.internalStatus};
}

// Reads one item at the front of a text: "TAG " then a value, ending with a line feed.
class Items {
 public:
  enum class State { Read, Incomplete, Malformed };

  explicit Items(std::string_view text) : text_(text) {}
  std::size_t consumed() const { return at_; }

  // "TAG WORD\n", the word of letters, digits, '_' and '-'.
  State Word(std::string_view tag, std::string& word) {
    if (State state = Tag(tag); state != State::Read) return state;
    const std::size_t end = text_.find('\n', at_);
    if (end == std::string_view::npos) return text_.size() - at_ > 64 ? Bad() : State::Incomplete;
    word = std::string(text_.substr(at_, end - at_));
    if (word.empty() || word.size() > 64) return Bad();
    for (char c : word) {
      if (!IsWordCharacter(c)) return Bad();
    }
    at_ = end + 1;
    return State::Read;
  }

  // "TAG LENGTH:BYTES\n".
  State Text(std::string_view tag, std::string& text) {
    if (State state = Tag(tag); state != State::Read) return state;
    return Length(text);
  }

  // The tag at the front, whatever it is; nothing while it is incomplete.
  std::optional<std::string_view> PeekTag() const {
    const std::size_t blank = text_.find(' ', at_);
    if (blank == std::string_view::npos) return std::nullopt;
    return text_.substr(at_, blank - at_);
  }

  // "LENGTH:BYTES\n" right at the front.
  State Length(std::string& text) {
    const std::size_t colon = text_.find(':', at_);
    if (colon == std::string_view::npos) return text_.size() - at_ > 8 ? Bad() : State::Incomplete;
    std::size_t length = 0;
    const std::string_view digits = text_.substr(at_, colon - at_);
    if (digits.empty() || digits.size() > 8) return Bad();
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), length);
    if (error != std::errc() || end != digits.data() + digits.size() || length > kLongestText) {
      return Bad();
    }
    if (text_.size() < colon + 1 + length + 1) return State::Incomplete;
    if (text_[colon + 1 + length] != '\n') return Bad();
    text = std::string(text_.substr(colon + 1, length));
    at_ = colon + 1 + length + 1;
    return State::Read;
  }

 private:
  static bool IsWordCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
  }

  State Tag(std::string_view tag) {
    if (text_.size() - at_ < tag.size() + 1) {
      return text_.substr(at_) == std::string(tag).substr(0, text_.size() - at_) ? State::Incomplete
                                                                                 : Bad();
    }
    if (text_.substr(at_, tag.size()) != tag || text_[at_ + tag.size()] != ' ') return Bad();
    at_ += tag.size() + 1;
    return State::Read;
  }

  State Bad() { return State::Malformed; }

  std::string_view text_;
  std::size_t at_ = 0;
};

using State = Items::State;

bool ReadNumber(std::string_view word, int& number) {
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
  return error == std::errc() && end == word.data() + word.size();
}

}  // namespace

std::string EncodeRequest(const ChildRequest& request) {
  std::string text(kRequestHead);
  text += Text("nonce", request.nonce);
  text += Text("parameters", request.parameters);
  text += Text("directory", request.directory);
  for (const std::string& profile : request.profiles) text += Text("profile", profile);
  return text + "end\n";
}

std::optional<ChildRequest> DecodeRequest(std::string_view text) {
  if (!text.starts_with(kRequestHead)) return std::nullopt;
  text.remove_prefix(kRequestHead.size());
  Items items(text);
  ChildRequest request;
  if (items.Text("nonce", request.nonce) != State::Read ||
      items.Text("parameters", request.parameters) != State::Read ||
      items.Text("directory", request.directory) != State::Read) {
    return std::nullopt;
  }
  while (items.PeekTag() == "profile") {
    if (items.Text("profile", request.profiles.emplace_back()) != State::Read) return std::nullopt;
  }
  if (request.profiles.empty() || text.substr(items.consumed()) != "end\n") return std::nullopt;
  return request;
}

std::string EncodeOperation(std::string_view operation) { return Text("operation", operation); }

std::string EncodeConversation(const Conversation& conversation) {
  std::string text;
  for (const OutcomeName& entry : kOutcomes) {
    if (entry.outcome == conversation.outcome) text = Word("outcome", entry.name);
  }
  text += Word("sapRfcIni", conversation.throughSapRfcIni ? "1" : "0");
  for (std::int32_t time : {conversation.times.open, conversation.times.processing,
                            conversation.times.close, conversation.times.response}) {
    text += Word("time", std::to_string(time));
  }
  for (const std::string* value : ConversationTexts(conversation)) text += Text("text", *value);
  return text + "end\n";
}

std::string EncodeEnded(std::string_view message, int exitCode) {
  return Word("ended", std::to_string(exitCode)) + Text("message", message) + "end\n";
}

std::pair<std::string, std::string> EncodeQuit(std::string_view operation) {
  return {Text("quit", operation) + "reason ", "\nend\n"};
}

std::string EncodeNoAnswer(std::string_view operation) {
  return Text("noanswer", operation) + "end\n";
}

bool ChildReportReader::Feed(std::string_view bytes) {
  if (malformed_) return false;
  if (pending_.size() + bytes.size() > kLongestOutput) {
    malformed_ = true;
    return false;
  }
  pending_ += bytes;
  Parse();
  return !malformed_;
}

void ChildReportReader::Parse() {
  while (!pending_.empty() && !malformed_) {
    if (report_.ending) {
      malformed_ = true;  // nothing may follow the end
      return;
    }
    // A tag is letters up to a blank: anything else at the front is no report of the child's.
    const std::size_t letters =
        pending_.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    if (letters == std::string::npos || letters > 32) {
      malformed_ = pending_.size() > 32;
      return;
    }
    if (pending_[letters] != ' ') {
      malformed_ = true;
      return;
    }
    Items items(pending_);
    const std::optional<std::string_view> tag = items.PeekTag();
    ChildReport next = report_;
    State state = State::Malformed;
    std::string word;
    if (*tag == "operation") {
      state = items.Text("operation", next.operations.emplace_back());
      if (next.operations.size() > kMostOperations) state = State::Malformed;
    } else if (*tag == "outcome") {
      state = items.Word("outcome", word);
      Conversation& c = next.conversation;
      bool known = false;
      for (const OutcomeName& entry : kOutcomes) {
        if (entry.name == word) c.outcome = entry.outcome, known = true;
      }
      std::string flag;
      if (state == State::Read) state = known ? items.Word("sapRfcIni", flag) : State::Malformed;
      if (state == State::Read && flag != "0" && flag != "1") state = State::Malformed;
      c.throughSapRfcIni = flag == "1";
      for (std::int32_t* time :
           {&c.times.open, &c.times.processing, &c.times.close, &c.times.response}) {
        if (state == State::Read) state = items.Word("time", word);
        if (state == State::Read && !ReadNumber(word, *time)) state = State::Malformed;
      }
      for (std::string* value : ConversationTexts(c)) {
        if (state == State::Read) state = items.Text("text", *value);
      }
      next.ending = ChildReport::Ending::Conversation;
    } else if (*tag == "quit") {
      state = items.Text("quit", next.operation);
      if (state == State::Read) state = items.Word("reason", next.reason);
      next.ending = ChildReport::Ending::Quit;
    } else if (*tag == "noanswer") {
      state = items.Text("noanswer", next.operation);
      next.ending = ChildReport::Ending::NoAnswer;
    } else if (*tag == "ended") {
      state = items.Word("ended", word);
      if (state == State::Read && !ReadNumber(word, next.exitCode)) state = State::Malformed;
      if (state == State::Read) state = items.Text("message", next.message);
      next.ending = ChildReport::Ending::Ended;
    }
    if (state == State::Read && next.ending) {
      const std::string_view rest = std::string_view(pending_).substr(items.consumed());
      if (rest.size() < 4)
        state = std::string_view("end\n").starts_with(rest) ? State::Incomplete : State::Malformed;
      else if (!rest.starts_with("end\n"))
        state = State::Malformed;
      if (state == State::Read) {
        report_ = std::move(next);
        pending_.erase(0, items.consumed() + 4);
        continue;
      }
    }
    if (state == State::Malformed) malformed_ = true;
    if (state != State::Read) return;
    report_ = std::move(next);
    pending_.erase(0, items.consumed());
  }
}
