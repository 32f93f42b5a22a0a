#pragma once

#include "kb/CRecord.h"

#include <string>
#include <string_view>

namespace kb {

class AtomicFileWriter;

// The two texts of a record that the data file holds.
enum class RecordText { Name, Page };

// Whether the data file keeps text (UTF-8) of that kind so that it reads back as the same
// text of the same record. The reader ends an item at a comma or a line end and takes an
// item holding both "[" and "]" for a record's name, up to the first "]": so no text may
// hold a comma, CR or LF, a name no "]", a page not both "[" and "]"; and every character
// must be one Windows-1252 can hold.
bool DataFileCanKeep(RecordText kind, std::string_view text);

// Writes records to a data file, whole or not at all.
class DataFileWriter {
public:
    // True when every record was written and the file replaced; on false the old file
    // is untouched. A record holding text the file cannot keep (DataFileCanKeep) is
    // refused: nothing is written.
    bool Save(const RecordArray& Records, const std::string& Filename) const;
    // The same, with the errno of a failure in error (EINVAL for a record refused).
    bool Save(const RecordArray& Records, const std::string& Filename, int& error) const;
    // Writes the file into file without putting it in place (the caller commits it), so a
    // save of both files can make both before either takes its place.
    bool Write(const RecordArray& Records, AtomicFileWriter& file, int& error) const;
};

} // namespace kb
