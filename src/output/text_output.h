// Where a run's text goes: standard output in the program, a string in the tests of the runs.
#pragma once

#include <string>
#include <string_view>

class TextOutput {
 public:
  virtual ~TextOutput() = default;
  // Buffered, in call order.
  virtual void Print(std::string_view text) = 0;
  // Whether everything printed so far reached its destination.
  [[nodiscard]] virtual bool Flush() = 0;
};

// Everything the programs print goes to standard output; nothing to standard error.
TextOutput& StandardOutput();

// Keeps what is printed, for tests.
class CapturedOutput : public TextOutput {
 public:
  void Print(std::string_view text) override { text_ += text; }
  [[nodiscard]] bool Flush() override { return true; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};
