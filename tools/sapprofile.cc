// sapprofile: writes a system's profile file for the SysInfo sensor, and checks one with the
// sensor's own reader, finding it where the sensor finds it. The password never comes from the
// command line, where every user of the machine can read it.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "src/config/password.h"
#include "src/config/profile_writer.h"
#include "src/config/system_entry.h"
#include "src/platform/file.h"
#include "tools/password_input.h"
#include "tools/profile_check.h"
#include "tools/profile_place.h"

namespace {

struct WriteOptions {
  std::string profile;
  SystemEntry values;
  bool force = false;
  bool keepTrailingBlanks = false;
};

int WriteProfile(WriteOptions& options) {
  const std::string path = ProfileFileOf(options.profile);
  const std::string fullPath = platform::FullPath(path);
  // A symbolic link counts as a file there, dangling or not: it is replaced, never written
  // through.
  if (!options.force && platform::PathExists(path)) {
    std::cerr << "sapprofile: " << fullPath << " exists; --force replaces it\n";
    return 1;
  }
  std::optional<std::string> password = ReadPassword();
  if (!password) return 1;
  options.values.password = *password;

  ComposedProfile composed =
      ComposeProfile(options.values, BuildPasswordKeyTable(), std::random_device{}(),
                     options.keepTrailingBlanks ? TrailingBlanks::Kept : TrailingBlanks::Refused);
  for (const std::string& refusal : composed.refusals) {
    std::cerr << "sapprofile: " << refusal << '\n';
  }
  if (!composed.refusals.empty()) {
    std::cerr << "sapprofile: " << fullPath << " not written\n";
    return 1;
  }
  for (const std::string& warning : composed.warnings) {
    std::cerr << "sapprofile: warning: " << warning << '\n';
  }

  if (platform::PathExists(path)) platform::RemoveFile(path);
  // Created anew, owner only, before the stored password goes in; on Windows the folder's ACL
  // decides who reads it.
  auto file = platform::File::CreateNew(path);
  if (!file) {
    std::cerr << "sapprofile: cannot create " << fullPath << '\n';
    return 1;
  }
  // Written only once the file is closed: a full disk may show no earlier than that.
  const bool written = file->Write(composed.text);
  if (!file->Close() || !written) {
    std::cerr << "sapprofile: cannot write " << fullPath << '\n';
    return 1;
  }
  std::cout << "sapprofile: " << fullPath << " written\n";
  if (auto warning = PlaceWarning(fullPath))
    std::cerr << "sapprofile: warning: " << *warning << '\n';
  return 0;
}

// The minimum length the sensor checks, as the help of the value's option states it.
std::string MinimumOf(std::string SystemEntry::*value) {
  const auto keys = EntryKeys();
  const auto key = std::find_if(keys.begin(), keys.end(),
                                [&](const EntryKey& entryKey) { return entryKey.value == value; });
  if (key == keys.end() || key->minimumListing == 0) return "";
  auto characters = [](std::size_t count) {
    return std::to_string(count) + (count == 1 ? " character" : " characters");
  };
  if (key->minimumSingle == 0) {
    return "; a listing run needs at least " + characters(key->minimumListing);
  }
  if (key->minimumSingle == key->minimumListing)
    return ", at least " + characters(key->minimumSingle);
  return ", at least " + characters(key->minimumSingle) + ", " +
         std::to_string(key->minimumListing) + " in a listing run";
}

std::string ModeList() {
  std::string list;
  for (std::string_view mode : kConnectionModes) {
    if (!list.empty()) list += " or ";
    list += mode;
  }
  return list;
}

}  // namespace

int main(int argc, char** argv) try {
  CLI::App app{"Writes and checks the profile files of the SAP SysInfo sensor."};
  app.require_subcommand(1);

  WriteOptions write;
  CLI::App* writeCommand = app.add_subcommand(
      "write",
      "Write a profile. The password is read from standard input (its first line) or, on a "
      "terminal, typed twice without echo" +
          MinimumOf(&SystemEntry::password) + ". A password ending in a blank is refused.");
  writeCommand
      ->add_option("profile", write.profile,
                   "the profile file: PRD writes PRD.P00, as the sensor names it")
      ->required();
  struct ValueOption {
    const char* name;
    std::string SystemEntry::*value;
    std::string help;
  };
  const ValueOption valueOptions[] = {
      {"--company", &SystemEntry::extcompany, "the company"},
      {"--destination", &SystemEntry::destination, "the RFC destination"},
      {"--client", &SystemEntry::client, "the client, e.g. 100"},
      {"--user", &SystemEntry::user, "the logon user, upper-cased by the sensor"},
      {"--language", &SystemEntry::language, "the logon language, e.g. E"},
      {"--mode", &SystemEntry::mode,
       "the connection mode, " + ModeList() + ": R/2 connects through the gateway"},
      {"--host", &SystemEntry::hostname, "the application server's host name"},
      {"--sysnr", &SystemEntry::sysnr, "the system number, e.g. 00"},
      {"--gwhost", &SystemEntry::gwhost, "the gateway host"},
      {"--gwservice", &SystemEntry::gwservice, "the gateway service, e.g. sapgw00"},
  };
  for (const ValueOption& option : valueOptions) {
    // The mode's values are listed instead.
    const std::string minimum = option.value == &SystemEntry::mode ? "" : MinimumOf(option.value);
    CLI::Option* added =
        writeCommand->add_option(option.name, write.values.*option.value, option.help + minimum);
    if (option.value != &SystemEntry::user) added->required();
  }
  writeCommand->get_option("--mode")->check(
      CLI::IsMember(std::vector<std::string>(kConnectionModes.begin(), kConnectionModes.end())));
  writeCommand->add_flag("--force", write.force, "replace an existing profile");
  writeCommand->add_flag("--keep-trailing-blanks", write.keepTrailingBlanks,
                         "the system's password really ends with blanks: keep them");

  std::string checked;
  bool listing = false;
  CLI::App* checkCommand = app.add_subcommand(
      "check",
      "Read a profile as the sensor does and report each value and check. A bare name (PRD) is "
      "looked for where the sensor looks; a path is read where it is.");
  checkCommand->add_option("profile", checked, "the profile: PRD (the sensor's PRD.P00), or a path")
      ->required();
  checkCommand->add_flag("--listing", listing, "read it as a listing run reads a listed profile");

  CLI11_PARSE(app, argc, argv);
  if (writeCommand->parsed()) return WriteProfile(write);
  return CheckProfile(checked, listing ? EntryKind::Listing : EntryKind::Single);
} catch (const std::exception& error) {
  // A file that cannot be read or written ends with its reason, not by terminate.
  std::cerr << "sapprofile: " << error.what() << '\n';
  return 1;
}
