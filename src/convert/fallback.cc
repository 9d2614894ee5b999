#include "convert/fallback.h"

#include "convert/report.h"
#include "convert/run.h"
#include "convert/state.h"
#include "han/han_tables.h"
#include "platform/codepage.h"
#include "platform/utf16.h"
#include "platform/utf8.h"

void ApplyScriptPreference(int outcp, char32_t &current) {
  if (current > 0xFFFF)
    return;
  std::uint16_t unit = static_cast<std::uint16_t>(current);
  PreferScript(outcp, unit);
  current = unit;
}

namespace {

std::uint16_t VariantOf(char32_t value) {
  return value > 0xFFFF ? 0
                        : LookupHanVariant(static_cast<std::uint16_t>(value));
}

// Tries to write the variant of value; true when the output code page can
// represent it and it was written.
bool TryVariant(OutputFile &out, int outcp, char32_t value,
                std::uint16_t variant) {
  ++ConversionCounters.inputWithVariant;
  int usedDefault = 0;
  int length = EncodeOutputChar(outcp, variant, &usedDefault);
  if (length == 0 || usedDefault)
    return false;
  ++ConversionCounters.outputVariant;
  ReportImperfectMapping(InputCharBuffer, value, variant, OutputCharBuffer,
                         kMappedToVariant);
  WriteOutputChar(out, OutputCharBuffer, length);
  return true;
}

// Writes the default character: bytes of the output code page, or for the
// Unicode code pages the parsed value as one UTF-16 unit or in UTF-8.
void WriteDefaultChar(OutputFile &out, int outcp) {
  const char32_t value = DefaultCharBuffer[1] != 0
                             ? static_cast<char32_t>(DefaultCharBuffer[0] << 8 |
                                                     DefaultCharBuffer[1])
                             : DefaultCharBuffer[0];
  if (outcp == kUtf16CodePage) {
    WriteUtf16Unit(out, static_cast<std::uint16_t>(value));
  } else if (outcp == kUtf8CodePage) {
    // A surrogate value has no UTF-8 form: '?' stands in for it.
    unsigned char bytes[5] = {};
    const bool surrogate = IsHighSurrogate(value) || IsLowSurrogate(value);
    WriteOutputChar(out, bytes, Utf8Encode(surrogate ? U'?' : value, bytes));
  } else {
    WriteOutputChar(out, DefaultCharBuffer);
  }
}

} // namespace

void RunFallbackChain(OutputFile &out, int outcp, char32_t current,
                      char32_t decoded) {
  std::uint16_t variant = VariantOf(current);
  if (variant != 0 && variant != current) {
    if (TryVariant(out, outcp, current, variant))
      return;
  } else if (decoded != current) {
    variant = VariantOf(decoded);
    if (variant != 0 && variant != decoded &&
        TryVariant(out, outcp, decoded, variant))
      return;
  }

  if (DefaultCharBuffer[0] == 0) {
    ++ConversionCounters.inputUnmapped;
    ReportImperfectMapping(InputCharBuffer, current, variant, nullptr,
                           kDropped);
    return;
  }
  ++ConversionCounters.outputDefault;
  ReportImperfectMapping(InputCharBuffer, current, variant, DefaultCharBuffer,
                         kMappedToDefault);
  WriteDefaultChar(out, outcp);
}
