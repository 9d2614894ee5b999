#include "convert/fallback.h"

#include "convert/report.h"
#include "convert/run.h"
#include "convert/state.h"
#include "han/han_tables.h"

void ApplyScriptPreference(int outcp, std::uint16_t &current) {
  PreferScript(outcp, current);
}

namespace {

// Tries to write the variant of value; true when the output code page can
// represent it and it was written.
bool TryVariant(OutputFile &out, int outcp, std::uint16_t value,
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

} // namespace

void RunFallbackChain(OutputFile &out, int outcp, std::uint16_t current,
                      std::uint16_t decoded) {
  std::uint16_t variant = LookupHanVariant(current);
  if (variant != 0 && variant != current) {
    if (TryVariant(out, outcp, current, variant))
      return;
  } else if (decoded != current) {
    variant = LookupHanVariant(decoded);
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
  if (outcp == kUtf16CodePage) {
    std::uint16_t unit =
        DefaultCharBuffer[1] != 0
            ? static_cast<std::uint16_t>(DefaultCharBuffer[0] << 8 |
                                         DefaultCharBuffer[1])
            : DefaultCharBuffer[0];
    WriteUtf16Unit(out, unit);
  } else {
    WriteOutputChar(out, DefaultCharBuffer);
  }
}
