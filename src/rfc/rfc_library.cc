// Finds an RFC client library at run time and hands the sensor its operations.
#include "src/rfc/rfc_library.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <type_traits>
#include <utility>

#include "src/platform/file.h"
#include "src/platform/host.h"
#include "src/platform/shared_library.h"

namespace {

using Kind = RfcLibraryProblem::Kind;
using Symbol = platform::SharedLibrary::Symbol;

using platform::kWindowsHost;

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
constexpr std::string_view kClassicFile = "librfc32.dll";
constexpr std::string_view kNetWeaverFile = "sapnwrfc.dll";
// The library's own conversions and the ICU libraries, from the kit's lib folder; Windows finds
// them beside a library loaded by its full path.
constexpr std::array<std::string_view, 4> kNetWeaverCompanions{"libsapucum.dll", "icuuc*.dll",
                                                               "icudt*.dll", "icuin*.dll"};
constexpr std::string_view kStandardSearch = "the system folders or PATH";
#else
constexpr std::string_view kClassicFile = "librfc32.so";
constexpr std::string_view kNetWeaverFile = "libsapnwrfc.so";
constexpr std::array<std::string_view, 1> kNetWeaverCompanions{"libsapucum.so"};
constexpr std::string_view kStandardSearch = "the system's library path";
#endif

// A 32-bit library of __stdcall operations may export them by their plain names (the classic
// vendor's library does) or by their decorated ones, "_RfcInvoke@12": we cannot know which
// form the NetWeaver kit's 32-bit library takes, so its operations are looked up by both.
#if defined(_WIN32) && !defined(_WIN64)
constexpr bool kDecoratedNames = true;
#else
constexpr bool kDecoratedNames = false;
#endif

template <class Operations, auto kMember>
void Assign(Operations& operations, Symbol symbol) {
  using Function = std::remove_reference_t<decltype(operations.*kMember)>;
  operations.*kMember = reinterpret_cast<Function>(symbol);
}

// Every operation by the plain name under which the library exports it, and the bytes of its
// arguments that its decorated name carries.
template <class Operations>
struct Operation {
  const char* name;
  int argumentBytes;
  void (*assign)(Operations&, Symbol);
};

// The classic library exports its 32-bit __stdcall operations by their plain names.
constexpr std::array<Operation<RfcOperations>, 8> kClassicOperations{{
    {"RfcEnvironment", 0, Assign<RfcOperations, &RfcOperations::environment>},
    {"RfcOpen", 0, Assign<RfcOperations, &RfcOperations::open>},
    {"RfcOpenEx", 0, Assign<RfcOperations, &RfcOperations::openEx>},
    {"RfcInstallStructure", 0, Assign<RfcOperations, &RfcOperations::installStructure>},
    {"RfcCall", 0, Assign<RfcOperations, &RfcOperations::call>},
    {"RfcReceive", 0, Assign<RfcOperations, &RfcOperations::receive>},
    {"RfcLastError", 0, Assign<RfcOperations, &RfcOperations::lastError>},
    {"RfcClose", 0, Assign<RfcOperations, &RfcOperations::close>},
}};

// A pointer or an unsigned is four bytes on 32-bit Windows.
constexpr std::array<Operation<NwRfcOperations>, 9> kNetWeaverOperations{{
    {"RfcOpenConnection", 12, Assign<NwRfcOperations, &NwRfcOperations::openConnection>},
    {"RfcGetFunctionDesc", 12, Assign<NwRfcOperations, &NwRfcOperations::getFunctionDesc>},
    {"RfcCreateFunction", 8, Assign<NwRfcOperations, &NwRfcOperations::createFunction>},
    {"RfcInvoke", 12, Assign<NwRfcOperations, &NwRfcOperations::invoke>},
    {"RfcGetStructure", 16, Assign<NwRfcOperations, &NwRfcOperations::getStructure>},
    {"RfcGetChars", 20, Assign<NwRfcOperations, &NwRfcOperations::getChars>},
    {"RfcDestroyFunction", 8, Assign<NwRfcOperations, &NwRfcOperations::destroyFunction>},
    {"RfcCloseConnection", 8, Assign<NwRfcOperations, &NwRfcOperations::closeConnection>},
    {"RfcGetVersion", 12, Assign<NwRfcOperations, &NwRfcOperations::getVersion>},
}};

// Binds every operation; the name of the first the library lacks, else empty.
template <class Operations, std::size_t N>
std::string Bind(const platform::SharedLibrary& library,
                 const std::array<Operation<Operations>, N>& table, Operations& operations) {
  for (const Operation<Operations>& operation : table) {
    Symbol symbol = library.Find(operation.name);
    if (!symbol && kDecoratedNames && operation.argumentBytes > 0) {
      const std::string decorated =
          "_" + std::string(operation.name) + "@" + std::to_string(operation.argumentBytes);
      symbol = library.Find(decorated.c_str());
    }
    if (!symbol) return operation.name;
    operation.assign(operations, symbol);
  }
  return {};
}

// The texts of the problems; the names in braces are filled in.
struct ProblemText {
  Kind kind;
  std::string_view pattern;
};
constexpr std::array<ProblemText, 5> kProblemTexts{{
    {Kind::NotFound, "{file} not found{places}"},
    {Kind::NotLoadable, "{file} cannot be loaded: {detail}"},
    {Kind::WrongKind, "{file} is a {library} library; this sensor is {sensor}: {remedy}"},
    {Kind::OperationMissing, "{file} lacks the operation {detail}"},
    {Kind::CompanionMissing, "{file} cannot be loaded: it needs {detail} beside it"},
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
  return "it needs a " + KindText(problem.sensorKind) + " " + problem.fileName;
}

RfcLibraryProblem Problem(Kind kind, std::string file, std::string detail,
                          const RfcLibrarySearch& search, std::string fileName = {}) {
  RfcLibraryProblem problem;
  problem.kind = kind;
  problem.file = std::move(file);
  problem.detail = std::move(detail);
  problem.search = search;
  problem.fileName = std::move(fileName);
  return problem;
}

std::string FolderOf(const std::string& file) {
  const std::size_t separator = file.find_last_of(kWindowsHost ? "\\/" : "/");
  return separator == std::string::npos ? std::string() : file.substr(0, separator + 1);
}

// The companions of a library that are not beside it, joined for a message.
std::string MissingCompanions(const RfcLibraryFile& library, const std::string& folder) {
  std::string missing;
  for (const std::string& companion : library.companions) {
    if (platform::HostFolderHolds(folder, companion)) continue;
    missing += (missing.empty() ? "" : ", ") + companion;
  }
  return missing;
}

// A library that was found but did not load: of the wrong kind when its header says it is built
// for another machine than this program, without a companion that is not beside it, else for
// the system's reason.
RfcLibraryProblem Unloadable(const RfcLibrarySearch& search, const RfcLibraryFile& library,
                             const platform::LibraryLoadError& error) {
  RfcLibraryProblem problem =
      Problem(Kind::NotLoadable, error.file.empty() ? library.fileName : error.file, error.reason,
              search, library.fileName);
  if (error.file.empty()) return problem;
  const platform::BinaryKind found = platform::ReadBinaryKind(error.file);
  const platform::BinaryKind sensor = platform::ThisProgramKind();
  if (found.format != platform::BinaryFormat::Unknown && found.format == sensor.format &&
      found != sensor) {
    problem.kind = Kind::WrongKind;
    problem.libraryKind = found;
    problem.sensorKind = sensor;
    return problem;
  }
  if (std::string missing = MissingCompanions(library, FolderOf(error.file)); !missing.empty()) {
    problem.kind = Kind::CompanionMissing;
    problem.detail = std::move(missing);
  }
  return problem;
}

// "librfc32.so or libsapnwrfc.so"
std::string NamesOf(const RfcLibrarySearch& search) {
  std::string names;
  for (const RfcLibraryFile& library : search.libraries) {
    names += (names.empty() ? "" : " or ") + library.fileName;
  }
  return names;
}

}  // namespace

RfcLibrarySearch SensorLibrarySearch() {
  RfcLibraryFile classic{RfcLibraryKind::Classic, std::string(kClassicFile), {}};
  RfcLibraryFile netWeaver{RfcLibraryKind::NetWeaver, std::string(kNetWeaverFile), {}};
  for (std::string_view companion : kNetWeaverCompanions) {
    netWeaver.companions.emplace_back(companion);
  }
  return {{classic, netWeaver}, platform::ProgramFolder(), true};
}

RfcLibrary LoadRfcLibrary(const RfcLibrarySearch& search) {
  std::vector<std::string> places;
  if (!search.programFolder.empty()) places.push_back(search.programFolder);
  if (search.standardSearch) places.emplace_back();  // a bare name: the system's search
  for (const std::string& place : places) {
    for (const RfcLibraryFile& candidate : search.libraries) {
      const std::string path = place + candidate.fileName;
      if (!place.empty() && !platform::HostFolderHolds(place, candidate.fileName)) continue;
      std::vector<platform::SharedLibrary> companions;
      if (!place.empty() && !kWindowsHost) {
        // A library loaded by its full path does not find its companions beside it on Linux
        // unless they are loaded first.
        for (const std::string& companion : candidate.companions) {
          platform::LibraryLoadError ignored;
          if (companion.find('*') == std::string::npos &&
              platform::HostFolderHolds(place, companion)) {
            companions.push_back(platform::SharedLibrary::Open(place + companion, ignored));
          }
        }
      }
      platform::LibraryLoadError error;
      platform::SharedLibrary library = platform::SharedLibrary::Open(path, error);
      if (!library && error.notFound) continue;
      if (!library) return Unloadable(search, candidate, error);

      LoadedRfcLibrary loaded;
      loaded.kind = candidate.kind;
      loaded.file = library.File().empty() ? path : library.File();
      std::string missing;
      if (candidate.kind == RfcLibraryKind::Classic) {
        RfcOperations operations;
        missing = Bind(library, kClassicOperations, operations);
        loaded.operations = operations;
      } else {
        NwRfcOperations operations;
        missing = Bind(library, kNetWeaverOperations, operations);
        loaded.operations = operations;
      }
      if (!missing.empty()) {
        return Problem(Kind::OperationMissing, loaded.file, missing, search, candidate.fileName);
      }
      library.Keep();
      for (platform::SharedLibrary& companion : companions) companion.Keep();
      return loaded;
    }
  }
  return Problem(Kind::NotFound, NamesOf(search), "", search);
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
