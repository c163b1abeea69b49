// The console lines' texts that come from the parameter text and the profile.
#pragma once

#include <string>
#include <string_view>

// The parameter text on a single run's "State=Executing" line: cut at the console marks,
// "(No Parameters)" when nothing is left.
std::string SingleRunConsoleParameters(std::string_view typed);

// "* SapRfc.Ini.......: DEST<": the connection goes through SapRfc.ini.
std::string SapRfcIniLine(std::string_view destination);

// The parameter text on a listing run's "State=Executing" line: every ':' a blank, cut before
// " @".
std::string ListingConsoleParameters(std::string_view typed);
