// sapsim's configuration.
#include "standin/sapsim_config.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace standin {
namespace {

using nlohmann::json;

constexpr std::int64_t kMaxDelay = 600000;

// A JSON value and the path that leads to it, for messages such as
// "sapsim.json: systems[0].delays.open: must be an integer from 0 to 600000".
class Field {
 public:
  Field(const json& value, std::string path, std::string file)
      : value_(value), path_(std::move(path)), file_(std::move(file)) {}

  [[noreturn]] void Fail(const std::string& problem) const {
    throw ConfigError(file_ + ": " + (path_.empty() ? "" : path_ + ": ") + problem);
  }
  const json& value() const { return value_; }

  std::optional<Field> Member(const std::string& key) const {
    if (!value_.contains(key)) return std::nullopt;
    return Field(value_.at(key), path_.empty() ? key : path_ + "." + key, file_);
  }
  // An object whose members are all among `known`.
  void ExpectObject(std::initializer_list<std::string_view> known) const {
    if (!value_.is_object()) Fail("must be an object");
    for (const auto& [key, member] : value_.items()) {
      if (std::find(known.begin(), known.end(), key) == known.end()) {
        Field(member, path_.empty() ? key : path_ + "." + key, file_).Fail("unknown field");
      }
    }
  }
  std::vector<Field> Elements() const {
    if (!value_.is_array()) Fail("must be an array");
    std::vector<Field> elements;
    for (std::size_t i = 0; i < value_.size(); ++i) {
      elements.emplace_back(value_[i], path_ + "[" + std::to_string(i) + "]", file_);
    }
    return elements;
  }
  std::string String() const {
    if (!value_.is_string()) Fail("must be a string");
    return value_.get<std::string>();
  }
  std::int64_t Integer(std::int64_t low, std::int64_t high) const {
    // The reader keeps integers above the signed range as unsigned; read as signed, 2^64 - 1
    // would pass as -1.
    const bool fits = value_.is_number_unsigned()
                          ? value_.get<std::uint64_t>() <=
                                static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                          : value_.is_number_integer();
    if (!fits || value_.get<std::int64_t>() < low || value_.get<std::int64_t>() > high) {
      Fail("must be an integer from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return value_.get<std::int64_t>();
  }

 private:
  const json& value_;
  std::string path_;
  std::string file_;
};

std::string ExceptionName(const Field& field) {
  std::string name = field.String();
  if (name.empty() || name.size() > wire::kMaxExceptionName) {
    field.Fail("must be an exception name of 1 to 30 characters");
  }
  return name;
}

void ReadAnswer(const Field& answer, SystemConfig& system) {
  answer.ExpectObject({"code", "exception", "system_exception", "message"});
  const auto code = answer.Member("code");
  const auto exception = answer.Member("exception");
  const auto systemException = answer.Member("system_exception");
  if (int(code.has_value()) + int(exception.has_value()) + int(systemException.has_value()) > 1) {
    answer.Fail("give one of code, exception and system_exception");
  }
  if (code) {
    system.answerCode = static_cast<std::int32_t>(code->Integer(
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    if (system.answerCode == 2 || system.answerCode == 3) {
      code->Fail("codes 2 and 3 are given as exception and system_exception with their name");
    }
  } else if (exception) {
    system.answerCode = 2;
    system.exception = ExceptionName(*exception);
  } else if (systemException) {
    system.answerCode = 3;
    system.exception = ExceptionName(*systemException);
  }
  if (auto message = answer.Member("message")) system.message = message->String();
}

void ReadFault(const Field& entry, SystemConfig& system) {
  static const std::pair<std::string_view, Fault> kFaults[] = {
      {"refuse_call", Fault::RefuseCall},
      {"drop_on_call", Fault::DropOnCall},
      {"hang_on_call", Fault::HangOnCall},
      {"garbage_on_call", Fault::GarbageOnCall},
  };
  if (auto fault = entry.Member("fault")) {
    const std::string name = fault->String();
    auto known = std::find_if(std::begin(kFaults), std::end(kFaults),
                              [&name](const auto& row) { return row.first == name; });
    if (known == std::end(kFaults)) {
      fault->Fail("must be one of refuse_call, drop_on_call, hang_on_call, garbage_on_call");
    }
    system.fault = known->second;
  }
  if (auto during = entry.Member("fault_during")) {
    if (system.fault == Fault::None || system.fault == Fault::RefuseCall) {
      during->Fail("applies to drop_on_call, hang_on_call and garbage_on_call only");
    }
    const std::string operation = during->String();
    if (operation != "RfcCall" && operation != "RfcReceive") {
      during->Fail("must be RfcCall or RfcReceive");
    }
    system.faultDuring = operation == "RfcCall" ? FaultDuring::Call : FaultDuring::Receive;
  }
}

SystemConfig ReadSystem(const Field& entry) {
  entry.ExpectObject(
      {"name", "port", "rfcsi", "logons", "delays", "answer", "fault", "fault_during"});
  SystemConfig system;
  const auto name = entry.Member("name");
  if (!name) entry.Fail("a system needs a name");
  system.name = name->String();
  if (system.name.empty() || std::any_of(system.name.begin(), system.name.end(), [](char c) {
        return std::isspace(static_cast<unsigned char>(c)) != 0;
      })) {
    name->Fail("must be a name without blanks");
  }
  if (auto port = entry.Member("port"))
    system.port = static_cast<std::uint16_t>(port->Integer(0, 65535));

  if (auto rfcsi = entry.Member("rfcsi")) {
    if (!rfcsi->value().is_object()) rfcsi->Fail("must be an object");
    for (const auto& item : rfcsi->value().items()) {
      const Field member = *rfcsi->Member(item.key());
      const auto layout = FindRfcsiField(item.key());
      if (!layout) member.Fail("is not a field of RFCSI");
      SetRfcsiField(system.systemInfo, *layout, member.String());
    }
  }
  if (auto logons = entry.Member("logons")) {
    for (const Field& logon : logons->Elements()) {
      logon.ExpectObject({"client", "user", "password"});
      Logon accepted;
      if (auto client = logon.Member("client")) accepted.client = client->String();
      if (auto user = logon.Member("user")) accepted.user = user->String();
      if (auto password = logon.Member("password")) accepted.password = password->String();
      system.logons.push_back(accepted);
    }
  }
  if (auto delays = entry.Member("delays")) {
    delays->ExpectObject({"open", "call", "close"});
    const auto delay = [&delays](const char* key) {
      auto value = delays->Member(key);
      return std::chrono::milliseconds(value ? value->Integer(0, kMaxDelay) : 0);
    };
    system.openDelay = delay("open");
    system.callDelay = delay("call");
    system.closeDelay = delay("close");
  }
  if (auto answer = entry.Member("answer")) ReadAnswer(*answer, system);
  ReadFault(entry, system);
  return system;
}

// Finds where the reader gave up on a text; only the place of the error is of interest.
class ErrorPlace : public json::json_sax_t {
 public:
  std::optional<std::size_t> offset;

  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t position, const std::string&, const json::exception&) override {
    offset = position;
    return false;
  }
};

// "line L, column C" of the byte before `offset`, as the reader counts for its syntax errors.
std::string LineAndColumn(const std::string& text, std::size_t offset) {
  const std::string_view before = std::string_view(text).substr(0, offset);
  const std::size_t lineStart = before.rfind('\n');
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t column = lineStart == std::string_view::npos ? offset : offset - lineStart - 1;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

std::string WithoutPadding(const std::optional<std::string>& text) {
  std::string value = text.value_or("");
  value.erase(value.find_last_not_of(' ') + 1);
  return value;
}

bool SameLetters(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) ==
           std::toupper(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::vector<SystemConfig> ParseConfig(const std::string& text, const std::string& fileName) {
  json document;
  try {
    document = json::parse(text);
  } catch (const json::parse_error& error) {
    throw ConfigError(fileName + ": not valid JSON: " + error.what());
  } catch (const json::exception& error) {
    // A number too large for a double passes the grammar, but the reader throws out_of_range
    // for it and tells no place; a second reading finds it.
    ErrorPlace place;
    json::sax_parse(text, &place);
    throw ConfigError(fileName + ": not valid JSON: " + error.what() +
                      (place.offset ? " at " + LineAndColumn(text, *place.offset) : ""));
  }
  Field root(document, "", fileName);
  root.ExpectObject({"systems"});
  const auto systemsField = root.Member("systems");
  if (!systemsField) root.Fail("systems: missing, the list of simulated systems");
  std::vector<SystemConfig> systems;
  std::set<std::string> names;
  std::map<std::uint16_t, std::string> ports;
  for (const Field& entry : systemsField->Elements()) {
    SystemConfig system = ReadSystem(entry);
    if (!names.insert(system.name).second) {
      entry.Member("name")->Fail(system.name + " names two systems");
    }
    if (system.port != 0 && !ports.emplace(system.port, system.name).second) {
      entry.Member("port")->Fail(std::to_string(system.port) + " is already the port of " +
                                 ports[system.port]);
    }
    systems.push_back(std::move(system));
  }
  if (systems.empty()) systemsField->Fail("must name at least one system");
  return systems;
}

std::vector<SystemConfig> LoadConfig(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ConfigError(path + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return ParseConfig(text.str(), path);
}

bool AcceptsLogon(const SystemConfig& system, const wire::OpenRequest& request) {
  if (system.logons.empty()) return true;
  const std::string client = WithoutPadding(request.client);
  const std::string user = WithoutPadding(request.user);
  const std::string password = WithoutPadding(request.password);
  return std::any_of(system.logons.begin(), system.logons.end(), [&](const Logon& logon) {
    return (!logon.client || *logon.client == client) &&
           (!logon.user || SameLetters(*logon.user, user)) &&
           (!logon.password || *logon.password == password);
  });
}

std::optional<std::string> LogonRefusal(const SystemConfig& system,
                                        const wire::OpenRequest& request) {
  struct Unsupported {
    std::string_view name;
    std::optional<std::string_view> value;  // nothing: any value but blanks
    std::string_view reason;
  };
  static constexpr Unsupported kUnsupported[] = {
      {"MSHOST", std::nullopt, "has no message server (MSHOST)"},
      {"SAPROUTER", std::nullopt, "cannot be reached through a router (SAPROUTER)"},
      {"SNC_MODE", "1", "has no secure network communication (SNC_MODE=1)"},
  };
  const std::string refused = "logon to " + system.name + " refused: ";
  for (const wire::Parameter& parameter :
       request.parameters.value_or(std::vector<wire::Parameter>{})) {
    std::string value = parameter.value;
    value.erase(0, value.find_first_not_of(' '));
    value.erase(value.find_last_not_of(' ') + 1);
    for (const Unsupported& unsupported : kUnsupported) {
      if (SameLetters(parameter.name, std::string(unsupported.name)) && !value.empty() &&
          (!unsupported.value || value == *unsupported.value)) {
        return refused + system.name + " " + std::string(unsupported.reason);
      }
    }
  }
  if (!AcceptsLogon(system, request)) return refused + "client, user or password incorrect";
  return std::nullopt;
}

}  // namespace standin
