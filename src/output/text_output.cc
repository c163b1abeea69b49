// Where a run's text goes: standard output in the program, a string in the tests of the runs.
#include "src/output/text_output.h"

#include <cstdio>

namespace {

class Stdout : public TextOutput {
 public:
  void Print(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), stdout); }
  [[nodiscard]] bool Flush() override {
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  }
};

}  // namespace

TextOutput& StandardOutput() {
  static Stdout output;
  return output;
}
