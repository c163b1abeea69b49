// The numbered messages of the system, and how a run that detects a failure ends.
#include "src/output/messages.h"

#include <array>

#include "src/output/document.h"

namespace {

// A message is its head, the variable part, and its tail, joined with nothing between. The
// texts are the ones administrators search for: spelling and blanks stay as they are.
struct CatalogueEntry {
  Message message;
  std::string_view head;
  std::string_view tail;
  int exitCode;
};

constexpr std::array<CatalogueEntry, 25> kCatalogue{{
    {Message::PathCheckCreated, "Info 0000: Prtg-File PathCheck.Txt now created", "", 0},
    {Message::ProfileNameMissing, "Error 1001: Parameter for Profile-Name is missing !", "", 2},
    {Message::ProfilePathMissing, "Error 1002: Profile ", " is missing...", 2},
    {Message::ProfileNameMissingHere, "Error 1002: Profile ", " is missing...", 2},
    {Message::ProfilePathMissingNebulant, "Error 100x: Profile ", " is missing...", 2},
    {Message::InvalidParameters, "Error 1003: Invalid Parameter(s) at ", " found...", 2},
    {Message::InvalidPassword, "Error 1004: Invalid Password in Profile ", " found...", 2},
    {Message::WrongPassword, "Error 1005: Wrong Password in Profile ", " found...", 2},
    {Message::OpenFailed, "Error 1011: RFC-Open for ", " failed !", 2},
    {Message::CallException, "Error 1012: Exception.: ", "", 2},
    {Message::CallSysException, "Error 1013: Sys-Exception raised !", "", 2},
    {Message::CallRfcFailure, "Error 1014: RFC-Failure raised !", "", 2},
    {Message::CallOtherFailure, "Error 1015: Other Failure raised !", "", 2},
    {Message::DefaultProfileMissing, "Error 1024: ProFile ", " is missing...", 2},
    {Message::GlobalListingMissing, "Error 10x1: ProFile ", " is missing...", 2},
    {Message::ServerListingMissing, "Error 1025: Global Server Listing missing...", "", 2},
    {Message::ItemMissing, "Error 1026: Global Item Idenification missing...", "", 2},
    {Message::InvalidAllocation, "Error 1029: Invalid Sensor-Allocation...", "", 2},
    {Message::SensorNotFound, "Error 1030: Global Sensor ", " not found...", 2},
    {Message::ListingOpenError, "Error 1033: RFC Open-Error... ", "", 2},
    {Message::InvalidPathUsage, "Sorry, invalid Path-Usage...", "", 2},
    {Message::ProfileNameTooLong, "Error 1041: Profile-Name ", " is longer than 63 characters !",
     2},
    {Message::ParametersTooLong, "Error 1042: Parameters longer than 119 characters !", "", 2},
    {Message::UnknownFlavour, "Error 1043: Unknown Flavour ",
     " ! Valid are EXEXML, Tendril, Vigilor, Nebulant, Quillon", 2},
    {Message::ProfilePathTooLong, "Error 1044: Profile-Path ", " is too long !", 2},
}};

const CatalogueEntry& Entry(Message message) {
  for (const CatalogueEntry& entry : kCatalogue) {
    if (entry.message == message) return entry;
  }
  return kCatalogue[0];  // every Message has its row; see the catalogue test
}

}  // namespace

std::string MessageFor(Message message, std::string_view variable) {
  const CatalogueEntry& entry = Entry(message);
  std::string text(entry.head);
  text += variable;
  text += entry.tail;
  return text;
}

void EndRunWithMessage(RunContext& run, std::string_view text, int exitCode) {
  WriteErrorDocument(run, text);
  throw RunEnded{exitCode};
}

void EndRun(RunContext& run, Message message, std::string_view variable) {
  EndRunWithMessage(run, MessageFor(message, variable), Entry(message).exitCode);
}
