// Replays fuzz inputs as an ordinary test: every file named on the command
// line, or found in a folder named there, goes through the fuzz target once.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size);

int main(int argc, char **argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    std::error_code notFolder;
    for (const auto &entry : std::filesystem::directory_iterator(argv[i], notFolder)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    if (notFolder) files.emplace_back(argv[i]);
  }
  for (const auto &file : files) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", files.size());
  return 0;
}
