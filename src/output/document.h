// The documents the sensor prints: a system's document, a listing run's pieces and the error
// document, each in the run's flavour.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "src/output/console.h"
#include "src/output/flavour.h"

struct RfcErrorOutput {
  std::string beforeClose;
  std::string afterClose;
};

// One run's documents. It counts the channels of the whole run, on which Quillon's channel
// selection ("CH=n": only the n-th channel writes, and only its value) rests, and it knows
// whether a listing's head is out already, so that an error ends that document instead of
// starting a second one.
class Document {
 public:
  Document() = default;
  Document(OutputFlavour flavour, std::optional<std::int32_t> channelSelector);

  OutputFlavour flavour() const { return flavour_; }

  // A single run's system that answered: its text, then the open, processing, close and
  // response times.
  std::string SystemDocument(std::string_view systemText, const Durations& times);

  // A listing run prints its head first, then each system's channel as soon as it is measured,
  // then the summary that ends the document.
  std::string ListingHead();
  std::string ListingChannel(std::string_view key, std::string_view name,
                             std::int32_t milliseconds);
  std::string ListingSummary(std::string_view summary);

  // The error document around a message, in every flavour; once a listing's head is out, the
  // ending of that document with the error flag and the message.
  std::string ErrorDocument(std::string_view message) const;

  // What is printed when the library reports a failure through its error handler: before the
  // library closes its connections, and after. A single run prints the library's error block;
  // a listing run ends its open document with the error.
  RfcErrorOutput RfcError(const RfcErrorTexts& error) const;

  // Appends one channel in the run's flavour and counts it, whether or not anything is
  // written: an XML Result element, a Nebulant "Statistic."/"Message." pair, a Quillon "> "
  // line or, with a channel selected, the selected channel's bare value.
  void AddChannel(std::string& document, std::string_view key, std::string_view name,
                  std::string_view value, std::string_view unit);

 private:
  void AppendText(std::string& document, std::string_view text) const;

  OutputFlavour flavour_ = OutputFlavour::EXEXML;
  std::optional<std::int32_t> channelSelector_;
  std::int32_t channelCount_ = 0;
  bool listingHeadOut_ = false;
};

// Every text that goes into an element of an XML document: '&', '<' and '>' escaped, so that a
// profile name or a field of the remote system can neither break the document nor add elements
// to it; control characters other than tab, line feed and carriage return made blanks; and a
// byte that starts no valid UTF-8 read as Windows-1252 (the code page of the probes' editors and
// of remote systems that are no Unicode systems) and written as UTF-8. Valid UTF-8 passes.
std::string XmlText(std::string_view text);
// Every text of the Nebulant and Quillon forms: control characters made blanks, so that a line
// feed inside a value cannot forge a line; other bytes as they are.
std::string PlainText(std::string_view text);
