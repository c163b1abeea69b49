#include "src/rfc/rfc_library.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "src/platform/shared_library.h"
#include "tests/support/temp_path.h"

namespace {

using Kind = RfcLibraryProblem::Kind;

#ifdef _WIN32
constexpr char kSeparator = '\\';
constexpr const char* kStandardSearch = "the system folders or PATH";
#else
constexpr char kSeparator = '/';
constexpr const char* kStandardSearch = "the system's library path";
#endif

const RfcLibraryFile kClassic = SensorLibrarySearch().libraries.at(0);
const RfcLibraryFile kNetWeaver = SensorLibrarySearch().libraries.at(1);
const std::string kFile = kClassic.fileName;
// A library name that no search finds.
const std::string kNowhere = "librfc32-nowhere" + kFile.substr(kFile.find('.'));

// A folder of the test's own, removed after it.
class Folder {
 public:
  Folder() : path_(testsupport::UniqueTempPath("folder") + kSeparator) {
    std::filesystem::create_directories(path_);
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ + name, std::ios::binary) << bytes;
    return path_ + name;
  }

 private:
  std::string path_;
};

RfcLibrarySearch Search(std::string fileName, std::string folder, bool standardSearch) {
  return {{{RfcLibraryKind::Classic, std::move(fileName), {}}}, std::move(folder), standardSearch};
}

// Where the build puts the NetWeaver stand-in and its companion, below the unit tests.
const std::string kNetWeaverFolder = platform::ProgramFolder() + "nwrfc" + kSeparator;

RfcLibraryProblem ProblemOf(const RfcLibrary& library) {
  if (const auto* problem = std::get_if<RfcLibraryProblem>(&library)) return *problem;
  ADD_FAILURE() << "the library was loaded";
  return {};
}

// The first KiB of a 32-bit x86 library of this program's format: its header, then zeros.
std::string ThirtyTwoBitHeader() {
  std::string bytes(1024, '\0');
#ifdef _WIN32
  bytes.replace(0, 2, "MZ");
  bytes[0x3c] = static_cast<char>(0x80);
  bytes.replace(0x80, 4, std::string("PE\0\0", 4));
  bytes[0x84] = 0x4c;  // machine 0x014c, i386
  bytes[0x85] = 0x01;
  bytes[0x98] = 0x0b;  // optional header magic 0x10b, PE32
  bytes[0x99] = 0x01;
#else
  bytes.replace(0, 4,
                "\x7f"
                "ELF");
  bytes[4] = 1;   // ELFCLASS32
  bytes[5] = 1;   // little-endian
  bytes[6] = 1;   // version
  bytes[16] = 3;  // ET_DYN
  bytes[18] = 3;  // EM_386
  bytes[20] = 1;  // version
#endif
  return bytes;
}

TEST(RfcLibraryTest, FindsTheStandInBesideTheProgram) {
  // The tests are linked to the stand-in beside them: the same functions must come back,
  // whether the standard search would have been asked after the program's folder or not.
  for (bool standardSearch : {false, true}) {
    RfcLibrary library = LoadRfcLibrary(Search(kFile, platform::ProgramFolder(), standardSearch));
    const auto* loaded = std::get_if<LoadedRfcLibrary>(&library);
    ASSERT_NE(loaded, nullptr) << DescribeRfcLibraryProblem(ProblemOf(library));
    EXPECT_EQ(loaded->kind, RfcLibraryKind::Classic);
    const auto* operations = std::get_if<RfcOperations>(&loaded->operations);
    ASSERT_NE(operations, nullptr);
    EXPECT_EQ(operations->environment, &RfcEnvironment);
    EXPECT_EQ(operations->open, &RfcOpen);
    EXPECT_EQ(operations->openEx, &RfcOpenEx);
    EXPECT_EQ(operations->installStructure, &RfcInstallStructure);
    EXPECT_EQ(operations->call, &RfcCall);
    EXPECT_EQ(operations->receive, &RfcReceive);
    EXPECT_EQ(operations->lastError, &RfcLastError);
    EXPECT_EQ(operations->close, &RfcClose);
  }
  EXPECT_EQ(SensorLibrarySearch().programFolder, platform::ProgramFolder());
  EXPECT_TRUE(SensorLibrarySearch().standardSearch);
}

