#pragma once

#include "kb/CRecord.h"

#include <cstdint>
#include <string>

namespace kb {

// Reads a data file into records sized by the question set read before it. It reports
// no failure: malformed items are passed over whole and counted, so a program can warn
// that a later save would drop them.
class DataFileReader {
public:
    // Replaces RecordArray by the records of the file RecFile.
    void Read(const std::string& RecFile, RecordArray& RecordArray);
    // The number of record headers the last Read found.
    std::int16_t RecordCount() const { return m_RecordCount; }
    // The number of items the last Read passed over as malformed.
    long SkippedItems() const { return m_SkippedItems; }

private:
    std::int16_t m_RecordCount = 0;
    long m_SkippedItems = 0;
};

} // namespace kb
