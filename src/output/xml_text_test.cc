#include "src/output/xml_text.h"

#include <gtest/gtest.h>

namespace {

TEST(XmlTextTest, WritesOnlyWhatXmlAllowsAndReadsOtherBytesAsWindows1252) {
  const std::pair<std::string, std::string> cases[] = {
      {"a<b>&c", "a&lt;b&gt;&amp;c"},
      {"tab\tline\nreturn\r", "tab\tline\nreturn\r"},
      {std::string("\x01\x02\x1b\0x\x7f", 6), "    x "},
      {"PRD\xc4", "PRD\xc3\x84"},              // a profile saved as Windows-1252: PRDÄ
      {"\x80 \x9f", "\xe2\x82\xac \xc5\xb8"},  // €, Ÿ
      {"\x81\x8d\x8f\x90\x9d", "     "},       // undefined in Windows-1252
      {"M\xc3\xbcller \xe2\x82\xac \xf0\x9f\x98\x80",
       "M\xc3\xbcller \xe2\x82\xac \xf0\x9f\x98\x80"},
      {"\xc2\x85", " "},                                 // a C1 control, well encoded
      {"\xef\xbf\xbe\xef\xbf\xbf", "  "},                // U+FFFE, U+FFFF
      {"\xc0\xaf", "\xc3\x80\xc2\xaf"},                  // an overlong form: two bytes of 1252
      {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"},  // a surrogate
      {"\xe2\x82", "\xc3\xa2\xe2\x80\x9a"},              // cut short at the end
      {"\xf4\x90\x80\x80", "\xc3\xb4 \xe2\x82\xac\xe2\x82\xac"},  // above U+10FFFF
  };
  for (const auto& [text, xml] : cases) EXPECT_EQ(XmlText(text), xml) << text;
}

TEST(PlainTextTest, ControlCharactersBecomeBlanksAndOtherBytesStay) {
  EXPECT_EQ(PlainText(std::string("a\nb\r\tc\0\x7f\xc4<&", 11)), "a b  c  \xc4<&");
}

}  // namespace
