// The documents the sensor prints: a system's document, a listing run's pieces and the error
// document, each in the run's flavour.
#include "src/output/document.h"

#include <array>

#include "src/output/channel.h"
#include "src/output/xml_text.h"

namespace {

// The frame literals: XML flavours, then the two text flavours.
struct Frame {
  std::string_view opening;
  std::string_view textOpening;
  std::string_view textClosing;
  std::string_view closing;
};

constexpr Frame kXmlFrame{"\n<Prtg>\n", "\n<Text>", "</Text>\n", "\n</Prtg>\n"};
constexpr Frame kTextFrame{"", "\n# ", "", "\n"};

const Frame& FrameOf(OutputFlavour flavour) {
  return IsXmlFlavour(flavour) ? kXmlFrame : kTextFrame;
}

// Administrators alert on a single run's response time.
constexpr std::int32_t Durations::*kAlertedTime = &Durations::response;

constexpr std::string_view kFailedSystems = "Failed Systems";
constexpr std::string_view kCountUnit = "Count";

std::string LimitMessage(std::string_view item, std::int32_t milliseconds) {
  return std::string(item) + " above " + std::to_string(milliseconds) + " ms";
}

}  // namespace

Document::Document(OutputFlavour flavour, std::optional<std::int32_t> channelSelector,
                   TimeLimits limits)
    : flavour_(flavour), channelSelector_(channelSelector), limits_(limits) {}

Channel Document::TimeChannel(std::string_view key, std::string_view name, std::string_view item,
                              std::int32_t milliseconds, bool limited) const {
  Channel channel = Channel::Custom(key, name, TimeText(milliseconds), kTimeUnit);
  if (!limited) return channel;
  channel.maxWarning = limits_.warning;
  channel.maxError = limits_.error;
  if (limits_.warning) channel.warningMessage = LimitMessage(item, *limits_.warning);
  if (limits_.error) channel.errorMessage = LimitMessage(item, *limits_.error);
  return channel;
}

void Document::AppendText(std::string& document, std::string_view text) const {
  const Frame& frame = FrameOf(flavour_);
  document += frame.textOpening;
  document += IsXmlFlavour(flavour_) ? XmlText(text) : PlainText(text);
  // With a channel selected, Quillon prints nothing but the selected value: closing the text
  // empties everything written so far.
  if (flavour_ == OutputFlavour::Quillon && channelSelector_) {
    document.clear();
    return;
  }
  document += frame.textClosing;
}

void Document::AddChannel(std::string& document, const Channel& channel) {
  ++channelCount_;
  const std::string_view unit = channel.count ? kCountUnit : channel.unit;
  switch (flavour_) {
    case OutputFlavour::Nebulant: {
      const std::string label = ChannelLabel(PlainText(channel.key), PlainText(channel.name));
      document.append("\n\nStatistic.").append(label).append(": ").append(PlainText(channel.value));
      document.append("\nMessage.").append(label).append(": ").append(PlainText(channel.name));
      document.append(" (").append(PlainText(UnitSymbol(unit))).append(")");
      return;
    }
    case OutputFlavour::Quillon:
      if (channelSelector_) {
        if (*channelSelector_ == channelCount_) document.append(PlainText(channel.value));
      } else {
        document.append("\n> ").append(PlainText(channel.name)).append(": ");
        document.append(PlainText(channel.value)).append(" ").append(PlainText(UnitSymbol(unit)));
      }
      return;
    case OutputFlavour::EXEXML:
    case OutputFlavour::Tendril:
    case OutputFlavour::Vigilor:
      document.append("\n<Result><Channel>").append(XmlText(channel.name)).append("</Channel>");
      if (channel.count) {
        document.append("\n<Unit>Count</Unit>");
      } else if (!unit.empty()) {
        document.append("\n<Unit>Custom</Unit>\n<CustomUnit>").append(XmlText(unit));
        document.append("</CustomUnit>");
      }
      document.append("\n<Value>").append(XmlText(channel.value)).append("</Value>");
      if (channel.maxWarning || channel.maxError) {
        document.append("\n<LimitMode>1</LimitMode>");
        if (channel.maxWarning) {
          document.append("\n<LimitMaxWarning>").append(std::to_string(*channel.maxWarning));
          document.append("</LimitMaxWarning>\n<LimitWarningMsg>");
          document.append(XmlText(channel.warningMessage)).append("</LimitWarningMsg>");
        }
        if (channel.maxError) {
          document.append("\n<LimitMaxError>").append(std::to_string(*channel.maxError));
          document.append("</LimitMaxError>\n<LimitErrorMsg>");
          document.append(XmlText(channel.errorMessage)).append("</LimitErrorMsg>");
        }
      }
      document.append("</Result>\n");
      return;
  }
}

std::string Document::SystemDocument(std::string_view systemText, const Durations& times) {
  std::string document(FrameOf(flavour_).opening);
  AppendText(document, systemText);
  for (const DurationChannel& channel : kDurationChannels) {
    AddChannel(document, TimeChannel(channel.key, channel.name, channel.name, times.*channel.time,
                                     channel.time == kAlertedTime));
  }
  document += FrameOf(flavour_).closing;
  return document;
}

std::string Document::ListingHead() {
  listingHeadOut_ = true;
  return std::string(FrameOf(flavour_).opening) + "\n";
}

std::string Document::ListingChannel(std::string_view key, std::string_view name,
                                     std::string_view item, std::int32_t milliseconds) {
  std::string channel;
  AddChannel(channel, TimeChannel(key, name, item, milliseconds, true));
  return channel;
}

std::string Document::FailedSystemsChannel(std::uint32_t failed) {
  Channel channel;
  channel.name = kFailedSystems;
  channel.value = std::to_string(failed);
  channel.count = true;
  channel.maxError = 0;
  channel.errorMessage = "At least one SAP system failed";
  std::string text;
  AddChannel(text, channel);
  return text;
}

std::string Document::ListingSummary(std::string_view summary) {
  std::string ending = "\n";
  AppendText(ending, summary);
  ending += FrameOf(flavour_).closing;
  return ending + "\n";
}

std::string Document::ErrorDocument(std::string_view message) const {
  // The error document has no line feed before "<Prtg>"; after a listing's head the opening
  // stands already.
  std::string document = listingHeadOut_ && IsXmlFlavour(flavour_) ? "" : "<Prtg>\n";
  document += "<Error>1</Error>\n<Text>";
  document += XmlText(message);
  document += "</Text>\n</Prtg>\n";
  return document;
}

LibraryFailureOutput Document::LibraryFailureEnding(const LibraryFailure& failure) const {
  // Once a listing's head is out, the monitor reads that document: it ends with the error flag
  // and what the block would have said, and nothing may follow it.
  if (listingHeadOut_) {
    return {ErrorDocument("RFC error in " + failure.operation + ": " + failure.key + " - " +
                          failure.message),
            ""};
  }
  return {LibraryFailureBlock(failure), std::string(kAbortLines)};
}
