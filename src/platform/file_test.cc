#include "src/platform/file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_path.h"

namespace {

TEST(MapWindowsPathTest, MapsDrivesTheCurrentDriveAndRelativePaths) {
  struct Case {
    const char* path;
    const char* drives;
    const char* cwd;
    const char* expected;
  } cases[] = {
      {"C:\\PRTG_Path.Txt", "/t/drives", "/t/drives/d/work", "/t/drives/c/PRTG_Path.Txt"},
      {"D:\\Sensors\\PRD.P00", "/t/drives/", "/x", "/t/drives/d/Sensors/PRD.P00"},
      {"\\Program Files\\PRTG", "/t/drives", "/t/drives/d/work", "/t/drives/d/Program Files/PRTG"},
      {"\\Program Files\\PRTG", "/t/drives", "/elsewhere", "/t/drives/c/Program Files/PRTG"},
      {"\\x", "/t/drives", "/t/drives/e", "/t/drives/e/x"},
      {"sub\\PRD.P00", "/t/drives", "/t/drives/c/work", "/t/drives/c/work/sub/PRD.P00"},
      {"C:\\a\\b", "", "/w", "/a/b"},
      {"\\a", "", "/w", "/a"},
      {"PRD.P00", "", "/w", "/w/PRD.P00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::MapWindowsPath(c.path, c.drives, c.cwd), c.expected) << c.path;
  }
}

TEST(MapWindowsPathTest, AHostPathBelowTheDrivesIsShownAsItsWindowsPath) {
  struct Case {
    const char* hostPath;
    const char* drives;
    const char* expected;
  } cases[] = {
      {"/t/drives/c/work/PRD.P00", "/t/drives", "C:\\work\\PRD.P00"},
      {"/t/drives/d/x/./y/../PRD.P00", "/t/drives/", "D:\\x\\PRD.P00"},
      {"/t/drives/cc/PRD.P00", "/t/drives", "/t/drives/cc/PRD.P00"},
      {"/t/drivesx/c/PRD.P00", "/t/drives", "/t/drivesx/c/PRD.P00"},
      {"/home/me/PRD.P00", "/t/drives", "/home/me/PRD.P00"},
      {"/home/me/./PRD.P00", "", "/home/me/PRD.P00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::WindowsPathOfHostPath(c.hostPath, c.drives), c.expected) << c.hostPath;
    // What is shown maps back to the same file.
    EXPECT_EQ(platform::MapWindowsPath(platform::WindowsPathOfHostPath(c.hostPath, c.drives),
                                       c.drives, "/w"),
              std::filesystem::path(c.hostPath).lexically_normal().generic_string())
        << c.hostPath;
  }
}

TEST(StripLineEndTest, RemovesOneLineFeedThenOneCarriageReturn) {
  EXPECT_EQ(platform::StripLineEnd("abc\r\n"), "abc");
  EXPECT_EQ(platform::StripLineEnd("abc\n"), "abc");
  EXPECT_EQ(platform::StripLineEnd("abc\r"), "abc");
  EXPECT_EQ(platform::StripLineEnd("abc\n\n"), "abc\n");
  EXPECT_EQ(platform::StripLineEnd("abc \r\r\n"), "abc \r");
}

TEST(FileTest, ReadsLongLinesInPiecesOfTheLimit) {
  const std::string path = testsupport::UniqueTempPath("pieces.txt");
  {
    auto file = platform::File::OpenForWriting(path, platform::FileMode::Binary);
    ASSERT_TRUE(file);
    file->Write(std::string(5, 'a') + "\n" + std::string(4, 'b') + "\n" + std::string(11, 'c'));
  }
  auto file = platform::File::OpenForReading(path);
  ASSERT_TRUE(file);
  std::vector<std::string> pieces;
  while (auto piece = file->ReadPiece(5)) pieces.push_back(*piece);
  EXPECT_EQ(pieces, (std::vector<std::string>{"aaaaa", "\n", "bbbb\n", "ccccc", "ccccc", "c"}));
  file.reset();  // Windows deletes no file that is still open
  platform::RemoveFile(path);
  EXPECT_FALSE(platform::FileExists(path));
  platform::RemoveFile(path);  // a missing file is no error
}

TEST(FileTest, CloseTellsWhetherTheWritesReachedTheFile) {
  const std::string path = testsupport::UniqueTempPath("closed.txt");
  auto file = platform::File::OpenForWriting(path);
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->Write("text"));
  EXPECT_TRUE(file->Close());
  EXPECT_TRUE(file->Close());  // a second close gives the first one's answer
  platform::RemoveFile(path);

#ifndef _WIN32
  // A full disk: the buffered write seems to succeed, and only the close tells.
  auto full = platform::File::OpenForWriting("/dev/full");
  ASSERT_TRUE(full);
  full->Write("text");
  EXPECT_FALSE(full->Close());
#endif
}

TEST(FileTest, ADirectoryIsNoFileToRead) {
  EXPECT_EQ(platform::File::OpenForReading(testing::TempDir()), nullptr);
  EXPECT_FALSE(platform::FileExists(testing::TempDir()));
}

}  // namespace
