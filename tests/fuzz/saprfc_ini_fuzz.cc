// Fuzz target: how the library reads RfcOpenEx's connect string and SapRfc.ini, up to the
// address it connects to. Input: the connect string, a line feed, then SapRfc.ini's text (no
// line feed: no SapRfc.ini at all).
#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "standin/address.h"
#include "standin/failure.h"
#include "tests/fuzz/property.h"

namespace {

using standin::Failure;
using Values = std::map<std::string, std::string>;

constexpr std::array<std::string_view, 5> kKeys{"CLIENT", "USER", "PASSWD", "LANG", "DEST"};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

// The blanks allowed around SapRfc.ini's keys and values. Restated here, not shared with the
// library, so that a fault in its own trimming shows.
std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The key that begins at `at` as the connect string's grammar has it: at the start or after a
// blank, in any letter case, followed by '='.
std::optional<std::string_view> KeyAt(std::string_view text, std::size_t at) {
  if (at > 0 && text[at - 1] != ' ') return std::nullopt;
  for (std::string_view key : kKeys) {
    if (text.size() > at + key.size() && text[at + key.size()] == '=' &&
        SameLetters(text.substr(at, key.size()), key)) {
      return key;
    }
  }
  return std::nullopt;
}

// Where the value of the first `key` of the text begins.
std::optional<std::size_t> ValueStart(std::string_view text, std::string_view key) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (KeyAt(text, at) == key) return at + key.size() + 1;
  }
  return std::nullopt;
}

// Every key of the text is read, and its value is the text after the first "KEY=" up to the
// end or the blank before the next key, exactly.
void CheckConnectString(std::string_view text, const Values& values) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (auto key = KeyAt(text, at)) {
      fuzz::Require(values.count(std::string(*key)) == 1, "every key of the text is read",
                    std::string(*key));
    }
  }
  for (const auto& [key, value] : values) {
    const std::optional<std::size_t> begin = ValueStart(text, key);
    fuzz::Require(begin.has_value(), "a value read belongs to a key of the text", key);
    const std::size_t end = *begin + value.size();
    fuzz::Require(text.substr(*begin, value.size()) == value, "a value is the text as it stands",
                  key + "=" + value);
    fuzz::Require(end == text.size() || (text[end] == ' ' && KeyAt(text, end + 1)),
                  "a value runs to the end or to the blank before the next key", key);
    for (std::size_t at = *begin + 1; at < end; ++at) {
      fuzz::Require(!KeyAt(text, at), "no value swallows the next key", key + "=" + value);
    }
  }
}

// The block holds the wanted destination, and each of its values stands on a line of the
// file under its key, blanks around both left out.
void CheckBlock(std::string_view ini, std::string_view destination, const Values& block) {
  const auto dest = block.find("DEST");
  fuzz::Require(dest != block.end() && SameLetters(dest->second, Trim(destination)),
                "the block found is the destination's", destination);
  for (const auto& [key, value] : block) {
    bool found = false;
    for (std::string_view rest = ini; !found && !rest.empty();) {
      const std::size_t lineEnd = rest.find('\n');
      const std::string_view line = rest.substr(0, lineEnd);
      rest.remove_prefix(lineEnd == std::string_view::npos ? rest.size() : lineEnd + 1);
      const std::size_t equals = line.find('=');
      found = equals != std::string_view::npos && SameLetters(Trim(line.substr(0, equals)), key) &&
              Trim(line.substr(equals + 1)) == value;
    }
    fuzz::Require(found, "a value of the block stands on a line of the file", key + "=" + value);
  }
}

// What RfcOpenEx would make of the texts: the address, or the failure's texts as the trace
// file and RfcLastError show them. Only a Failure may leave the library's reading.
std::string Outcome(std::string_view connectString, const std::optional<std::string>& ini) {
  try {
    const standin::wire::OpenRequest request =
        standin::RequestFromConnectString(connectString, ini);
    const Values values = standin::ParseConnectString(connectString);
    const auto value = [&values](const char* key) -> std::optional<std::string> {
      auto found = values.find(key);
      if (found == values.end()) return std::nullopt;
      return found->second;
    };
    fuzz::Require(request.connectString == connectString && request.client == value("CLIENT") &&
                      request.user == value("USER") && request.password == value("PASSWD") &&
                      request.language == value("LANG") && request.destination == value("DEST"),
                  "the logon carries the connect string's values as they stand");
    const standin::Endpoint endpoint = standin::EndpointOf(request);
    fuzz::Require(
        !endpoint.host.empty() && Trim(endpoint.host) == endpoint.host && endpoint.port != 0,
        "an address has a host without blanks around it and a port", endpoint.host);
    fuzz::Require(endpoint.host == Trim(request.gatewayHost.value_or("")) ||
                      endpoint.host == Trim(request.host.value_or("")),
                  "the host is the gateway host or the application server", endpoint.host);
    return "address " + endpoint.host + ":" + std::to_string(endpoint.port);
  } catch (const Failure& failure) {
    return "failure " + failure.key() + "\n" + failure.what() + "\n" + failure.detail();
  } catch (const std::exception& error) {
    fuzz::Require(false, "only Failure leaves the reading of a connect string", error.what());
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lineEnd = input.find('\n');
  const std::string connectString(input.substr(0, lineEnd));
  std::optional<std::string> ini;
  if (lineEnd != std::string_view::npos) ini.emplace(input.substr(lineEnd + 1));

  const Values values = standin::ParseConnectString(connectString);
  CheckConnectString(connectString, values);
  if (ini) {
    const auto dest = values.find("DEST");
    const std::string destination = dest == values.end() ? "" : dest->second;
    if (auto block = standin::FindDestination(*ini, destination)) {
      CheckBlock(*ini, destination, *block);
    }
  }

  // The password must not reach a failure's texts: with the password's characters replaced,
  // each by another that starts no key, everything must come out the same.
  const std::string outcome = Outcome(connectString, ini);
  const auto password = values.find("PASSWD");
  if (password != values.end() && !password->second.empty()) {
    std::string masked = connectString;
    const std::size_t begin = *ValueStart(connectString, "PASSWD");
    for (std::size_t i = begin; i < begin + password->second.size(); ++i) {
      masked[i] = masked[i] == '#' ? '%' : '#';
    }
    fuzz::Require(Outcome(masked, ini) == outcome,
                  "the outcome does not depend on the password's characters",
                  "password " + password->second + "\n  " + outcome);
  }
  return 0;
}