// Windows finds a library's companions beside it; on Linux the loader looks for them only
// once they were loaded first. One that is not beside it is named. (Before the test that loads
// the companion: a run of all tests in one process would find it loaded already.)
TEST(RfcLibraryTest, ANetWeaverLibraryWithoutItsCompanionNamesIt) {
  Folder folder;
  std::filesystem::copy_file(kNetWeaverFolder + kNetWeaver.fileName,
                             folder.path() + kNetWeaver.fileName);
  RfcLibrarySearch search = SensorLibrarySearch();
  search.programFolder = folder.path();
  search.standardSearch = false;
  const RfcLibraryProblem problem = ProblemOf(LoadRfcLibrary(search));
  EXPECT_EQ(problem.kind, Kind::CompanionMissing) << problem.detail;
  const std::string needed = kNetWeaver.companions.size() == 1
                                 ? kNetWeaver.companions[0]
                                 : "libsapucum.dll, icuuc*.dll, icudt*.dll, icuin*.dll";
  EXPECT_EQ(
      DescribeRfcLibraryProblem(problem),
      folder.path() + kNetWeaver.fileName + " cannot be loaded: it needs " + needed + " beside it");
}

// Where both lie, the classic library is the one: an installation that has it keeps working
// as it did. Where only the NetWeaver library lies, it is loaded with its companion.
TEST(RfcLibraryTest, TheClassicLibraryFirstThenTheNetWeaverOne) {
  RfcLibrarySearch search = SensorLibrarySearch();
  search.standardSearch = false;
  search.programFolder = kNetWeaverFolder;
  const RfcLibrary netWeaver = LoadRfcLibrary(search);
  const auto* loaded = std::get_if<LoadedRfcLibrary>(&netWeaver);
  ASSERT_NE(loaded, nullptr) << DescribeRfcLibraryProblem(ProblemOf(netWeaver));
  EXPECT_EQ(loaded->kind, RfcLibraryKind::NetWeaver);
  const auto* operations = std::get_if<NwRfcOperations>(&loaded->operations);
  ASSERT_NE(operations, nullptr);
  EXPECT_NE(operations->invoke, nullptr);
  EXPECT_NE(operations->getVersion, nullptr);

  Folder both;
  std::filesystem::copy_file(platform::ProgramFolder() + kFile, both.path() + kFile);
  for (const std::string& file : {kNetWeaver.fileName, kNetWeaver.companions.at(0)}) {
    std::filesystem::copy_file(kNetWeaverFolder + file, both.path() + file);
  }
  search.programFolder = both.path();
  const RfcLibrary classic = LoadRfcLibrary(search);
  ASSERT_TRUE(std::holds_alternative<LoadedRfcLibrary>(classic));
  EXPECT_EQ(std::get<LoadedRfcLibrary>(classic).kind, RfcLibraryKind::Classic);
}

TEST(RfcLibraryTest, ALibraryFoundNowhereSaysWhereItWasLookedFor) {
  Folder empty;
  struct Case {
    RfcLibrarySearch search;
    std::string text;
  } cases[] = {
      {Search(kFile, empty.path(), false), kFile + " not found in " + empty.path()},
      {Search(kNowhere, empty.path(), true),
       kNowhere + " not found in " + empty.path() + " nor in " + kStandardSearch},
      {Search(kNowhere, "", true), kNowhere + " not found in " + kStandardSearch},
  };
  for (const Case& c : cases) {
    const RfcLibraryProblem problem = ProblemOf(LoadRfcLibrary(c.search));
    EXPECT_EQ(problem.kind, Kind::NotFound) << c.text;
    EXPECT_EQ(DescribeRfcLibraryProblem(problem), c.text);
  }
  // The sensor's own search names both libraries.
  RfcLibrarySearch sensor = SensorLibrarySearch();
  sensor.programFolder = empty.path();
  sensor.standardSearch = false;
  EXPECT_EQ(DescribeRfcLibraryProblem(ProblemOf(LoadRfcLibrary(sensor))),
            kFile + " or " + kNetWeaver.fileName + " not found in " + empty.path());
}

