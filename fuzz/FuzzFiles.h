#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What every harness shares: the readers take a path, so each input goes to a file in one
// scratch folder per process, and a found fault ends the run loudly enough for the fuzzer
// (and the regression runner) to keep the input.
namespace fuzz {

// The fuzz input as bytes.
std::string_view AsBytes(const std::uint8_t* data, std::size_t size);

// Writes bytes to the file called name in the process's scratch folder and returns its
// path. The same name always gives the same path, so a run reuses a handful of files.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);

// The path name would have in the scratch folder (made on first use).
std::string ScratchPath(const std::string& name);

// Reads a file whole; "" when it cannot be read.
std::string ReadBack(const std::string& path);

// An input for the harnesses that read a question set and then a data file: the question
// set, a line "----data----", then the data file. Without that line the whole input is
// the data file and the question set is a fixed one of kFixedQuestions questions.
struct SetAndData {
    std::string_view QuestionSet; // empty: use the fixed set
    std::string_view DataFile;
};
inline constexpr std::string_view kDataMark = "\n----data----\n";
inline constexpr int kFixedQuestions = 12;
SetAndData SplitSetAndData(std::string_view input);

// A question set of kFixedQuestions well-formed questions, as the editor writes it.
const std::string& FixedQuestionSet();

// Reads the question set (the fixed one when empty), so that records are sized by it; the
// question count is 0 first, so nothing carries over from the input before. Returns the
// question count the read set.
int LoadQuestionSet(std::string_view questionSet);

// Reports a broken property of the code under test and aborts, so that libFuzzer keeps
// the input and the regression runner fails.
[[noreturn]] void Fail(const char* harness, const std::string& what);

} // namespace fuzz
