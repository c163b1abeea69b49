// The companion library's conversions: a remote system's bytes read as the sensor's documents
// read them, UTF-16 written back as UTF-8, and neither writing past the room it is given.
#include "standin/sapucum.h"

#include <gtest/gtest.h>

#include "src/output/xml_text.h"

namespace standin {
namespace {

struct Case {
  std::string bytes;
  std::u16string text;
};

// Bytes that are no UTF-8 among those that are, as a system that is no Unicode system sends
// them.
const Case kFromBytes[] = {
    {"PRD", u"PRD"},
    {"PRD\xc4", u"PRD\u00c4"},                              // Windows-1252: PRDÄ
    {"\x80 \x9f \xa0\xff", u"\u20ac \u0178 \u00a0\u00ff"},  // €, Ÿ, and the bytes from 0xA0 on
    {"\x81\x8d\x8f\x90\x9d", u"\u0081\u008d\u008f\u0090\u009d"},  // undefined in Windows-1252
    {"M\xc3\xbcller \xe2\x82\xac \xf0\x9f\x98\x80", u"M\u00fcller \u20ac \U0001F600"},
    {"\xc0\xaf", u"\u00c0\u00af"},                      // an overlong form: two bytes of 1252
    {"\xed\xa0\x80", u"\u00ed\u00a0\u20ac"},            // a surrogate
    {"\xe2\x82", u"\u00e2\u201a"},                      // cut short at the end
    {"\xf4\x90\x80\x80", u"\u00f4\u0090\u20ac\u20ac"},  // above U+10FFFF
    {std::string("a\0\x01\x7f", 4), std::u16string(u"a\0\u0001\u007f", 4)},
};

TEST(SapucumTest, BytesBecomeUtf16AsTheSensorsDocumentsReadThem) {
  for (const Case& c : kFromBytes) {
    EXPECT_EQ(Utf16FromBytes(c.bytes), c.text) << c.bytes;
    // Through either library the sensor shows the same: what the classic one hands over as
    // bytes, and what it makes of this one's UTF-16 as UTF-8.
    EXPECT_EQ(XmlText(Utf8FromUtf16(c.text)), XmlText(c.bytes)) << c.bytes;
  }
}

TEST(SapucumTest, Utf16BecomesUtf8AndALoneSurrogateTheReplacementCharacter) {
  const Case cases[] = {
      {"ASHOST", u"ASHOST"},
      {"pass w\xc3\xb6rd \xe2\x82\xac \xf0\x9f\x98\x80", u"pass w\u00f6rd \u20ac \U0001F600"},
      {"a\xef\xbf\xbd"
       "b",
       u"a\xd800"
       u"b"},                                         // a high surrogate alone
      {"\xef\xbf\xbd\xef\xbf\xbd", u"\xdc00\xd800"},  // in the wrong order
      {"x\xef\xbf\xbd", u"x\xd83d"},                  // cut before its partner
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8FromUtf16(c.text), c.bytes) << c.bytes;
}

TEST(SapucumTest, ConversionsWriteNoMoreThanTheRoomGivenAndTellWhatTheWholeTakes) {
  const std::string bytes = "M\xc3\xbcller \xf0\x9f\x98\x80";  // 9 units, the last two a pair
  std::u16string units(10, u'#');
  EXPECT_EQ(SapUcFromBytes(bytes.data(), bytes.size(), units.data(), 3), 9u);
  EXPECT_EQ(units, u"M\u00fcl#######");
  EXPECT_EQ(SapUcFromBytes(bytes.data(), bytes.size(), nullptr, 0), 9u);

  const std::u16string text = u"\u00fc\U0001F600";  // 2 + 4 bytes
  std::string out(8, '#');
  EXPECT_EQ(SapUcToUtf8(text.data(), text.size(), out.data(), 3), 6u);
  EXPECT_EQ(out, "\xc3\xbc\xf0#####");
  EXPECT_EQ(SapUcToUtf8(text.data(), text.size(), nullptr, 0), 6u);
}

}  // namespace
}  // namespace standin
