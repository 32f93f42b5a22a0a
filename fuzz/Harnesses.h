#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The fuzz harnesses' entry functions. Each takes one input, as libFuzzer hands it over,
// and returns 0; a broken property aborts through Fail. The libFuzzer programs and the
// regression runner call the same functions.
namespace fuzz {

// The question set reader on any bytes.
int QuestionFileInput(const std::uint8_t* data, std::size_t size);
// The data file reader after a fixed or fuzzed question set (see SplitSetAndData).
int DataFileInput(const std::uint8_t* data, std::size_t size);
// Read, save, read, save: the two saves give the same bytes and the second read keeps
// every record of the first.
int RoundTripInput(const std::uint8_t* data, std::size_t size);
// The editor's data-file modifier: a few inserts and deletes chosen by the input's first
// bytes, then Save; what the data file reader takes after is what the changes give to what
// it took before, record by record and question by question.
int ModifierInput(const std::uint8_t* data, std::size_t size);
// The settings file as Mirel reads it, and a key written into it.
int IniFileInput(const std::uint8_t* data, std::size_t size);

struct Harness {
    std::string_view Name; // also the folder of its regression inputs
    int (*Entry)(const std::uint8_t*, std::size_t);
};

// Every harness, by name.
const std::vector<Harness>& AllHarnesses();

} // namespace fuzz
