// Runs a fuzz target over every file of a saved corpus folder (and over a few fixed
// inputs), so that the crashes once found stay fixed under ctest.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    namespace fs = std::filesystem;
    const std::vector<std::string> fixed = {"", std::string(1, '\0'), std::string(4096, '\xff'), std::string(300, 'A')};
    for (const auto &input : fixed)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.data()), input.size());
    int count = int(fixed.size());
    for (int a = 1; a < argc; ++a) {
        std::error_code ec;
        if (!fs::is_directory(argv[a], ec))
            continue;
        std::vector<fs::path> files;
        for (const auto &e : fs::recursive_directory_iterator(argv[a]))
            if (e.is_regular_file())
                files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const auto &f : files) {
            std::ifstream in(f, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), {});
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
            ++count;
        }
    }
    std::printf("replayed %d inputs\n", count);
    return 0;
}
