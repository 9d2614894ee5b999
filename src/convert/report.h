// The imperfect-mapping report: one fixed-width row for every character
// written as its Han variant, given the default character, or dropped.
#pragma once

#include <cstdint>

#include "convert/state.h"

// Writes a character code in hexadecimal, 6 columns wide: "0xB0A1" for two
// bytes (lead byte first), "  0x3F" for one; 3 or 4 bytes widen it.
void PrintCharBytes(const unsigned char *charBytes);

// Writes the header before the first row of the process, then the row.
// outputCharBytes is null for a dropped character.
void ReportImperfectMapping(const unsigned char *inputCharBytes,
                            char32_t unicodeValue, std::uint16_t variantValue,
                            const unsigned char *outputCharBytes,
                            MappingKind kind);
