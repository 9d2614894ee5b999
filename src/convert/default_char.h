// The default character: the bytes that stand in the output for a
// character that cannot be mapped, from the optional fifth argument.
#pragma once

// Fills buffer (3 bytes) from text: up to four hexadecimal digits, read
// until the first other character; 0 gives an empty default (unmappable
// characters are dropped). Without text, the code page default (2 bytes)
// is copied, or '?' is used when there is none (UTF-16 output).
void ParseDefaultChar(const char *text, unsigned char *buffer,
                      const unsigned char *codePageDefault);
