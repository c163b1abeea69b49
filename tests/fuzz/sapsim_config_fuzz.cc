// Fuzz target: sapsim's configuration. Whatever the text, only ConfigError leaves ParseConfig
// and it names the file; what it accepts holds the values the text gives, as the JSON reader
// itself reads them.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "standin/sapsim_config.h"
#include "tests/fuzz/property.h"

namespace {

using nlohmann::json;
using standin::SystemConfig;

constexpr std::string_view kFile = "fuzz.json";

// A JSON integer and a value read from it are the same number. The JSON library's own
// comparison would take 2^64 - 1 for -1.
bool SameNumber(const json& number, std::int64_t value) {
  if (number.is_number_unsigned()) {
    return value >= 0 && number.get<std::uint64_t>() == static_cast<std::uint64_t>(value);
  }
  return number.is_number_integer() && number.get<std::int64_t>() == value;
}

void CheckSystem(const json& entry, const SystemConfig& system) {
  const std::string name = system.name;
  fuzz::Require(entry.at("name") == system.name, "a system's name is the text's", name);
  fuzz::Require(SameNumber(entry.value("port", json(0)), system.port), "the port is the text's",
                name);

  const json delays = entry.value("delays", json::object());
  fuzz::Require(SameNumber(delays.value("open", json(0)), system.openDelay.count()) &&
                    SameNumber(delays.value("call", json(0)), system.callDelay.count()) &&
                    SameNumber(delays.value("close", json(0)), system.closeDelay.count()),
                "the delays are the text's", name);

  const json answer = entry.value("answer", json::object());
  if (answer.contains("exception")) {
    fuzz::Require(system.answerCode == 2 && answer["exception"] == system.exception,
                  "an exception is answered with code 2 and its name", name);
  } else if (answer.contains("system_exception")) {
    fuzz::Require(system.answerCode == 3 && answer["system_exception"] == system.exception,
                  "a system exception is answered with code 3 and its name", name);
  } else {
    fuzz::Require(SameNumber(answer.value("code", json(0)), system.answerCode) &&
                      system.answerCode != 2 && system.answerCode != 3,
                  "the answer code is the text's, never one that needs a name", name);
  }
  fuzz::Require(system.exception.size() <= standin::wire::kMaxExceptionName,
                "an exception name fits the frame that carries it", system.exception);

  const json rfcsi = entry.value("rfcsi", json::object());
  for (const auto& [field, value] : rfcsi.items()) {
    const standin::RfcsiField layout = *standin::FindRfcsiField(field);
    std::string expected = value.get<std::string>().substr(0, layout.length);
    expected.resize(layout.length, ' ');
    fuzz::Require(
        std::string_view(system.systemInfo.data() + layout.offset, layout.length) == expected,
        "an RFCSI field holds the text's value, blank-padded or cut", field);
  }
  fuzz::Require(system.logons.size() == entry.value("logons", json::array()).size(),
                "every logon is read", name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<SystemConfig> systems;
  try {
    systems = standin::ParseConfig(text, std::string(kFile));
  } catch (const standin::ConfigError& error) {
    const std::string_view message = error.what();
    fuzz::Require(message.substr(0, kFile.size() + 2) == std::string(kFile) + ": ",
                  "a refusal begins with the file's name", message);
    return 0;
  } catch (const std::exception& error) {
    fuzz::Require(false, "only ConfigError leaves ParseConfig", error.what());
  }

  const json document = json::parse(text);
  const json& entries = document.at("systems");
  fuzz::Require(entries.size() == systems.size(), "every system is read");
  for (std::size_t i = 0; i < systems.size(); ++i) CheckSystem(entries[i], systems[i]);
  return 0;
}
