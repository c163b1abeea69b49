// The frames: what is sent arrives as sent, and nothing that is cut, stretched or made up
// parses.
#include "standin/wire.h"

#include <gtest/gtest.h>

namespace standin::wire {
namespace {

std::vector<Message> Samples() {
  OpenRequest open;
  open.operation = "RfcOpen";
  open.destination = "PRD";
  open.user = "MONITOR     ";
  open.password = "pass word ";
  open.mode = 0;
  open.systemNumber = 0;
  open.gatewayService = "sapgw00";
  CallResult result;
  result.code = -7;
  result.exception = std::string(kMaxExceptionName, 'X');
  result.currentResources = 0x01020304;
  result.loginComplete = 'X';
  SetRfcsiField(result.systemInfo, *FindRfcsiField("RFCSI_RESV"), std::string(44, '\xff'));
  OpenRequest netWeaver;
  netWeaver.operation = "RfcOpenConnection";
  netWeaver.host = "127.0.0.1";
  netWeaver.parameters = {{"ASHOST", "127.0.0.1"}, {"passwd", "pass w\xc3\xb6rd"}, {"", ""}};
  return {open,
          CallRequest{"RFC_SYSTEM_INFO"},
          CloseRequest{},
          OpenReply{false, "no"},
          CallReply{true, ""},
          result,
          CloseReply{},
          netWeaver,
          LookupRequest{"RFC_SYSTEM_INFO"},
          LookupReply{false, "function module Z not found"}};
}

std::span<const std::uint8_t> Payload(const Frame& frame) {
  return std::span<const std::uint8_t>(frame).subspan(kHeaderSize);
}

std::string Describe(const Message& m) { return "message kind " + std::to_string(m.index()); }

TEST(WireTest, EveryMessageArrivesAsSent) {
  for (const Message& sent : Samples()) {
    SCOPED_TRACE(Describe(sent));
    std::optional<Frame> frame = Encode(sent);
    ASSERT_TRUE(frame);
    Header header;
    std::copy_n(frame->begin(), kHeaderSize, header.begin());
    EXPECT_EQ(PayloadLength(header), frame->size() - kHeaderSize);
    std::optional<Message> received = Decode(Payload(*frame));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->index(), sent.index());
    // Encoding again gives the same bytes only if every field came through.
    EXPECT_EQ(Encode(*received), frame);
  }
}

TEST(WireTest, AbsentTextStaysAbsentAndEmptyTextStaysEmpty) {
  OpenRequest open;
  open.host = "";
  std::optional<Message> received = Decode(Payload(*Encode(open)));
  const auto& back = std::get<OpenRequest>(*received);
  EXPECT_EQ(back.host, std::optional<std::string>(""));
  EXPECT_EQ(back.gatewayHost, std::nullopt);
  EXPECT_EQ(back.systemNumber, std::nullopt);
}

TEST(WireTest, ParameterListsKeepOrderAndTheirLimit) {
  OpenRequest open;
  std::optional<Message> received = Decode(Payload(*Encode(open)));
  EXPECT_EQ(std::get<OpenRequest>(*received).parameters, std::nullopt) << "a classic open";
  open.parameters.emplace();
  received = Decode(Payload(*Encode(open)));
  EXPECT_EQ(std::get<OpenRequest>(*received).parameters, std::vector<Parameter>{})
      << "a NetWeaver open without parameters";

  for (std::size_t i = 0; i < kMaxParameters; ++i) {
    open.parameters->push_back({"N" + std::to_string(i), std::to_string(kMaxParameters - i)});
  }
  const Frame longest = *Encode(open);
  received = Decode(Payload(longest));
  ASSERT_TRUE(received);
  EXPECT_EQ(std::get<OpenRequest>(*received).parameters, open.parameters);
  // The entries end the frame, each a name and a value with their lengths; the count's last
  // byte stands right before them.
  std::size_t entries = 0;
  for (const Parameter& p : *open.parameters) entries += 8 + p.name.size() + p.value.size();
  const std::size_t countAt = longest.size() - entries - 1;

  open.parameters->push_back({"ONE", "TOO MANY"});
  EXPECT_FALSE(Encode(open));
  Frame tooMany = longest;
  ASSERT_EQ(tooMany[countAt], kMaxParameters);
  tooMany[countAt] = kMaxParameters + 1;
  tooMany.insert(tooMany.end(), {0, 0, 0, 0, 0, 0, 0, 0});  // an empty name and value
  EXPECT_FALSE(Decode(Payload(tooMany))) << "the same entries with the count one higher";
}

TEST(WireTest, NoCutPayloadParses) {
  for (const Message& sent : Samples()) {
    SCOPED_TRACE(Describe(sent));
    Frame frame = *Encode(sent);
    auto payload = Payload(frame);
    for (std::size_t length = 0; length < payload.size(); ++length) {
      EXPECT_FALSE(Decode(payload.first(length))) << "cut at " << length;
    }
  }
}

TEST(WireTest, BrokenPayloadsDoNotParse) {
  const Frame call = *Encode(CallRequest{"RFC_SYSTEM_INFO"});
  const Frame open = *Encode(OpenRequest{});
  struct Case {
    const char* what;
    std::vector<std::uint8_t> payload;
  };
  auto withTrailingByte = std::vector<std::uint8_t>(Payload(call).begin(), Payload(call).end());
  withTrailingByte.push_back(0);
  auto badPresence = std::vector<std::uint8_t>(Payload(open).begin(), Payload(open).end());
  badPresence[5] = 2;  // after the kind and the empty operation text: the destination's flag
  const Case cases[] = {
      {"empty", {}},
      {"kind 0", {0}},
      {"kind past the last message", {static_cast<std::uint8_t>(std::variant_size_v<Message> + 1)}},
      {"text longer than the payload", {2, 0, 0, 0, 9, 'R', 'F', 'C'}},
      {"text longer than any text may be", {2, 0xff, 0xff, 0xff, 0xff}},
      {"a byte after the last field", withTrailingByte},
      {"presence flag neither 0 nor 1", badPresence},
  };
  for (const Case& c : cases) EXPECT_FALSE(Decode(c.payload)) << c.what;
}

TEST(WireTest, ExceptionNamesLongerThanSapAllowsAreNeitherSentNorRead) {
  CallResult result;
  result.code = 2;
  result.exception = std::string(kMaxExceptionName, 'X');
  const Frame longest = *Encode(result);
  ASSERT_TRUE(Decode(Payload(longest)));

  // A name one character longer: sapsim must not send what the library then calls malformed.
  result.exception += 'X';
  EXPECT_FALSE(Encode(result));
  // The same frame made by hand: the code, then the name's length and its characters.
  Frame tooLong = longest;
  const std::size_t lengthByte = kHeaderSize + 1 + 4 + 3;
  tooLong[lengthByte] = static_cast<std::uint8_t>(kMaxExceptionName + 1);
  tooLong.insert(tooLong.begin() + static_cast<std::ptrdiff_t>(lengthByte + 1), 'X');
  EXPECT_FALSE(Decode(Payload(tooLong)));
}

TEST(WireTest, HeaderAnnouncesOnlyPayloadsThatMayBeRead) {
  EXPECT_EQ(PayloadLength({0, 0, 0, 0}), std::nullopt);
  EXPECT_EQ(PayloadLength({0, 0, 0x40, 0x00}), kMaxPayload);
  EXPECT_EQ(PayloadLength({0, 0, 0x40, 0x01}), std::nullopt);
  EXPECT_EQ(PayloadLength({0xff, 0xff, 0xff, 0xff}), std::nullopt);
}

TEST(WireTest, TextsTooLongToSendAreNotEncoded) {
  EXPECT_FALSE(Encode(CallRequest{std::string(kMaxText + 1, 'F')}));
  EXPECT_TRUE(Encode(CallRequest{std::string(kMaxText, 'F')}));
  OpenRequest huge;  // every text at its limit: the payload outgrows the frame
  for (auto* text : {&huge.destination, &huge.client, &huge.user, &huge.password, &huge.language,
                     &huge.host, &huge.gatewayHost, &huge.gatewayService, &huge.connectString}) {
    *text = std::string(kMaxText, 'v');
  }
  EXPECT_FALSE(Encode(huge));
}

}  // namespace
}  // namespace standin::wire
