#include "convert/invariants.h"

#include <string>

#include "convert/state.h"

std::string CheckRunInvariants() {
  if (!lastRun.completed)
    return "";
  const ConversionCountersType &c = ConversionCounters;
  std::string problems;
  auto expect = [&problems](bool holds, const char *what) {
    if (!holds)
      problems += std::string(what) + "\n";
  };
  expect(c.inputBytes == lastRun.bytesRead,
         "inputBytes differs from bytes read");
  expect(c.outputBytes == lastRun.bytesWritten,
         "outputBytes differs from bytes in the output file");
  expect(c.inputChars == c.outputChars + c.inputUnmapped,
         "inputChars differs from outputChars + inputUnmapped");
  expect(lastRun.reportRows ==
             c.outputVariant + c.outputDefault + c.inputUnmapped,
         "report rows differ from outputVariant + outputDefault + "
         "inputUnmapped");
  return problems;
}
