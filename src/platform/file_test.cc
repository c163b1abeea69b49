#include "src/platform/file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>

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
    ASSERT_TRUE(file->Write(std::string(5, 'a') + "\n" + std::string(4, 'b') + "\n" +
                            std::string(11, 'c')));
    ASSERT_TRUE(file->Close());
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
  EXPECT_TRUE(full->Write("text"));
  EXPECT_FALSE(full->Close());
#endif
}

TEST(FileTest, ADirectoryIsNoFileToRead) {
  EXPECT_EQ(platform::File::OpenForReading(testing::TempDir()), nullptr);
  EXPECT_FALSE(platform::FileExists(testing::TempDir()));
}

// Appending goes to a regular file only: never through a link to another file, and never
// waiting for a reader of a FIFO, which would hold the run until it is killed.
TEST(FileTest, AppendsToARegularFileAndToNothingElse) {
  namespace fs = std::filesystem;
  const fs::path folder = testsupport::UniqueTempPath("append");
  fs::remove_all(folder);
  fs::create_directories(folder / "a-folder");
  std::ofstream(folder / "regular", std::ios::binary) << "before ";
  std::ofstream(folder / "target", std::ios::binary) << "target";
  struct Case {
    const char* name;
    bool appended;
    std::optional<std::uintmax_t> size;  // FileSize afterwards
  } cases[] = {
      {"missing", true, 5},
      {"regular", true, 12},
      {"a-folder", false, std::nullopt},
#ifndef _WIN32
      {"link", false, std::nullopt},
      {"fifo", false, std::nullopt},
#endif
  };
#ifndef _WIN32
  fs::create_symlink(folder / "target", folder / "link");
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
#endif
  for (const Case& c : cases) {
    const std::string path = (folder / c.name).string();
    EXPECT_EQ(platform::AppendToFile(path, "after"), c.appended) << c.name;
    EXPECT_EQ(platform::FileSize(path), c.size) << c.name;
  }
  std::ifstream target(folder / "target", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(target), {}), "target");
  target.close();
  fs::remove_all(folder);
}

}  // namespace
