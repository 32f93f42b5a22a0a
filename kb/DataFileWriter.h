#pragma once

#include "kb/CRecord.h"

#include <string>

namespace kb {

// Writes records to a data file, whole or not at all.
class DataFileWriter {
public:
    // True when every record was written and the file replaced; on false the old file
    // is untouched.
    bool Save(const RecordArray& Records, const std::string& Filename) const;
};

} // namespace kb
