#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace editor {

// Holds the data file beside the edited question set as text, shifts every record's
// question lines when a question is inserted or deleted, and rewrites the file when the
// set is saved. Lines are kept as the file's own bytes and never parsed into levels.
class CDataFileModifier {
public:
    // Loads the data file. False when it cannot be read: the modifier then stays without
    // a data file, so nothing can ever be written over the file it did not read.
    bool Init(const std::string& path);
    bool IsModified() const { return m_Modified; }
    // QNo: the 1-based number of the question just inserted or deleted. A number beyond
    // the questions the file holds (or below 1) changes nothing.
    void InsertQuestion(std::int16_t QNo);
    void DeleteQuestion(std::int16_t QNo);
    const std::string& GetDataFileName() const { return m_DataFileName; }
    // Rewrites the file when a question was inserted or deleted since Init, whole or not
    // at all (the old file then stays as it was). False only when the write failed.
    bool Save();

    // The text every record gets for an inserted question, and for a question it had no
    // line for: nine zeros, each followed by the separator byte.
    static const std::string kNeutralResponse;

private:
    struct DataRecord {
        std::string Name;
        std::vector<std::optional<std::string>> Responses; // slot n - 1: question n
        std::optional<std::string> Description;
    };

    bool m_Modified = false;
    std::vector<DataRecord> m_Records;
    std::string m_DataFileName;
    int m_MaxQ = 0;
};

} // namespace editor
