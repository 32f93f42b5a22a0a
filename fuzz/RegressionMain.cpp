// Runs harnesses over the inputs kept under tests/data/fuzz/<harness>/: inputs that once
// made a harness fail, kept so the fault cannot come back unnoticed. Built with any
// compiler, without libFuzzer.
//
//   fuzz_regression FOLDER [HARNESS...]   (no harness: every one)
#include "fuzz/FuzzFiles.h"
#include "fuzz/Harnesses.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int RunHarness(const fuzz::Harness& harness, const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> inputs;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder / harness.Name, ec)) {
        if (entry.is_regular_file()) {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& input : inputs) {
        // Named first, so a harness that aborts on it leaves the name in the log.
        std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(harness.Name.size()),
                     harness.Name.data(), input.c_str());
        std::fflush(stderr);
        const std::string bytes = fuzz::ReadBack(input.string());
        harness.Entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::fprintf(stderr, "%.*s: %zu inputs passed\n", static_cast<int>(harness.Name.size()),
                harness.Name.data(), inputs.size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [HARNESS...]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::vector<fuzz::Harness> chosen;
    for (int i = 2; i < argc; ++i) {
        const std::string_view name = argv[i];
        const auto& all = fuzz::AllHarnesses();
        const auto found = std::find_if(all.begin(), all.end(),
                                        [&](const fuzz::Harness& h) { return h.Name == name; });
        if (found == all.end()) {
            std::fprintf(stderr, "no harness called %s\n", argv[i]);
            return 2;
        }
        chosen.push_back(*found);
    }
    if (chosen.empty()) {
        chosen = fuzz::AllHarnesses();
    }
    for (const auto& harness : chosen) {
        RunHarness(harness, folder);
    }
    return 0;
}
