#pragma once

#include "kb/CRecord.h"
#include "kb/QuestionFileReader.h"

#include <cstddef>
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
    // The longest name or page read, the longest text a text box holds and so the longest
    // item of a question set: a longer one is passed over and counted.
    static constexpr std::size_t kMaxTextBytes = QuestionFileReader::kMaxItemBytes;
    // The longest item read: the longest the acquisition program writes, a description
    // line with a page of kMaxTextBytes. A longer item is passed over unread and counted,
    // and the record it stands in takes nothing more (it may have been a header).
    static constexpr std::size_t kMaxItemBytes = kMaxTextBytes + 18;

    // Replaces RecordArray by the records of the file RecFile. Records beyond kMaxRecords
    // are passed over with all their items and counted as skipped. A file that cannot be
    // read, or a read while no question set is loaded, leaves no records. Time grows with
    // the file's size, and memory with the records read, whatever the file's shape.
    void Read(const std::string& RecFile, RecordArray& RecordArray);
    // The same, from the start of the regular file open on fd, whose offset is left alone;
    // the caller closes it.
    void Read(int fd, RecordArray& RecordArray);
    // The number of record headers the last Read took in.
    std::int16_t RecordCount() const { return m_RecordCount; }
    // The number of items the last Read passed over: malformed items, half headers, text
    // that belongs to no record, and items read with text a save would not write again (a
    // record's earlier line for a question or its earlier description, text beside a
    // header's brackets or before a key, values after the nine levels, a level with a
    // fraction, text after a closing quote, an item or text too long). A file that could
    // not be read to its end, or that held text but not one record, counts at least one,
    // so a program that saves can tell a file it read whole from one it did not.
    long SkippedItems() const { return m_SkippedItems; }

private:
    std::int16_t m_RecordCount = 0;
    long m_SkippedItems = 0;
};

} // namespace kb
