// The password for a profile, as sapprofile reads it: from standard input, or typed twice at a
// prompt without echo. Never from the command line, where every user of the machine can read it.
#pragma once

#include <optional>
#include <string>

// The first line of standard input without its line end (LF or CR LF), or what is typed twice
// at the prompt when standard input is a terminal; nothing (with the reason on standard error)
// when there is none or the two differ.
std::optional<std::string> ReadPassword();
