#include "src/platform/shared_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/temp_path.h"

namespace {

#ifdef _WIN32
constexpr const char* kStandIn = "librfc32.dll";
#else
constexpr const char* kStandIn = "librfc32.so";
#endif

TEST(ProgramFolderTest, HoldsTheRunningProgram) {
  const std::string folder = platform::ProgramFolder();
  const std::string file = platform::ProgramFile();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(folder.back() == '/' || folder.back() == '\\') << folder;
  EXPECT_EQ(file.substr(0, folder.size()), folder);
  EXPECT_NE(file.find("sensor_unit_tests", folder.size()), std::string::npos) << file;
  EXPECT_TRUE(std::filesystem::is_regular_file(std::u8string(file.begin(), file.end()))) << file;
}

TEST(SharedLibraryTest, LoadsALibraryAndFindsItsSymbolsByPlainName) {
  const std::string path = platform::ProgramFolder() + kStandIn;
  platform::LibraryLoadError error;
  platform::SharedLibrary library = platform::SharedLibrary::Open(path, error);
  ASSERT_TRUE(library) << error.reason;
  EXPECT_NE(library.Find("RfcOpen"), nullptr);
  EXPECT_NE(library.Find("RfcClose"), nullptr);
  EXPECT_EQ(library.Find("RfcNoSuchOperation"), nullptr);
  EXPECT_EQ(library.File(), path);
}

TEST(SharedLibraryTest, TellsAMissingFileFromOneThatDoesNotLoad) {
  const std::string notALibrary = testsupport::UniqueTempPath(kStandIn);
  std::ofstream(notALibrary) << "a text file, not a library\n";
  struct Case {
    std::string pathOrName;
    bool notFound;
    std::string file;  // the file the error names
  } cases[] = {
      {platform::ProgramFolder() + "librfc32-nowhere.lib", true,
       platform::ProgramFolder() + "librfc32-nowhere.lib"},
      {"librfc32-nowhere.lib", true, ""},
      {notALibrary, false, notALibrary},
  };
  for (const Case& c : cases) {
    platform::LibraryLoadError error;
    EXPECT_FALSE(platform::SharedLibrary::Open(c.pathOrName, error)) << c.pathOrName;
    EXPECT_EQ(error.notFound, c.notFound) << c.pathOrName << ": " << error.reason;
    EXPECT_EQ(error.file, c.file) << c.pathOrName;
    EXPECT_FALSE(error.reason.empty()) << c.pathOrName;
  }
  std::filesystem::remove(notALibrary);
}

}  // namespace
