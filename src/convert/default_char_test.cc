#include "convert/default_char.h"

#include <gtest/gtest.h>

TEST(ParseDefaultChar, TurnsTheArgumentIntoBytes) {
  const unsigned char question[2] = {0x3F, 0};
  const unsigned char ebcdicQuestion[2] = {0x6F, 0};
  const unsigned char twoByte[2] = {0xA1, 0xA1};
  const struct {
    const char *text;
    const unsigned char *codePageDefault;
    unsigned char byte0, byte1;
  } cases[] = {
      {"3F", question, 0x3F, 0},
      {"3f", question, 0x3F, 0},
      {"0x3F", question, 0, 0}, // X stops the parse after the digit 0
      {"0", question, 0, 0},
      {"", question, 0, 0},
      {nullptr, ebcdicQuestion, 0x6F, 0},
      {nullptr, twoByte, 0xA1, 0xA1},
      {nullptr, nullptr, 0x3F, 0}, // UTF-16 output
      {"A1A1", question, 0xA1, 0xA1},
      {"a1a1", question, 0xA1, 0xA1},
      {"12345", question, 0x12, 0x34}, // only four digits are read
      {"00FF", question, 0xFF, 0},
      {"100", question, 0x01, 0x00}, // two bytes, low byte 0
      {" 3F", question, 0, 0},
      {"G1", question, 0, 0},
      {"4G", question, 0x04, 0},
  };
  for (const auto &c : cases) {
    unsigned char buffer[3] = {0x55, 0x55, 0x55};
    ParseDefaultChar(c.text, buffer, c.codePageDefault);
    SCOPED_TRACE(c.text ? c.text : "(absent)");
    EXPECT_EQ(buffer[0], c.byte0);
    EXPECT_EQ(buffer[1], c.byte1);
    EXPECT_EQ(buffer[2], 0);
  }
}
