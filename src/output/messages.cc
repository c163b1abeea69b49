// The numbered messages of the system, and how a run that detects a failure ends.
#include "src/output/messages.h"

#include <array>

#include "src/output/constant_text.h"
#include "src/output/flavour.h"

namespace {

// The parts of the messages that state a limit or a list defined elsewhere.
constexpr auto kProfileNameDigits = DecimalText<kProfileNameCapacity>();
constexpr auto kParameterTextDigits = DecimalText<kParameterTextCapacity>();
constexpr std::string_view kProfileNameCapacityText = kProfileNameDigits.view();
constexpr std::string_view kParameterTextCapacityText = kParameterTextDigits.view();
constexpr std::string_view kFlavourListText = kFlavourList.view();
constexpr auto kLargestLimitDigits = DecimalText<kLargestLimit>();
constexpr std::string_view kLargestLimitText = kLargestLimitDigits.view();

constexpr std::string_view kLongerThan = " is longer than ";
constexpr std::string_view kCharactersEnd = " characters !";
constexpr std::string_view kParametersLongerThan = "Error 1042: Parameters longer than ";
constexpr std::string_view kValidAre = " ! Valid are ";
constexpr std::array kProfileNameTooLongPieces{kLongerThan, kProfileNameCapacityText,
                                               kCharactersEnd};
constexpr auto kProfileNameTooLongTail = JoinText<kProfileNameTooLongPieces>();
constexpr std::array kParametersTooLongPieces{kParametersLongerThan, kParameterTextCapacityText,
                                              kCharactersEnd};
constexpr auto kParametersTooLongText = JoinText<kParametersTooLongPieces>();
constexpr std::array kUnknownFlavourPieces{kValidAre, kFlavourListText};
constexpr auto kUnknownFlavourTail = JoinText<kUnknownFlavourPieces>();
constexpr std::string_view kOneTo = " (1 to ";
constexpr std::string_view kMillisecondsEnd = " Milliseconds) !";
constexpr std::array kInvalidLimitPieces{kOneTo, kLargestLimitText, kMillisecondsEnd};
constexpr auto kInvalidLimitTail = JoinText<kInvalidLimitPieces>();
constexpr auto kLargestTimeoutDigits = DecimalText<kLargestTimeout>();
constexpr std::string_view kLargestTimeoutText = kLargestTimeoutDigits.view();
constexpr std::string_view kSecondsEnd = " Seconds) !";
constexpr std::array kInvalidTimeoutPieces{kOneTo, kLargestTimeoutText, kSecondsEnd};
constexpr auto kInvalidTimeoutTail = JoinText<kInvalidTimeoutPieces>();
constexpr auto kLargestParallelDigits = DecimalText<kLargestParallel>();
constexpr std::string_view kLargestParallelText = kLargestParallelDigits.view();
constexpr std::string_view kParenthesisEnd = ") !";
constexpr std::array kInvalidParallelPieces{kOneTo, kLargestParallelText, kParenthesisEnd};
constexpr auto kInvalidParallelTail = JoinText<kInvalidParallelPieces>();

// A message is its head, the variable part, and its tail, joined with nothing between. The
// texts are the ones administrators search for: spelling and blanks stay as they are.
struct CatalogueEntry {
  MessageId message;
  std::string_view head;
  std::string_view tail;
  int exitCode;
};

constexpr std::array<CatalogueEntry, static_cast<std::size_t>(MessageId::Count)> kCatalogue{{
    {MessageId::PathCheckCreated, "Info 0000: Prtg-File PathCheck.Txt now created", "", 0},
    {MessageId::ProfileNameMissing, "Error 1001: Parameter for Profile-Name is missing !", "", 2},
    {MessageId::ProfileMissing, "Error 1002: Profile ", " is missing...", 2},
    {MessageId::ProfilePathMissingNebulant, "Error 100x: Profile ", " is missing...", 2},
    {MessageId::InvalidParameters, "Error 1003: Invalid Parameter(s) at ", " found...", 2},
    {MessageId::InvalidPassword, "Error 1004: Invalid Password in Profile ", " found...", 2},
    {MessageId::WrongPassword, "Error 1005: Wrong Password in Profile ", " found...", 2},
    {MessageId::OpenFailed, "Error 1011: RFC-Open for ", " failed !", 2},
    {MessageId::CallException, "Error 1012: Exception.: ", "", 2},
    {MessageId::CallSysException, "Error 1013: Sys-Exception raised !", "", 2},
    {MessageId::CallRfcFailure, "Error 1014: RFC-Failure raised !", "", 2},
    {MessageId::CallOtherFailure, "Error 1015: Other Failure raised !", "", 2},
    {MessageId::DefaultProfileMissing, "Error 1024: ProFile ", " is missing...", 2},
    {MessageId::GlobalListingMissing, "Error 10x1: ProFile ", " is missing...", 2},
    {MessageId::ServerListingMissing, "Error 1025: Global Server Listing missing...", "", 2},
    {MessageId::ItemMissing, "Error 1026: Global Item Idenification missing...", "", 2},
    {MessageId::InvalidAllocation, "Error 1029: Invalid Sensor-Allocation...", "", 2},
    {MessageId::SensorNotFound, "Error 1030: Global Sensor ", " not found...", 2},
    {MessageId::ListingOpenError, "Error 1033: RFC Open-Error... ", "", 2},
    {MessageId::InvalidPathUsage, "Sorry, invalid Path-Usage...", "", 2},
    {MessageId::ProfileNameTooLong, "Error 1041: Profile-Name ", kProfileNameTooLongTail.view(), 2},
    {MessageId::ParametersTooLong, kParametersTooLongText.view(), "", 2},
    {MessageId::UnknownFlavour, "Error 1043: Unknown Flavour ", kUnknownFlavourTail.view(), 2},
    {MessageId::UnexpectedFailure, "Error 1044: Unexpected Failure: ", " !", 2},
    {MessageId::WorkingFolderMissing, "Error 1045: No Working-Folder for the RFC-Library in ", " !",
     2},
    {MessageId::InvalidLimit, "Error 1046: Invalid Limit ", kInvalidLimitTail.view(), 2},
    {MessageId::RfcLibraryUnusable, "Error 1047: RFC-Library ", " !", 2},
    {MessageId::NoAnswer, "Error 1048: No Answer within ", " !", 2},
    {MessageId::InvalidTimeout, "Error 1049: Invalid Timeout ", kInvalidTimeoutTail.view(), 2},
    {MessageId::LibraryQuit, "Error 1050: RFC-Library failed in ", " !", 2},
    {MessageId::InvalidParallel, "Error 1051: Invalid Parallel ", kInvalidParallelTail.view(), 2},
}};

constexpr bool EveryMessageInItsRow() {
  for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
    if (kCatalogue[i].message != static_cast<MessageId>(i) || kCatalogue[i].head.empty()) {
      return false;
    }
  }
  return true;
}
static_assert(EveryMessageInItsRow(), "the catalogue has one row per message, in enum order");

const CatalogueEntry& Entry(MessageId message) {
  return kCatalogue[static_cast<std::size_t>(message)];
}

}  // namespace

std::string EchoedArgument(std::string_view argument, std::size_t capacity) {
  if (argument.size() <= capacity) return std::string(argument);
  return std::string(argument.substr(0, capacity)) + "...";
}

std::string MessageFor(MessageId message, std::string_view variable) {
  const CatalogueEntry& entry = Entry(message);
  std::string text(entry.head);
  text += variable;
  text += entry.tail;
  return text;
}

int ExitCodeOf(MessageId message) { return Entry(message).exitCode; }

void EndRun(MessageId message, std::string_view variable) {
  throw RunEnded{MessageFor(message, variable), ExitCodeOf(message)};
}

void EndRunWithMessage(std::string message, int exitCode) {
  throw RunEnded{std::move(message), exitCode};
}
