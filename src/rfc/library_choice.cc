// The one place where the run's RFC library is chosen.
#include "src/rfc/library_choice.h"

#include <variant>

#include "src/output/messages.h"
#include "src/platform/folder.h"
#include "src/rfc/classic_client.h"
#include "src/rfc/nwrfc_client.h"
#include "src/rfc/rfc_library.h"

namespace {

// The library's operations for the whole process: it is loaded once and never unloaded.
const RfcLibrary& LoadedLibrary() {
  static const RfcLibrary library = LoadRfcLibrary(SensorLibrarySearch());
  return library;
}

}  // namespace

std::unique_ptr<RfcClient> LoadRfcClient(LibraryWatch& watch) {
  const RfcLibrary& library = [&watch]() -> const RfcLibrary& {
    // A library runs code of its own while it is loaded.
    const OperationInProgress operation(watch, "loading the library");
    return LoadedLibrary();
  }();
  if (const auto* problem = std::get_if<RfcLibraryProblem>(&library)) {
    EndRun(MessageId::RfcLibraryUnusable, DescribeRfcLibraryProblem(*problem));
  }
  std::optional<WorkingFolder> folder = WorkingFolder::Create();
  if (!folder) EndRun(MessageId::WorkingFolderMissing, platform::TemporaryFolder());
  const LoadedRfcLibrary& loaded = std::get<LoadedRfcLibrary>(library);
  if (const auto* netWeaver = std::get_if<NwRfcOperations>(&loaded.operations)) {
    return std::make_unique<NwRfcClient>(*netWeaver, loaded.file, std::move(*folder), watch);
  }
  return std::make_unique<ClassicRfcClient>(std::get<RfcOperations>(loaded.operations),
                                            std::move(*folder), watch);
}
