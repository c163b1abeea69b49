// A client of the NetWeaver library for tests and the benchmark: opens a connection to HOST at
// PORT, asks for RFC_SYSTEM_INFO, reads the fields the sensor shows and closes. Prints each
// field as NAME=value (UTF-8, without its padding), or the operation that failed with the
// error record's code, key and message, and then exits with 1.
#include <cstdio>
#include <cstdlib>

#include "standin/nwrfc_client.h"

namespace {

std::string Text(std::u16string_view text) { return standin::Utf8FromUtf16(text); }

int Failed(const char* operation, const nwrfc::RFC_ERROR_INFO& error) {
  std::printf("%s %d %s: %s\n", operation, static_cast<int>(error.code), Text(error.key).c_str(),
              Text(error.message).c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: nwrfc_client HOST PORT\n");
    return 2;
  }
  nwrfc::RFC_ERROR_INFO error{};
  nwrfc::RFC_CONNECTION_HANDLE connection =
      nwrfctest::Open(nwrfctest::LogonTo(argv[1], std::atoi(argv[2])), error);
  if (connection == nullptr) return Failed("RfcOpenConnection", error);
  const nwrfctest::Conversation c = nwrfctest::Converse(connection);
  if (nwrfc::RfcCloseConnection(connection, &error) != nwrfc::RFC_OK) {
    return Failed("RfcCloseConnection", error);
  }
  if (!c.failedIn.empty()) return Failed(c.failedIn.c_str(), c.error);
  for (std::size_t i = 0; i < c.fields.size(); ++i) {
    std::u16string value = c.fields[i];
    value.erase(value.find_last_not_of(u' ') + 1);
    std::printf("%s=%s\n", Text(nwrfctest::kShownFields[i].first).c_str(), Text(value).c_str());
  }
  return 0;
}
