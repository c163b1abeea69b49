// Finds the RFC client library at run time and hands the sensor its eight operations.
#include "src/rfc/rfc_library.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <type_traits>
#include <utility>

#include "src/platform/shared_library.h"

namespace {

using Kind = RfcLibraryProblem::Kind;
using Symbol = platform::SharedLibrary::Symbol;

// The types above must stay those of the interface header's declarations.
static_assert(std::is_same_v<RfcEnvironmentFunction, decltype(&RfcEnvironment)>);
static_assert(std::is_same_v<RfcOpenFunction, decltype(&RfcOpen)>);
static_assert(std::is_same_v<RfcOpenExFunction, decltype(&RfcOpenEx)>);
static_assert(std::is_same_v<RfcInstallStructureFunction, decltype(&RfcInstallStructure)>);
static_assert(std::is_same_v<RfcCallFunction, decltype(&RfcCall)>);
static_assert(std::is_same_v<RfcReceiveFunction, decltype(&RfcReceive)>);
static_assert(std::is_same_v<RfcLastErrorFunction, decltype(&RfcLastError)>);
static_assert(std::is_same_v<RfcCloseFunction, decltype(&RfcClose)>);

#ifdef _WIN32
constexpr std::string_view kLibraryFile = "librfc32.dll";
constexpr std::string_view kStandardSearch = "the system folders or PATH";
#else
constexpr std::string_view kLibraryFile = "librfc32.so";
constexpr std::string_view kStandardSearch = "the system's library path";
#endif

template <auto kMember>
void Assign(RfcOperations& operations, Symbol symbol) {
  using Function = std::remove_reference_t<decltype(operations.*kMember)>;
  operations.*kMember = reinterpret_cast<Function>(symbol);
}

// Every operation by the plain name under which the library exports it, 32-bit __stdcall
// ones included.
struct Operation {
  const char* name;
  void (*assign)(RfcOperations&, Symbol);
};
constexpr std::array<Operation, 8> kOperations{{
    {"RfcEnvironment", Assign<&RfcOperations::environment>},
    {"RfcOpen", Assign<&RfcOperations::open>},
    {"RfcOpenEx", Assign<&RfcOperations::openEx>},
    {"RfcInstallStructure", Assign<&RfcOperations::installStructure>},
    {"RfcCall", Assign<&RfcOperations::call>},
    {"RfcReceive", Assign<&RfcOperations::receive>},
    {"RfcLastError", Assign<&RfcOperations::lastError>},
    {"RfcClose", Assign<&RfcOperations::close>},
}};

// The texts of the problems; the names in braces are filled in.
struct ProblemText {
  Kind kind;
  std::string_view pattern;
};
constexpr std::array<ProblemText, 4> kProblemTexts{{
    {Kind::NotFound, "{file} not found{places}"},
    {Kind::NotLoadable, "{file} cannot be loaded: {detail}"},
    {Kind::WrongKind, "{file} is a {library} library; this sensor is {sensor}: {remedy}"},
    {Kind::OperationMissing, "{file} lacks the operation {detail}"},
}};

// The release package that holds a sensor of a library's kind.
struct Package {
  platform::BinaryKind kind;
  std::string_view name;
};
constexpr std::array<Package, 2> kPackages{{
    {{platform::BinaryFormat::Pe, 32, 0x014c}, "win32"},
    {{platform::BinaryFormat::Pe, 64, 0x8664}, "win64"},
}};

struct Value {
  std::string_view name;
  std::string text;
};

std::string Fill(std::string_view pattern, std::initializer_list<Value> values) {
  std::string text;
  while (!pattern.empty()) {
    const std::size_t open = pattern.find('{');
    const std::size_t close = pattern.find('}', open);
    text += pattern.substr(0, open);
    if (open == std::string_view::npos || close == std::string_view::npos) break;
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    for (const Value& value : values) {
      if (value.name == name) text += value.text;
    }
    pattern.remove_prefix(close + 1);
  }
  return text;
}

// "32-bit", or "64-bit ARM64" where the processor is not the one the packages are built for.
std::string KindText(const platform::BinaryKind& kind) {
  std::string text = std::to_string(kind.bits) + "-bit";
  const std::string_view machine = platform::MachineName(kind);
  if (machine.empty()) return text + " machine " + std::to_string(kind.machine);
  return machine == "x86" || machine == "x86-64" ? text : text + " " + std::string(machine);
}

std::string Places(const RfcLibrarySearch& search) {
  std::string places;
  if (!search.programFolder.empty()) places = " in " + search.programFolder;
  if (search.standardSearch) places += (places.empty() ? " in " : " nor in ");
  if (search.standardSearch) places += kStandardSearch;
  return places;
}

std::string Remedy(const RfcLibraryProblem& problem) {
  for (const Package& package : kPackages) {
    if (package.kind == problem.libraryKind) {
      return "use the " + std::string(package.name) + " package";
    }
  }
  return "it needs a " + KindText(problem.sensorKind) + " " + problem.search.fileName;
}

RfcLibraryProblem Problem(Kind kind, std::string file, std::string detail,
                          const RfcLibrarySearch& search) {
  RfcLibraryProblem problem;
  problem.kind = kind;
  problem.file = std::move(file);
  problem.detail = std::move(detail);
  problem.search = search;
  return problem;
}

// A library that was found but did not load: of the wrong kind when its header says it is built
// for another machine than this program, else for the system's reason.
RfcLibraryProblem Unloadable(const RfcLibrarySearch& search,
                             const platform::LibraryLoadError& error) {
  RfcLibraryProblem problem = Problem(
      Kind::NotLoadable, error.file.empty() ? search.fileName : error.file, error.reason, search);
  if (error.file.empty()) return problem;
  const platform::BinaryKind library = platform::ReadBinaryKind(error.file);
  const platform::BinaryKind sensor = platform::ThisProgramKind();
  if (library.format != platform::BinaryFormat::Unknown && library.format == sensor.format &&
      library != sensor) {
    problem.kind = Kind::WrongKind;
    problem.libraryKind = library;
    problem.sensorKind = sensor;
  }
  return problem;
}

}  // namespace

