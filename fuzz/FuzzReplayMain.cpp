// Runs a fuzzer's checks without libFuzzer, as an ordinary test: every input file of the given
// corpus directories, then `count` inputs drawn from a fixed seed (16 to 255 bytes each), through
// LLVMFuzzerTestOneInput. The fuzzer aborts on the first breach of its rules, which fails the run;
// the same inputs every time, so a failure can be replayed. With VO_REPLAY_LAST set to a path, each
// drawn input is written there before it runs: after a failure it holds the input that failed, to
// run again through the fuzzer itself.
//
// Usage: PROGRAM COUNT [CORPUS_DIR...]

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

void runFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s COUNT [CORPUS_DIR...]\n", argv[0]);
        return 2;
    }
    const long count = std::strtol(argv[1], nullptr, 10);
    long files = 0;
    for (int arg = 2; arg < argc; ++arg) {
        for (const auto &entry : std::filesystem::directory_iterator(argv[arg])) {
            if (entry.is_regular_file()) {
                runFile(entry.path());
                ++files;
            }
        }
    }
    std::mt19937 random(20261207);
    std::vector<std::uint8_t> input;
    for (long run = 0; run < count; ++run) {
        input.resize(16 + random() % 240);
        for (std::uint8_t &byte : input) {
            byte = static_cast<std::uint8_t>(random());
        }
        if (const char *last = std::getenv("VO_REPLAY_LAST")) {
            std::ofstream(last, std::ios::binary)
                .write(reinterpret_cast<const char *>(input.data()),
                       static_cast<std::streamsize>(input.size()));
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("replayed %ld corpus files and %ld drawn inputs\n", files, count);
    return 0;
}
