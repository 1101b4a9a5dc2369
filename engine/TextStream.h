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
  // Whether the text ahead begins with lowered (lower-case ASCII) when its letters
  // A to Z are lower-cased; nothing is read.
  bool AheadIs(std::string_view lowered) const {
    if (Remaining() < lowered.size()) return false;
    for (size_t i = 0; i < lowered.size(); ++i) {
      char c = Text_[Pos_ + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
      if (c != lowered[i]) return false;
    }
    return true;
  }
  // Up to three characters ahead with A to Z lower-cased, into buffer; returns how
  // many there were. Nothing is read.
  size_t PeekLowered3(char (&buffer)[3]) const { return Lowered3At(Text_, Pos_, buffer); }
  // The same for the characters of text from pos on.
  static size_t Lowered3At(std::string_view text, size_t pos, char (&buffer)[3]) {
    const size_t remaining = pos < text.size() ? text.size() - pos : 0;
    const size_t k = remaining < 3 ? remaining : 3;
    for (size_t i = 0; i < k; ++i) {
      const char c = text[pos + i];
      buffer[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    return k;
  }

 private:
  std::string Text_;
  size_t Pos_ = 0;
};

}  // namespace vantrel
