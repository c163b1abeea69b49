// The logon parameters handed to the NetWeaver library's RfcOpenConnection: from the system's
// profile as the classic library's open options take them, or, where the sensor's directory
// holds the per-destination file SapRfc.<DEST>, from that file's block for the destination as
// the classic library reads it from SapRfc.ini.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "src/rfc/logon.h"

// Name and value, in the order they are handed over.
using NwRfcParameters = std::vector<std::pair<std::string, std::string>>;

// The longest per-destination file and value the sensor reads; a longer one is no block of a
// destination's.
inline constexpr std::size_t kLongestSapRfcFile = std::size_t{64} * 1024;
inline constexpr std::size_t kLongestSapRfcValue = 1024;

// ASHOST (the host, or ,HOST=), SYSNR (the system number's two digits, or ,NO='s), CLIENT,
// USER, PASSWD, LANG, and GWHOST and GWSERV where the profile names a gateway; an R/2 system is
// reached through its gateway alone. Empty values are left out, as the classic open passes
// none.
NwRfcParameters ParametersOfLogon(const Logon& logon);

// The keys of the destination's block (the lines from "DEST=" and its name, in any letter case,
// to the next "DEST=") that address a system, a router or encryption, under the library's names
// (R3NAME is SYSID), then CLIENT, USER, PASSWD and LANG=D as the classic connect string gives
// them. Keys it does not know are left out. Nothing when the text holds no such block, or one
// that cannot be read (a value too long).
std::optional<NwRfcParameters> ParametersOfDestination(std::string_view sapRfcText,
                                                       const Logon& logon);
