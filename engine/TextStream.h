// A character stream over a text that the parser and the clause tokenizer read
// one or several characters at a time, moving back where they have looked ahead.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

class TTextStream {
 public:
  TTextStream() = default;
  explicit TTextStream(std::string text) : Text_(std::move(text)) {}

  bool AtEnd() const { return Pos_ >= Text_.size(); }
  size_t Remaining() const { return AtEnd() ? 0 : Text_.size() - Pos_; }
  size_t Position() const { return Pos_; }
  void Seek(size_t pos) { Pos_ = pos > Text_.size() ? Text_.size() : pos; }
  const std::string& Text() const { return Text_; }

  // Reads one character; returns false at the end.
  bool Read(char& c) {
    if (AtEnd()) return false;
    c = Text_[Pos_++];
    return true;
  }
  // Reads up to n characters; fewer at the end of the text.
  std::string ReadN(size_t n) {
    size_t k = n < Remaining() ? n : Remaining();
    std::string s = Text_.substr(Pos_, k);
    Pos_ += k;
    return s;
  }
  // Moves back n characters (not before the start).
  void Back(size_t n) { Pos_ = n > Pos_ ? 0 : Pos_ - n; }

 private:
  std::string Text_;
  size_t Pos_ = 0;
};

}  // namespace vantrel