TEST(RfcLibraryTest, TheCurrentDirectoryIsNotSearched) {
  // Anyone who can write into the folder the sensor runs in could plant a library there.
  Folder current;
  std::filesystem::copy_file(platform::ProgramFolder() + kFile, current.path() + kNowhere,
                             std::filesystem::copy_options::overwrite_existing);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(current.path());
  const RfcLibrary library = LoadRfcLibrary(Search(kNowhere, "", true));
  std::filesystem::current_path(previous);
  EXPECT_EQ(ProblemOf(library).kind, Kind::NotFound);
}

TEST(RfcLibraryTest, NamesTheOperationALibraryLacks) {
  // Built with seven of the eight operations. It lies in the first folder searched, so it is
  // the one reported, and not passed over for the stand-in that the standard search would find.
  const std::string folder =
      platform::ProgramFolder() + "rfc-fixtures" + kSeparator + "without-receive" + kSeparator;
  const RfcLibraryProblem problem = ProblemOf(LoadRfcLibrary(Search(kFile, folder, true)));
  EXPECT_EQ(problem.kind, Kind::OperationMissing);
  EXPECT_EQ(problem.detail, "RfcReceive");
  EXPECT_EQ(DescribeRfcLibraryProblem(problem), folder + kFile + " lacks the operation RfcReceive");
}

TEST(RfcLibraryTest, ALibraryOfTheOtherWidthIsOfTheWrongKind) {
  if (platform::MachineName(platform::ThisProgramKind()) != "x86-64") {
    GTEST_SKIP() << "the crafted library is a 32-bit x86 one: this check needs an x86-64 program";
  }
  Folder folder;
  const std::string path = folder.Write(kFile, ThirtyTwoBitHeader());
  const RfcLibraryProblem problem = ProblemOf(LoadRfcLibrary(Search(kFile, folder.path(), true)));
  EXPECT_EQ(problem.kind, Kind::WrongKind) << problem.detail;
  EXPECT_EQ(problem.libraryKind.bits, 32);
  EXPECT_EQ(problem.sensorKind, platform::ThisProgramKind());
#ifdef _WIN32
  EXPECT_EQ(DescribeRfcLibraryProblem(problem),
            path + " is a 32-bit library; this sensor is 64-bit: use the win32 package");
#else
  EXPECT_EQ(DescribeRfcLibraryProblem(problem),
            path + " is a 32-bit library; this sensor is 64-bit: it needs a 64-bit librfc32.so");
#endif
}

TEST(RfcLibraryTest, AFileThatIsNoLibraryGivesTheSystemsReason) {
  Folder folder;
  const std::string path = folder.Write(kFile, std::string(1024, 'x'));
  const RfcLibraryProblem problem = ProblemOf(LoadRfcLibrary(Search(kFile, folder.path(), true)));
  EXPECT_EQ(problem.kind, Kind::NotLoadable);
  EXPECT_EQ(problem.file, path);
  EXPECT_FALSE(problem.detail.empty());
  EXPECT_EQ(DescribeRfcLibraryProblem(problem), path + " cannot be loaded: " + problem.detail);
}

// The real 32-bit stand-in beside a 64-bit program, as the Windows stage lays it out under
// wine64: SAPSYSINFO_WIN32_RFC_DIR names a folder that holds the i686 librfc32.dll.
TEST(RfcLibraryTest, The32BitStandInBesideA64BitSensorIsOfTheWrongKind) {
  const char* dir = std::getenv("SAPSYSINFO_WIN32_RFC_DIR");
  if (!dir || !*dir) {
    GTEST_SKIP() << "SAPSYSINFO_WIN32_RFC_DIR is not set: no folder with the i686 librfc32.dll "
                    "(scripts/test-windows sets it)";
  }
  ASSERT_EQ(platform::ThisProgramKind(),
            (platform::BinaryKind{platform::BinaryFormat::Pe, 64, 0x8664}))
      << "this check needs the x86-64 Windows build";
  std::string folder = dir;
  if (folder.back() != '\\' && folder.back() != '/') folder += kSeparator;
  const RfcLibraryProblem problem = ProblemOf(LoadRfcLibrary(Search(kFile, folder, true)));
  EXPECT_EQ(problem.kind, Kind::WrongKind) << problem.detail;
  EXPECT_EQ(problem.libraryKind, (platform::BinaryKind{platform::BinaryFormat::Pe, 32, 0x014c}));
  EXPECT_EQ(DescribeRfcLibraryProblem(problem),
            folder + kFile + " is a 32-bit library; this sensor is 64-bit: use the win32 package");
}

}  // namespace
