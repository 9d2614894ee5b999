// Fuzzes the conversion run: byte 0 picks the code page pair, byte 1 the
// default character, the rest is the input file. After each run the
// counters must agree with the files and the report, and the output must
// decode in the output code page.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "convert/invariants.h"
#include "convert/run.h"
#include "convert/state.h"
#include "fuzz_pairs.h"
#include "platform/codepage.h"

namespace {

std::string FolderPath() {
  static const std::string folder = [] {
    char name[] = "/tmp/odrim-fuzz-XXXXXX";
    if (mkdtemp(name) == nullptr)
      std::abort();
    // The run's console text is not checked here: keep it off the screen.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
      std::abort();
    return std::string(name);
  }();
  return folder;
}

std::vector<unsigned char> ReadAll(const std::string &path) {
  std::vector<unsigned char> bytes;
  if (FILE *f = std::fopen(path.c_str(), "rb")) {
    unsigned char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
      bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(f);
  }
  return bytes;
}

void Fail(const char *what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  if (size < 2)
    return 0;
  const FuzzPair pair = kFuzzPairs[data[0] % std::size(kFuzzPairs)];
  const char *defChar = kFuzzDefaults[data[1] % std::size(kFuzzDefaults)];
  const std::string in = FolderPath() + "/in", out = FolderPath() + "/out";
  FILE *f = std::fopen(in.c_str(), "wb");
  if (f == nullptr)
    std::abort();
  std::fwrite(data + 2, 1, size - 2, f);
  std::fclose(f);

  ConvertFile(in.c_str(), pair.incp, out.c_str(), pair.outcp, defChar);
  std::fflush(stdout);
  if (!lastRun.completed)
    Fail("the run did not complete");
  std::string problems = CheckRunInvariants();
  if (!problems.empty())
    Fail(problems.c_str());
  if (ConversionCounters.inputBytes != static_cast<std::int64_t>(size - 2))
    Fail("not every input byte was consumed");

  std::vector<unsigned char> output = ReadAll(out);
  if (pair.outcp == 1200) {
    if (output.size() % 2 != 0)
      Fail("UTF-16 output of odd length");
  } else if (!output.empty()) {
    std::vector<char16_t> units(output.size());
    if (MultiByteToWideChar(pair.outcp, MB_ERR_INVALID_CHARS,
                            reinterpret_cast<const char *>(output.data()),
                            static_cast<int>(output.size()), units.data(),
                            static_cast<int>(units.size())) == 0)
      Fail("the output does not decode in the output code page");
  }
  return 0;
}
