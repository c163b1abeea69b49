// How a system that answered is described: the text of its document and the "/CHECK" list.
#pragma once

#include <string>
#include <string_view>

// What a system tells about itself, each value as it sent it less its trailing blanks.
struct SystemFields {
  std::string host;
  std::string systemId;
  std::string release;
  std::string database;
  std::string operatingSystem;
  std::string address;
};

// The release as people write it: 740 becomes 7.40, 46C becomes 4.6C.
std::string ReleaseText(std::string_view release);
// "(DEST) Sys-Info: Host=..., Sid=..., Is=..., Rel=..., Dbs=..., Os=..., IP=...", with the
// destination and system number of the system's profile.
std::string SystemInfoText(const SystemFields& system, std::string_view destination,
                           std::string_view systemNumber);
// The readable list of a "/CHECK" run.
std::string CheckList(const SystemFields& system, std::string_view systemNumber);
