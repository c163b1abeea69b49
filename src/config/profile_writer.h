// Composing a profile file for one system, as sapprofile writes it: the fixed-column lines the
// sensor reads, with the password in its stored form.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "src/config/password.h"
#include "src/config/system_entry.h"

// The connection modes the sensor knows: R/2 connects through the gateway, R/3 to the host.
inline constexpr std::array<std::string_view, 2> kConnectionModes{"R/3", "R/2"};

// Whether a password may end in blanks. Typed on purpose they are part of it; but cmd's
// "echo secret | sapprofile ..." hands over "secret " with the blank before the bar, and the
// logon fails much later, far from the cause. So they are kept only when asked for.
enum class TrailingBlanks { Refused, Kept };

// One key line: the key, a blank, the value.
std::string EntryLine(std::string_view key, std::string_view value);

struct ComposedProfile {
  std::string text;                   // empty when there are refusals
  std::vector<std::string> refusals;  // what the sensor would not accept, or not read back
  std::vector<std::string> warnings;  // what only a listing run refuses
};

// The profile for `values`, whose Password is the plain password. Refused: a value longer than
// the sensor reads, one with a control character, one shorter than a single run allows, a
// password without a stored form, and one ending in a blank unless such blanks are kept.
// `variation` is handed to ScramblePassword.
ComposedProfile ComposeProfile(const SystemEntry& values, const PasswordKey& key,
                               std::uint32_t variation, TrailingBlanks trailingBlanks);
