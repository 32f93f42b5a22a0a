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
    // A data file holds at most this many records (the count is 16-bit).
    static constexpr std::int16_t kMaxRecords = 32767;

    // Replaces RecordArray by the records of the file RecFile. Records beyond kMaxRecords
    // are passed over with all their items and counted as skipped. A file that cannot be
    // read, or a read while no question set is loaded, leaves no records.
    void Read(const std::string& RecFile, RecordArray& RecordArray);
    // The same from the regular file open at fd, read from its start; the caller keeps fd.
    void Read(int fd, RecordArray& RecordArray);
    // The number of record headers the last Read took in.
    std::int16_t RecordCount() const { return m_RecordCount; }
    // The number of items the last Read passed over: malformed items, half headers, text
    // that belongs to no record, and items read with text a save would not write again (a
    // record's earlier line for a question or its earlier description, text beside a
    // header's brackets or before a key, values after the nine levels). A file that could
    // not be read to its end, or that held text but not one record, counts at least one,
    // so a program that saves can tell a file it read whole from one it did not.
    long SkippedItems() const { return m_SkippedItems; }

private:
    std::int16_t m_RecordCount = 0;
    long m_SkippedItems = 0;
};

} // namespace kb
