#include "escape.h"

namespace sim {

namespace {

int hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string escape(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c >= 0x20 && c < 0x7F) {
          out.push_back(ch);
        } else {
          out += "\\x";
          out.push_back(digits[c >> 4]);
          out.push_back(digits[c & 15]);
        }
    }
  }
  return out;
}

std::optional<std::string> unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out.push_back('\\');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'a':
        out.push_back('\a');
        break;
      case 'f':
        out.push_back('\f');
        break;
      case 'e':
        out.push_back('\x1B');
        break;
      case '0':
        out.push_back('\0');
        break;
      case 'x': {
        if (i + 2 >= text.size()) return std::nullopt;
        int h = hex(text[i + 1]), l = hex(text[i + 2]);
        if (h < 0 || l < 0) return std::nullopt;
        out.push_back(static_cast<char>(h * 16 + l));
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

}  // namespace sim