RfcLibrarySearch SensorLibrarySearch() {
  return {std::string(kLibraryFile), platform::ProgramFolder(), true};
}

RfcLibrary LoadRfcLibrary(const RfcLibrarySearch& search) {
  platform::SharedLibrary library;
  platform::LibraryLoadError error;
  if (!search.programFolder.empty()) {
    library = platform::SharedLibrary::Open(search.programFolder + search.fileName, error);
    if (!library && !error.notFound) return Unloadable(search, error);
  }
  if (!library && search.standardSearch) {
    error = {};
    library = platform::SharedLibrary::Open(search.fileName, error);
    if (!library && !error.notFound) return Unloadable(search, error);
  }
  if (!library) return Problem(Kind::NotFound, search.fileName, "", search);

  RfcOperations operations;
  for (const Operation& operation : kOperations) {
    const Symbol symbol = library.Find(operation.name);
    if (!symbol) {
      const std::string file = library.File();
      return Problem(Kind::OperationMissing, file.empty() ? search.fileName : file, operation.name,
                     search);
    }
    operation.assign(operations, symbol);
  }
  library.Keep();
  return operations;
}

std::string DescribeRfcLibraryProblem(const RfcLibraryProblem& problem) {
  const bool wrongKind = problem.kind == Kind::WrongKind;
  const std::initializer_list<Value> values{
      {"file", problem.file},
      {"detail", problem.detail},
      {"places", problem.kind == Kind::NotFound ? Places(problem.search) : ""},
      {"library", wrongKind ? KindText(problem.libraryKind) : ""},
      {"sensor", wrongKind ? KindText(problem.sensorKind) : ""},
      {"remedy", wrongKind ? Remedy(problem) : ""},
  };
  for (const ProblemText& text : kProblemTexts) {
    if (text.kind == problem.kind) return Fill(text.pattern, values);
  }
  return problem.file;
}
