// The libFuzzer entry point of one harness; the build names the harness's entry function
// in CORVANE_FUZZ_ENTRY.
#include "fuzz/Harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::CORVANE_FUZZ_ENTRY(data, size);
}
