// How a system that answered is described: the text of its document and the "/CHECK" list.
#include "src/output/system_text.h"

std::string ReleaseText(std::string_view release) {
  return std::string(release.substr(0, 1)) + "." +
         std::string(release.empty() ? "" : release.substr(1, 2));
}

std::string SystemInfoText(const SystemFields& system, std::string_view destination,
                           std::string_view systemNumber) {
  return "(" + std::string(destination) + ") Sys-Info: Host=" + system.host +
         ", Sid=" + system.systemId + ", Is=" + std::string(systemNumber) +
         ", Rel=" + ReleaseText(system.release) + ", Dbs=" + system.database +
         ", Os=" + system.operatingSystem + ", IP=" + system.address;
}

std::string CheckList(const SystemFields& system, std::string_view systemNumber) {
  return "\n* HostName......:  " + system.host + "\n* System-ID.......:  " + system.systemId +
         "\n* SAP-Instance.:  " + std::string(systemNumber) +
         "\n* SAP Release..:  " + ReleaseText(system.release) +
         "\n* DB-System.....:  " + system.database +
         "\n* OS-System.....:  " + system.operatingSystem +
         "\n* IP-Address.....:  " + system.address;
}
