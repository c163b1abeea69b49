#include "src/config/discovery.h"

#include <gtest/gtest.h>

#include "tests/support/temp_path.h"

namespace {

TEST(DiscoveryTest, AHintLineCountsByItsFirstThreeCharacters) {
  struct Case {
    const char* line;
    bool counts;
  } cases[] = {
      {"C:\\Monitor", true}, {"\\Monitor", true}, {"D:", true}, {"ab\\c", true},
      {"Monitor", false},    {"", false},         {"C", false}, {"/C:/x", false},
      {"ab/c", false},       {" C:\\x", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsHintLine(c.line), c.counts) << c.line;
}

TEST(DiscoveryTest, TheLastCountingHintLineWinsAndAnOverlongLineIsNoHint) {
  const std::string path = testsupport::UniqueTempPath("PRTG_Path.Txt");
  const std::string fits = "C:\\" + std::string(96, 'f');  // 99 characters
  const std::string overlong = "D:\\" + std::string(97, 'o');
  struct Case {
    std::string text;
    std::string directory;
  } cases[] = {
      {"C:\\First\nMonitor\n\\Second\r\nno hint\n", "\\Second"},
      {"E:\\Last", "E:\\Last"},
      {"Monitor\n", ""},
      {fits + "\r\n", fits},
      {fits + "\n" + overlong + "\n", fits},
      {overlong + "\r\n", ""},
      {"C:\\x\nD:\\" + std::string(300, 'z') + "\n", "C:\\x"},
  };
  for (const Case& c : cases) {
    {
      auto file = platform::File::OpenForWriting(path, platform::FileMode::Binary);
      ASSERT_TRUE(file && file->Write(c.text));
    }
    auto file = platform::File::OpenForReading(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(LastHintedDirectory(*file), c.directory) << c.text;
  }
}

TEST(DiscoveryTest, ACustomSensorDirectoryEndsInExeXmlAndOneCharacter) {
  struct Case {
    const char* directory;
    bool valid;
  } cases[] = {
      {"C:\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\", true},
      {"D:\\x\\EXEXML\\", true},
      {"exexml\\", true},
      {"exexml/", true},
      {"D:\\x\\ExeXml", false},
      {"D:\\x\\ExeXmlFiles\\", false},
      {"xml\\", false},
      {"", false},
      {"\\", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsCustomSensorDirectory(c.directory), c.valid) << c.directory;
  }
}

}  // namespace
