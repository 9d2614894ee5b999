// Runs a fuzz target over saved inputs (files, or folders of files), so the
// corpus and every past finding replay in the normal test run, under any
// compiler.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size);

int main(int argc, char **argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(argv[i])) {
      for (const auto &entry : std::filesystem::directory_iterator(argv[i]))
        if (entry.is_regular_file())
          files.push_back(entry.path());
    } else {
      files.push_back(argv[i]);
    }
    std::sort(files.begin(), files.end());
    for (const auto &file : files) {
      std::ifstream in(file, std::ios::binary);
      std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
      LLVMFuzzerTestOneInput(
          reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::fprintf(stderr, "replayed %d inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
