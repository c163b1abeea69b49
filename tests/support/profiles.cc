// Profiles for end-to-end tests, and the sensor's output with its measured times masked.
#include "tests/support/profiles.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include <cctype>

namespace testsupport {

void WriteProfile(const Drives& drives, const std::string& windowsPath, const ProfileValues& values,
                  const std::string& password) {
  ProcessResult written = drives.Run(
      "sapprofile",
      {"write",         windowsPath,        "--force",       "--company",   values.company,
       "--destination", values.destination, "--client",      values.client, "--user",
       values.user,     "--language",       values.language, "--mode",      values.mode,
       "--host",        values.host,        "--sysnr",       values.sysnr,  "--gwhost",
       values.gwhost,   "--gwservice",      values.gwservice},
      "C:\\work", password + "\n");
  ASSERT_EQ(written.exitCode, 0) << written.out << written.err;
}

void WriteSystemProfile(const Drives& drives, const Sapsim& sim, const std::string& system) {
  ProfileValues values;
  values.destination = system;
  values.gwservice = std::to_string(sim.Port(system));
  WriteProfile(drives, kSensorDirectory + system + ".P00", values, "secret");
}

std::string MaskTimes(const std::string& text, std::vector<long>* times) {
  std::string masked;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t end = i;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    if (end - i >= 4) {
      if (times) times->push_back(std::stol(text.substr(i, end - i)));
      masked += "####";
      i = end;
    } else if (end > i) {
      masked += text.substr(i, end - i);
      i = end;
    } else {
      masked += text[i++];
    }
  }
  return masked;
}

std::string MaskClock(std::string text) {
  for (std::size_t i = 0; i + 8 <= text.size(); ++i) {
    bool clock = true;
    for (std::size_t k = 0; k < 8 && clock; ++k) {
      const char c = text[i + k];
      clock = k % 3 == 2 ? c == ':' : std::isdigit(static_cast<unsigned char>(c)) != 0;
    }
    if (clock) text.replace(i, 8, "hh:mm:ss");
  }
  return text;
}

std::string XmlChannel(const std::string& name) {
  return "\n<Result><Channel>" + name +
         "</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>TimeResponse</CustomUnit>\n"
         "<Value>####</Value></Result>\n";
}

std::string ErrorDocument(const std::string& message) {
  return "<Prtg>\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n";
}

std::string NameOf(SystemsAtATime systems) {
  return systems == SystemsAtATime::One ? "OneAtATime" : "ByDefault";
}

std::vector<ListingVariant> ListingVariants() {
  std::vector<ListingVariant> variants;
  for (SystemsAtATime systems : {SystemsAtATime::Default, SystemsAtATime::One}) {
    for (RfcLibrary library : {RfcLibrary::Classic, RfcLibrary::NetWeaver}) {
      variants.push_back({systems, library});
    }
  }
  return variants;
}

std::string NameOf(const ListingVariant& variant) {
  return NameOf(variant.systems) + "_" + NameOf(variant.library);
}

std::vector<std::string> WithSystemsAtATime(std::vector<std::string> arguments,
                                            SystemsAtATime systems) {
  if (systems == SystemsAtATime::Default) return arguments;
  arguments.resize(std::max<std::size_t>(arguments.size(), 3));
  arguments[2] += arguments[2].empty() ? ",PARALLEL=1" : " ,PARALLEL=1";
  return arguments;
}

std::size_t ProcessesOf(const std::string& hostProgram) {
  namespace fs = std::filesystem;
  std::size_t running = 0;
  std::error_code missing;
  const fs::path program = fs::canonical(hostProgram, missing);
  for (int attempt = 0; attempt < 20 && !missing; ++attempt) {
    running = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
      std::error_code unreadable;
      const fs::path exe = fs::read_symlink(entry.path() / "exe", unreadable);
      if (!unreadable && exe == program) ++running;
    }
    if (running == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return running;
}

}  // namespace testsupport
