// What a client of the NetWeaver library does to ask a system for RFC_SYSTEM_INFO, written once
// for the tests and nwrfc_client: open, look the function up, create, invoke, read the fields
// the sensor shows from RFCSI_EXPORT, destroy.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "src/rfc/sapnwrfc.h"
#include "standin/sapucum.h"

namespace nwrfctest {

using Parameters = std::vector<std::pair<std::u16string, std::u16string>>;

// The fields of RFCSI the sensor shows, with their lengths.
inline const std::vector<std::pair<std::u16string, unsigned>> kShownFields = {
    {u"RFCHOST", 8},   {u"RFCSYSID", 8},  {u"RFCSAPRL", 4},
    {u"RFCDBSYS", 10}, {u"RFCOPSYS", 10}, {u"RFCIPADDR", 15},
};

// A logon to one application server, the port given as the gateway service.
inline Parameters LogonTo(const std::string& host, int port) {
  return {{u"ASHOST", standin::Utf16FromBytes(host)},
          {u"SYSNR", u"00"},
          {u"GWSERV", standin::Utf16FromBytes(std::to_string(port))},
          {u"CLIENT", u"100"},
          {u"USER", u"MONITOR"},
          {u"PASSWD", u"secret"},
          {u"LANG", u"EN"}};
}

inline nwrfc::RFC_CONNECTION_HANDLE Open(const Parameters& parameters,
                                         nwrfc::RFC_ERROR_INFO& error) {
  std::vector<nwrfc::RFC_CONNECTION_PARAMETER> list;
  for (const auto& [name, value] : parameters) list.push_back({name.c_str(), value.c_str()});
  return nwrfc::RfcOpenConnection(list.data(), static_cast<unsigned>(list.size()), &error);
}

struct Conversation {
  std::string failedIn;  // the operation that failed; empty when every one succeeded
  nwrfc::RFC_ERROR_INFO error{};
  std::vector<std::u16string> fields;  // as read, blank-padded, in the order of kShownFields
};

inline Conversation Converse(nwrfc::RFC_CONNECTION_HANDLE connection) {
  Conversation c;
  const auto failed = [&c](const char* operation) {
    c.failedIn = operation;
    return c;
  };
  nwrfc::RFC_FUNCTION_DESC_HANDLE description =
      nwrfc::RfcGetFunctionDesc(connection, u"RFC_SYSTEM_INFO", &c.error);
  if (description == nullptr) return failed("RfcGetFunctionDesc");
  nwrfc::RFC_FUNCTION_HANDLE function = nwrfc::RfcCreateFunction(description, &c.error);
  if (function == nullptr) return failed("RfcCreateFunction");
  nwrfc::RFC_ERROR_INFO ignored{};
  if (nwrfc::RfcInvoke(connection, function, &c.error) != nwrfc::RFC_OK) {
    nwrfc::RfcDestroyFunction(function, &ignored);
    return failed("RfcInvoke");
  }
  nwrfc::RFC_STRUCTURE_HANDLE structure = nullptr;
  if (nwrfc::RfcGetStructure(function, u"RFCSI_EXPORT", &structure, &c.error) != nwrfc::RFC_OK) {
    nwrfc::RfcDestroyFunction(function, &ignored);
    return failed("RfcGetStructure");
  }
  for (const auto& [name, length] : kShownFields) {
    std::u16string value(length, u'?');
    if (nwrfc::RfcGetChars(structure, name.c_str(), value.data(), length, &c.error) !=
        nwrfc::RFC_OK) {
      nwrfc::RfcDestroyFunction(function, &ignored);
      return failed("RfcGetChars");
    }
    c.fields.push_back(value);
  }
  nwrfc::RfcDestroyFunction(function, &ignored);
  return c;
}

}  // namespace nwrfctest
