// The documents the sensor prints: a system's document, a listing run's pieces and the error
// document, each in the run's flavour.
#include "src/output/document.h"

#include "src/output/channel.h"

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

// A single run's channels, in the order Quillon numbers them.
struct TimeChannel {
  std::string_view key;
  std::string_view name;
  std::int32_t Durations::*time;
};
constexpr TimeChannel kSystemChannels[] = {
    {"RFC_Open", "RFC-Open Time", &Durations::open},
    {"Processing", "Processing Time", &Durations::processing},
    {"RFC_Close", "RFC-Close Time", &Durations::close},
    {"Response_Time", "Response Time", &Durations::response},
};

}  // namespace

Document::Document(OutputFlavour flavour, std::optional<std::int32_t> channelSelector)
    : flavour_(flavour), channelSelector_(channelSelector) {}

void Document::AppendText(std::string& document, std::string_view text) const {
  const Frame& frame = FrameOf(flavour_);
  document += frame.textOpening;
  document += IsXmlFlavour(flavour_) ? XmlText(text) : std::string(text);
  // With a channel selected, Quillon prints nothing but the selected value: closing the text
  // empties everything written so far.
  if (flavour_ == OutputFlavour::Quillon && channelSelector_) {
    document.clear();
    return;
  }
  document += frame.textClosing;
}

void Document::AddChannel(std::string& document, std::string_view key, std::string_view name,
                          std::string_view value, std::string_view unit) {
  ++channelCount_;
  switch (flavour_) {
    case OutputFlavour::Nebulant: {
      const std::string label = ChannelLabel(key, name);
      document.append("\n\nStatistic.").append(label).append(": ").append(value);
      document.append("\nMessage.").append(label).append(": ").append(name);
      document.append(" (").append(UnitSymbol(unit)).append(")");
      return;
    }
    case OutputFlavour::Quillon:
      if (channelSelector_) {
        if (*channelSelector_ == channelCount_) document.append(value);
      } else {
        document.append("\n> ").append(name).append(": ").append(value);
        document.append(" ").append(UnitSymbol(unit));
      }
      return;
    case OutputFlavour::EXEXML:
    case OutputFlavour::Tendril:
    case OutputFlavour::Vigilor:
      document.append("\n<Result><Channel>").append(XmlText(name)).append("</Channel>");
      if (!unit.empty()) {
        document.append("\n<Unit>Custom</Unit>\n<CustomUnit>").append(XmlText(unit));
        document.append("</CustomUnit>");
      }
      document.append("\n<Value>").append(XmlText(value)).append("</Value></Result>\n");
      return;
  }
}

std::string Document::SystemDocument(std::string_view systemText, const Durations& times) {
  std::string document(FrameOf(flavour_).opening);
  AppendText(document, systemText);
  for (const TimeChannel& channel : kSystemChannels) {
    AddChannel(document, channel.key, channel.name, TimeText(times.*channel.time), kTimeUnit);
  }
  document += FrameOf(flavour_).closing;
  return document;
}

std::string Document::ListingHead() {
  listingHeadOut_ = true;
  return std::string(FrameOf(flavour_).opening) + "\n";
}

std::string Document::ListingChannel(std::string_view key, std::string_view name,
                                     std::int32_t milliseconds) {
  std::string channel;
  AddChannel(channel, key, name, TimeText(milliseconds), kTimeUnit);
  return channel;
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

RfcErrorOutput Document::RfcError(const RfcErrorTexts& error) const {
  return {RfcErrorBlock(error), std::string(kAbortLines)};
}

std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}
