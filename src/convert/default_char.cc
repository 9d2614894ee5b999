#include "convert/default_char.h"

#include <cctype>
#include <cstring>

void ParseDefaultChar(const char *text, unsigned char *buffer,
                      const unsigned char *codePageDefault) {
  if (text == nullptr) {
    if (codePageDefault == nullptr) {
      buffer[0] = '?';
      buffer[1] = 0;
    } else {
      buffer[0] = codePageDefault[0];
      buffer[1] = codePageDefault[1];
    }
    buffer[2] = 0;
    return;
  }

  static const char kDigits[] = "0123456789ABCDEF";
  unsigned value = 0;
  for (int i = 0; i < 4 && text[i] != '\0'; ++i) {
    char upper =
        static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    const char *digit = std::strchr(kDigits, upper);
    if (upper == '\0' || digit == nullptr)
      break;
    value = value * 16 + static_cast<unsigned>(digit - kDigits);
  }

  if (value > 0xFF) {
    buffer[0] = static_cast<unsigned char>(value >> 8);
    buffer[1] = static_cast<unsigned char>(value & 0xFF);
  } else {
    buffer[0] = static_cast<unsigned char>(value);
    buffer[1] = 0;
  }
  buffer[2] = 0;
}
