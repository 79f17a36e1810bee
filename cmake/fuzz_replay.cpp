// Runs a fuzz target's entry function over every file of its corpus and
// crasher folders (FUZZ_REPLAY_FOLDERS, separated by '|'): the inputs the
// fuzzer kept or once crashed on stay clean under the sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsIn(const fs::path& folder) {
    std::vector<fs::path> inputs;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        // Notes on the folder are no inputs.
        if (entry.is_regular_file() && name[0] != '.' && entry.path().extension() != ".md")
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

TEST(FuzzReplay, EveryKeptInputRunsClean) {
    size_t count = 0;
    std::istringstream folders(FUZZ_REPLAY_FOLDERS);
    for (std::string folder; std::getline(folders, folder, '|');) {
        for (const fs::path& path : inputsIn(folder)) {
            // Named first, so a sanitizer report that ends the run says which input it was.
            fprintf(stderr, "replay %s\n", path.c_str());
            std::ifstream in(path, std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++count;
        }
    }
    EXPECT_GT(count, 0u) << "no inputs in " << FUZZ_REPLAY_FOLDERS;
    RecordProperty("inputs", static_cast<int>(count));
}

}  // namespace
