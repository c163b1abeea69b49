#include "src/run/child_protocol.h"

#include <gtest/gtest.h>

namespace {

Conversation Hostile() {
  Conversation conversation;
  conversation.outcome = Outcome::Exception;
  conversation.throughSapRfcIni = true;
  conversation.times = {16, 2, -3, 2147483647};
  conversation.exception = "NOT\nFOUND";
  conversation.reason = " - 12:end\ntime 1\n";
  conversation.fields = {std::string("h\0st", 4), "operation 4:xxxx", "", "D", "O", "1.2.3.4"};
  conversation.libraryFailure = {"RfcReceive", "K", "S", "M\r\n", "end"};
  return conversation;
}

TEST(ChildProtocolTest, ARequestTravelsWhole) {
  const ChildRequest request{"nonce",
                             "ITEM=Response:Time, x",
                             "C:\\Program Files\\ExeXml\\",
                             {"A.P00", "B C.P00\nprofile 1:x", "QAS.P00"}};
  const std::optional<ChildRequest> read = DecodeRequest(EncodeRequest(request));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->nonce, request.nonce);
  EXPECT_EQ(read->parameters, request.parameters);
  EXPECT_EQ(read->directory, request.directory);
  EXPECT_EQ(read->profiles, request.profiles);
}

TEST(ChildProtocolTest, OnlyAWholeRequestIsTaken) {
  const std::string whole = EncodeRequest({"n", "p", "d", {"A.P00"}});
  for (const std::string& broken :
       {std::string(), whole.substr(0, whole.size() - 1), whole + "x",
        std::string("sapsysinfo-request 2\n") + whole.substr(21),
        EncodeRequest({"n", "p", "d", {}}), whole.substr(0, 30) + "9" + whole.substr(31)}) {
    EXPECT_FALSE(DecodeRequest(broken).has_value()) << broken;
  }
}

// Whatever the texts hold, the report reads back as it was sent, also when it arrives a byte
// at a time.
TEST(ChildProtocolTest, AReportReadsBackWhateverItsTextsHold) {
  const Conversation sent = Hostile();
  const std::string output =
      EncodeOperation("RfcOpen") + EncodeOperation("Rfc\nCall") + EncodeConversation(sent);
  for (const std::size_t piece : {output.size(), std::size_t{1}, std::size_t{7}}) {
    ChildReportReader reader;
    for (std::size_t at = 0; at < output.size(); at += piece) {
      EXPECT_TRUE(reader.Feed(output.substr(at, piece))) << at;
      EXPECT_EQ(reader.report().ending.has_value(), at + piece >= output.size()) << at;
    }
    const ChildReport& report = reader.report();
    EXPECT_EQ(report.operations, (std::vector<std::string>{"RfcOpen", "Rfc\nCall"}));
    ASSERT_EQ(report.ending, ChildReport::Ending::Conversation);
    const Conversation& got = report.conversation;
    EXPECT_EQ(got.outcome, sent.outcome);
    EXPECT_EQ(got.throughSapRfcIni, sent.throughSapRfcIni);
    EXPECT_EQ(got.times.close, sent.times.close);
    EXPECT_EQ(got.times.response, sent.times.response);
    EXPECT_EQ(got.exception, sent.exception);
    EXPECT_EQ(got.reason, sent.reason);
    EXPECT_EQ(got.fields.host, sent.fields.host);
    EXPECT_EQ(got.fields.systemId, sent.fields.systemId);
    EXPECT_EQ(got.libraryFailure.message, sent.libraryFailure.message);
    EXPECT_EQ(got.libraryFailure.internalStatus, sent.libraryFailure.internalStatus);
  }
}

TEST(ChildProtocolTest, EveryOtherEndingReadsBack) {
  const auto [head, tail] = EncodeQuit("RfcCall");
  ChildReportReader quit;
  ASSERT_TRUE(quit.Feed(head + "SIGSEGV" + tail));
  EXPECT_EQ(quit.report().ending, ChildReport::Ending::Quit);
  EXPECT_EQ(quit.report().operation, "RfcCall");
  EXPECT_EQ(quit.report().reason, "SIGSEGV");

  ChildReportReader noAnswer;
  ASSERT_TRUE(noAnswer.Feed(EncodeNoAnswer("RfcReceive")));
  EXPECT_EQ(noAnswer.report().ending, ChildReport::Ending::NoAnswer);
  EXPECT_EQ(noAnswer.report().operation, "RfcReceive");

  ChildReportReader ended;
  ASSERT_TRUE(ended.Feed(EncodeEnded("Error 1047: RFC-Library librfc32.so not found !", 2)));
  EXPECT_EQ(ended.report().ending, ChildReport::Ending::Ended);
  EXPECT_EQ(ended.report().message, "Error 1047: RFC-Library librfc32.so not found !");
  EXPECT_EQ(ended.report().exitCode, 2);
}

// A library that prints into the child's output, a length that lies, anything after the end:
// the report is malformed, and stays so.
TEST(ChildProtocolTest, AnythingElseIsMalformed) {
  const std::string report = EncodeConversation(Hostile());
  for (const std::string& output :
       {"a library's own words\n" + report, EncodeOperation("RfcCall") + "hello\n",
        std::string("operation 99999999999:x\n"), std::string("operation 3:abcd\n"),
        std::string("outcome Whatever\n"), report + EncodeOperation("RfcClose"),
        EncodeOperation("x") + "quit 1:x\nreason a b\nend\n", std::string(40, 'x')}) {
    ChildReportReader reader;
    EXPECT_FALSE(reader.Feed(output)) << output;
    EXPECT_TRUE(reader.malformed()) << output;
    EXPECT_FALSE(reader.Feed(report));
  }
}

}  // namespace
