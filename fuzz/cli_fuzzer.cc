// Fuzzes the command line's number rule and the default-character parser
// against simple reference implementations.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/entry.h"
#include "convert/default_char.h"

namespace {

std::int32_t ReferenceCodePage(const std::string &text) {
  std::size_t i = 0;
  while (i < text.size() && std::strchr(" \t\n\v\f\r", text[i]) && text[i])
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = (value * 10 + static_cast<unsigned>(text[i] - '0')) % (1ull << 32);
  if (negative)
    value = ((1ull << 32) - value) % (1ull << 32);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

unsigned ReferenceDefault(const std::string &text) {
  unsigned value = 0;
  for (std::size_t i = 0; i < 4 && i < text.size() && text[i] != '\0'; ++i) {
    int c = std::toupper(static_cast<unsigned char>(text[i]));
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    if (digit < 0)
      break;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  // The text as a command-line argument: it ends at the first 0 byte.
  std::string text(reinterpret_cast<const char *>(data), size);
  text = text.substr(0, text.find('\0'));

  if (ParseCodePageNumber(text.c_str()) != ReferenceCodePage(text))
    std::abort();

  unsigned char buffer[3] = {0xEE, 0xEE, 0xEE};
  const unsigned char codePageDefault[2] = {0x3F, 0};
  ParseDefaultChar(text.c_str(), buffer, codePageDefault);
  unsigned value = ReferenceDefault(text);
  unsigned got =
      buffer[1] != 0 || value > 0xFF ? (buffer[0] << 8 | buffer[1]) : buffer[0];
  if (got != value || buffer[2] != 0 || (buffer[0] == 0 && buffer[1] != 0))
    std::abort();
  return 0;
}
