// Where a run's text goes: standard output in the program, a string in the tests of the runs.
#include "src/output/text_output.h"

#include <cstdio>

#include "src/platform/last_words.h"

namespace {

class Stdout : public TextOutput {
 public:
  void Print(std::string_view text) override {
    platform::BeginPrinting();
    Write(text);
    platform::EndPrinting();
  }

  void PrintEnding(std::string_view text, int exitCode) override {
    platform::ClaimEndingForTheRun(exitCode);
    Write(text);
  }

  [[nodiscard]] bool Flush() override {
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  }

 private:
  static void Write(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
};

}  // namespace

TextOutput& StandardOutput() {
  static Stdout output;
  return output;
}
