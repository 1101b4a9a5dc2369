// Line normalisation and scrambled templates; see Scramble.h.
#include "engine/Scramble.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vantrel {

namespace {

constexpr std::string_view kMarker = "VQS1:";
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A xorshift key stream with a fixed seed: the same bytes for every template.
class KeyStream {
 public:
  std::uint8_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<std::uint8_t>(state_ >> 11);
  }

 private:
  std::uint32_t state_ = 0x5EED2009u;
};

std::string Base64Encode(const std::string& in) {
  std::string out;
  out.reserve((in.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    std::uint32_t v = (static_cast<std::uint8_t>(in[i]) << 16) | (static_cast<std::uint8_t>(in[i + 1]) << 8) |
                      static_cast<std::uint8_t>(in[i + 2]);
    for (int s = 18; s >= 0; s -= 6) out += kAlphabet[(v >> s) & 63];
  }
  if (i < in.size()) {
    std::uint32_t v = static_cast<std::uint8_t>(in[i]) << 16;
    if (i + 1 < in.size()) v |= static_cast<std::uint8_t>(in[i + 1]) << 8;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += i + 1 < in.size() ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// Decodes until the first character outside the alphabet; false on a malformed tail.
bool Base64Decode(std::string_view in, std::string& out) {
  std::array<int, 256> index{};
  index.fill(-1);
  for (size_t k = 0; k < kAlphabet.size(); ++k) index[static_cast<std::uint8_t>(kAlphabet[k])] = static_cast<int>(k);
  std::uint32_t acc = 0;
  int bits = 0;
  for (char c : in) {
    if (c == '=') break;
    int v = index[static_cast<std::uint8_t>(c)];
    if (v < 0) return false;
    acc = (acc << 6) | static_cast<std::uint32_t>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((acc >> bits) & 0xFF);
    }
  }
  return true;
}

}  // namespace

std::string JoinTemplateLines(std::string_view bytes) {
  size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16 + 2);
  size_t i = 0;
  size_t nextLf = 0;  // the position of the next LF at or after i, or the size when none is left
  bool lfKnown = false;
  while (i < bytes.size()) {
    // The line ends at the first CR or LF (speed: both found with memchr; the next LF
    // is kept, so text with CR line ends is not searched to its end for every line).
    if (!lfKnown || nextLf < i) {
      lfKnown = true;
      const void* lf = std::memchr(bytes.data() + i, '\n', bytes.size() - i);
      nextLf = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) : bytes.size();
    }
    const void* cr = std::memchr(bytes.data() + i, '\r', nextLf - i);
    size_t e = cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - bytes.data()) : nextLf;
    out.append(bytes.substr(i, e - i));
    out += "\r\n";
    if (e < bytes.size() && bytes[e] == '\r') {
      ++e;
      if (e < bytes.size() && bytes[e] == '\n') ++e;
    } else if (e < bytes.size()) {
      ++e;
    }
    i = e;
  }
  return out;
}

std::string DescrambleTemplate(std::string_view text) {
  if (text.substr(0, kMarker.size()) != kMarker) return std::string();
  std::string_view payload = text.substr(kMarker.size());
  size_t end = payload.find_first_of("\r\n");
  if (end != std::string_view::npos) payload = payload.substr(0, end);
  std::string bytes;
  if (!Base64Decode(payload, bytes)) return std::string();
  KeyStream key;
  for (char& c : bytes) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key.Next());
  return bytes;
}

std::string ScrambleTemplate(std::string_view source) {
  std::string bytes = "<crypt>";
  bytes += source;
  KeyStream key;
  for (char& c : bytes) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key.Next());
  return std::string(kMarker) + Base64Encode(bytes);
}

}  // namespace vantrel
