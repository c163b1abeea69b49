// The result document: its frame in each flavour, and the error document.
#include "src/output/document.h"

namespace {

// The frame literals: XML flavours, then the two text flavours.
struct Frame {
  std::string_view opening;
  std::string_view text_opening;
  std::string_view text_closing;
  std::string_view closing;
};

constexpr Frame kXmlFrame{"\n<Prtg>\n", "\n<Text>", "</Text>\n", "\n</Prtg>\n"};
constexpr Frame kTextFrame{"", "\n# ", "", "\n"};

const Frame& FrameOf(OutputFlavour flavour) {
  return IsXmlFlavour(flavour) ? kXmlFrame : kTextFrame;
}

}  // namespace

void OpenDocument(RunContext& run) { run.ResultDocument = FrameOf(run.Flavour).opening; }

void OpenText(RunContext& run) { run.ResultDocument += FrameOf(run.Flavour).text_opening; }

void CloseText(RunContext& run) {
  // With a channel selected, Quillon prints nothing but the selected value.
  if (run.Flavour == OutputFlavour::Quillon &&
      run.Parameters.upper.find("CH=") != std::string::npos) {
    run.ResultDocument.clear();
    return;
  }
  run.ResultDocument += FrameOf(run.Flavour).text_closing;
}

void CloseDocument(RunContext& run) { run.ResultDocument += FrameOf(run.Flavour).closing; }

void WriteErrorDocument(RunContext& run, std::string_view message) {
  // The message may be the document's own text (a failed single run), so the new document is
  // composed apart before it replaces the old one.
  std::string document = "<Prtg>\n<Error>1</Error>\n<Text>";
  document += XmlText(message);
  document += "</Text>\n</Prtg>\n";
  run.ResultDocument = std::move(document);
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

std::string DocumentText(const RunContext& run, std::string_view text) {
  return IsXmlFlavour(run.Flavour) ? XmlText(text) : std::string(text);
}
