// Host paths are UTF-8 texts in this program. A std::filesystem::path made from a narrow string
// reads it in the ANSI code page on Windows, so paths cross into std::filesystem only here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

std::filesystem::path PathFromUtf8(std::string_view hostPath);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace platform
