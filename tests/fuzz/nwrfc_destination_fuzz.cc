// Fuzz target: how the sensor reads the per-destination file SapRfc.<DEST> into the NetWeaver
// library's connection parameters. Input: the destination, a line feed, then the file's text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "src/rfc/nwrfc_parameters.h"
#include "tests/fuzz/property.h"

namespace {

// The parameters a block may give, and the four every open ends with.
constexpr std::array<std::string_view, 14> kBlockParameters{
    "ASHOST", "SYSNR",     "GWHOST",   "GWSERV",          "MSHOST",  "MSSERV",     "SYSID",
    "GROUP",  "SAPROUTER", "SNC_MODE", "SNC_PARTNERNAME", "SNC_QOP", "SNC_MYNAME", "SNC_LIB"};

bool IsBlockParameter(std::string_view name) {
  for (std::string_view known : kBlockParameters) {
    if (known == name) return true;
  }
  return false;
}

// Restated here, not shared with the sensor, so that a fault in its own comparison shows.
std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lineEnd = input.find('\n');
  if (lineEnd == std::string_view::npos) return 0;
  Logon logon;
  logon.destination = std::string(input.substr(0, lineEnd));
  logon.client = "100";
  logon.user = "MONITOR";
  logon.password = "pass word";
  logon.language = "E";
  const std::string_view text = input.substr(lineEnd + 1);

  const std::optional<NwRfcParameters> parameters = ParametersOfDestination(text, logon);
  fuzz::Require(parameters == ParametersOfDestination(text, logon),
                "the same text, the same result");
  if (!parameters) return 0;

  fuzz::Require(text.size() <= kLongestSapRfcFile, "a file too long gives no block");
  fuzz::Require(Upper(text).find("DEST") != std::string::npos &&
                    Upper(text).find(Upper(logon.destination)) != std::string::npos,
                "a block is found only where the text names the destination", logon.destination);
  // The block's parameters, each once, then the logon's four as the classic connect string has
  // them, whatever the block says of them.
  fuzz::Require(parameters->size() >= 4, "the logon's parameters end every block's");
  const std::size_t blockEnd = parameters->size() - 4;
  const NwRfcParameters logonPart(parameters->begin() + static_cast<std::ptrdiff_t>(blockEnd),
                                  parameters->end());
  fuzz::Require(
      logonPart ==
          NwRfcParameters{
              {"CLIENT", "100"}, {"USER", "MONITOR"}, {"PASSWD", "pass word"}, {"LANG", "D"}},
      "CLIENT, USER, PASSWD and LANG=D end the parameters");
  std::set<std::string> seen;
  for (std::size_t i = 0; i < blockEnd; ++i) {
    const auto& [name, value] = (*parameters)[i];
    fuzz::Require(IsBlockParameter(name), "only the known keys are passed", name);
    fuzz::Require(seen.insert(name).second, "each parameter is passed once", name);
    fuzz::Require(!value.empty() && value.size() <= kLongestSapRfcValue,
                  "a value is neither empty nor longer than the bound", name);
    fuzz::Require(value.find('\n') == std::string::npos && value.front() != ' ' &&
                      value.back() != ' ' && value.back() != '\r',
                  "a value is one line, without the blanks around it", name + "=" + value);
    fuzz::Require(text.find(value) != std::string_view::npos, "a value stands in the file",
                  name + "=" + value);
  }
  return 0;
}
