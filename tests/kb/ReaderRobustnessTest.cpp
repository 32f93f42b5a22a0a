#include "kb/DataFileReader.h"
#include "kb/QuestionFileReader.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

// Pieces that steer random input into the readers' interesting paths.
const std::vector<std::string> kPieces = {"[",         "]",
                                          "=",         ",",
                                          "\"",        " ",
                                          "\r\n",      "\r",
                                          "\n",        "\xB8",
                                          "-",         ".",
                                          "5",         "10",
                                          "32767",     "99999999999999999999",
                                          "Question ", "RecordDescription=",
                                          "OR",        "AND",
                                          "Single",    "Multiple",
                                          "Null",      "\xE9",
                                          "\x81",      std::string(1, '\0'),
                                          "\xFF"};

std::string RandomBytes(std::mt19937& rng) {
    std::uniform_int_distribution<int> length(0, 400);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes;
    const int n = length(rng);
    for (int i = 0; i < n; ++i) {
        if (kind(rng) == 0) {
            bytes.push_back(static_cast<char>(byte(rng)));
        } else {
            bytes += kPieces[piece(rng)];
        }
    }
    return bytes;
}

std::string Mutate(std::string bytes, std::mt19937& rng) {
    std::uniform_int_distribution<int> edits(1, 8);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
    const int n = edits(rng);
    for (int i = 0; i < n && !bytes.empty(); ++i) {
        std::uniform_int_distribution<std::size_t> at(0, bytes.size() - 1);
        const std::size_t p = at(rng);
        switch (kind(rng)) {
        case 0:
            bytes.erase(p, 1 + at(rng) % 16);
            break;
        case 1:
            bytes.insert(p, kPieces[piece(rng)]);
            break;
        case 2:
            bytes[p] = static_cast<char>(rng());
            break;
        default:
            bytes = bytes.substr(0, p); // cut short
            break;
        }
    }
    return bytes;
}

// Random and damaged files must never crash, throw or hang either reader, and what the
// data file reader reports must match what it filled.
TEST(ReaderRobustness, RandomAndDamagedFiles) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("input");
    const std::vector<std::string> seeds = {
        kbtest::Slurp(kbtest::Fixture("two_questions.qst")),
        kbtest::Slurp(kbtest::Fixture("example.qst")),
        kbtest::Slurp(kbtest::Fixture("two_records.dat")),
        kbtest::Slurp(kbtest::Fixture("malformed.dat")),
        kbtest::Slurp(kbtest::Fixture("cat.dat")),
    };
    std::mt19937 rng(20261209);
    kb::QuestionFileReader questionReader;
    kb::DataFileReader dataReader;
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes =
            round % 2 == 0 ? RandomBytes(rng) : Mutate(seeds[rng() % seeds.size()], rng);
        // Removed first: truncating a file in place makes some file systems flush it.
        std::filesystem::remove(path);
        kbtest::Spit(path, bytes);

        kb::QuestionArray questions;
        kb::g_NumQuestions = 0;
        bool read = false;
        ASSERT_NO_THROW(read = questionReader.Read(path, questions)) << round;
        if (!questions.empty()) { // else the read failed early and kept the last count
            EXPECT_EQ(static_cast<std::size_t>(kb::g_NumQuestions), questions.size());
            EXPECT_LE(questionReader.QuestionCount(), kb::g_NumQuestions);
        }
        if (read) {
            EXPECT_EQ(questionReader.QuestionCount(), kb::g_NumQuestions);
        }
        for (const auto& q : questions) {
            ASSERT_NE(q, nullptr);
            EXPECT_LE(q->GetNumOptions(), 9);
            EXPECT_GE(q->GetImportance(), 1.0);
            EXPECT_LE(q->GetImportance(), 2.0);
        }

        kb::g_NumQuestions = static_cast<std::int16_t>(1 + round % 3);
        kb::RecordArray records;
        ASSERT_NO_THROW(dataReader.Read(path, records)) << round;
        ASSERT_EQ(records.size(), static_cast<std::size_t>(dataReader.RecordCount())) << round;
        for (const auto& r : records) {
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->GetNumResponses(), kb::g_NumQuestions);
        }
        // A count of 0 means the file was read whole, so a save may replace it unasked: a
        // file that held bytes but gave no record was not.
        if (!bytes.empty() && records.empty()) {
            EXPECT_GT(dataReader.SkippedItems(), 0) << round;
        }
    }
    kb::g_NumQuestions = 0;
}

} // namespace
