// The console lines' texts that come from the parameter text and the profile.
#include "src/output/console_text.h"

#include <algorithm>

#include "src/platform/text.h"

std::string SingleRunConsoleParameters(std::string_view typed) {
  std::string_view text = typed;
  for (std::string_view mark : {"#", "@", "$", "%"}) text = platform::CutAt(text, mark);
  if (text == "(Parameters " || text == "(No ") text = {};
  if (text.empty()) text = "(No Parameters)";
  return std::string(platform::CutAt(text, " $"));
}

std::string SapRfcIniLine(std::string_view destination) {
  return "* SapRfc.Ini.......: " + std::string(destination) + "<\n";
}

std::string ListingConsoleParameters(std::string_view typed) {
  std::string text(typed);
  std::replace(text.begin(), text.end(), ':', ' ');
  return std::string(platform::CutAt(text, " @"));
}
