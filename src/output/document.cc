// The documents the sensor prints: a system's document, a listing run's pieces and the error
// document, each in the run's flavour.
#include "src/output/document.h"

#include <array>

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

// A single run's channels, in the order Quillon numbers them; administrators alert on the
// response time.
struct SystemChannel {
  std::string_view key;
  std::string_view name;
  std::int32_t Durations::*time;
  bool limited;
};
constexpr SystemChannel kSystemChannels[] = {
    {"RFC_Open", "RFC-Open Time", &Durations::open, false},
    {"Processing", "Processing Time", &Durations::processing, false},
    {"RFC_Close", "RFC-Close Time", &Durations::close, false},
    {"Response_Time", "Response Time", &Durations::response, true},
};

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
  for (const SystemChannel& channel : kSystemChannels) {
    AddChannel(document, TimeChannel(channel.key, channel.name, channel.name, times.*channel.time,
                                     channel.limited));
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

RfcErrorOutput Document::RfcError(const RfcErrorTexts& error) const {
  // Once a listing's head is out, the monitor reads that document: it ends with the error flag
  // and what the block would have said, and nothing may follow it.
  if (listingHeadOut_) {
    return {
        ErrorDocument("RFC error in " + error.operation + ": " + error.key + " - " + error.message),
        ""};
  }
  return {RfcErrorBlock(error), std::string(kAbortLines)};
}

namespace {

// What Windows-1252 makes of the bytes 0x80 to 0x9F; 0, a control character like any other,
// for the five it leaves undefined. The
// bytes from 0xA0 on are the code points of the same number.
constexpr std::array<char32_t, 32> kWindows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Windows1252(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kWindows1252High[byte - 0x80];
  return byte;
}

// The length of the well-formed UTF-8 sequence at the start of `text` (no overlong form, no
// surrogate, nothing above U+10FFFF), and its code point; 0 when none starts there.
std::size_t Utf8Sequence(std::string_view text, char32_t& codePoint) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1Fu, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0Fu, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07u, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0u) != 0x80u) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    return 0;
  }
  return length;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  const auto put = [&out](char32_t bits) { out += static_cast<char>(bits); };
  if (codePoint < 0x80) {
    put(codePoint);
  } else if (codePoint < 0x800) {
    put(0xC0 | (codePoint >> 6));
    put(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    put(0xE0 | (codePoint >> 12));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  } else {
    put(0xF0 | (codePoint >> 18));
    put(0x80 | ((codePoint >> 12) & 0x3F));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  }
}

// Control characters have no place in a document's text; XML 1.0 allows tab, line feed and
// carriage return among them, and refuses U+FFFE and U+FFFF as well.
bool IsXmlControl(char32_t c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0x7F && c <= 0x9F) ||
         c == 0xFFFE || c == 0xFFFF;
}

}  // namespace

std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    std::size_t length = Utf8Sequence(text.substr(i), c);
    if (length == 0) {
      // Not UTF-8: a profile saved by a Windows editor, or a system that is no Unicode system.
      c = Windows1252(static_cast<unsigned char>(text[i]));
      length = 1;
    }
    i += length;
    if (IsXmlControl(c)) {
      out += ' ';
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::string PlainText(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return out;
}
