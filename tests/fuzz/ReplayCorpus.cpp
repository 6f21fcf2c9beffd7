// Feeds every file of a seed corpus folder to a fuzz entry point once, so that the corpus
// runs as a plain test in every build, without libFuzzer. A finding aborts, as it does
// under the fuzzer; the file in hand was named just before.
//
//   replay_<reader> FOLDER

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    namespace fs = std::filesystem;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::vector<fs::path> files;
    for (const fs::directory_entry &entry : fs::directory_iterator(argv[1], error)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    // An unreadable or empty folder proves nothing.
    if (error || files.empty()) {
        std::fprintf(stderr, "no seed files in %s\n", argv[1]);
        return 1;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path &file : files) {
        std::printf("%s\n", file.filename().c_str());
        std::fflush(stdout);
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes(
            (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.eof() && in.fail()) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu seeds replayed\n", files.size());
    return 0;
}
