// Where a run's text goes: standard output in the program, a string in the tests of the runs.
#pragma once

#include <string>
#include <string_view>

class TextOutput {
 public:
  virtual ~TextOutput() = default;
  // A piece of the run's output, in call order.
  virtual void Print(std::string_view text) = 0;
  // The last piece of the run's document, after which the run ends with `exitCode`: once it is
  // printed, nothing else may end the document (a deadline, a crash), and what follows it is
  // console lines only.
  virtual void PrintEnding(std::string_view text, int exitCode) = 0;
  // Whether everything printed so far reached its destination.
  [[nodiscard]] virtual bool Flush() = 0;
};

// Everything the programs print goes to standard output; nothing to standard error. Each piece
// is written out whole before the next operation, so that whoever ends the run where it stands
// (platform/last_words.h) adds to a document that is out up to that point, and never into the
// middle of a piece.
TextOutput& StandardOutput();

// Keeps what is printed, for tests.
class CapturedOutput : public TextOutput {
 public:
  void Print(std::string_view text) override { text_ += text; }
  void PrintEnding(std::string_view text, int) override { text_ += text; }
  [[nodiscard]] bool Flush() override { return true; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};
