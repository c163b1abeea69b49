// Measured values as channels of the result document.
#include "src/output/channel.h"

#include <cstdlib>

#include "src/output/console.h"
#include "src/output/document.h"

namespace {

// The channel number n of "CH=n": at most three characters, stopping before a comma, read as
// atoi reads them.
std::int32_t ChannelSelector(const ParameterText& parameters, std::size_t at) {
  std::string digits;
  for (std::size_t i = at; i < parameters.typed.size() && digits.size() < 3; ++i) {
    if (parameters.typed[i] == ',') break;
    digits += parameters.typed[i];
  }
  return static_cast<std::int32_t>(std::atoi(digits.c_str()));
}

}  // namespace

std::string ChannelLabel(std::string_view key, std::string_view name) {
  std::string label(key.empty() ? name : key);
  for (char& c : label) {
    if (c == ' ' || c == '/' || c == '\\') c = '_';
  }
  if (auto dot = label.find('.'); dot != std::string::npos) label[dot] = '_';
  return label;
}

std::string UnitSymbol(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return std::string(unit);
}

void AddChannel(RunContext& run, std::string_view key, std::string_view name,
                std::string_view value, std::string_view unit) {
  ++run.ChannelCount;
  const std::string label = ChannelLabel(key, name);
  std::string& document = run.ResultDocument;
  switch (run.Flavour) {
    case OutputFlavour::Nebulant:
      document.append("\n\nStatistic.").append(label).append(": ").append(value);
      document.append("\nMessage.").append(label).append(": ").append(name);
      document.append(" (").append(UnitSymbol(unit)).append(")");
      return;
    case OutputFlavour::Quillon:
      if (auto at = run.Parameters.upper.find("CH="); at != std::string::npos) {
        if (ChannelSelector(run.Parameters, at + 3) == run.ChannelCount) document.append(value);
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

void PrintChannelAtOnce(RunContext& run, std::string_view key, std::string_view name,
                        std::string_view value) {
  run.ResultDocument.clear();
  AddChannel(run, key, name, value, kTimeUnit);
  Print(run.ResultDocument);
  run.ResultDocument.clear();
}
