#include "kb/ArrayManager.h"

#include "kb/DataFileReader.h"

#include <algorithm>
#include <exception>

namespace kb::ArrayManager {

bool InsertRecord(RecordArray& records, std::int16_t position) {
    if (position < 0 || static_cast<std::size_t>(position) > records.size() ||
        records.size() >= static_cast<std::size_t>(DataFileReader::kMaxRecords)) {
        return false;
    }
    try {
        // Made first, so a failure leaves the array as it was.
        auto record = std::make_shared<CRecord>();
        records.insert(records.begin() + position, std::move(record));
    } catch (const std::exception&) {
    }
    return false;
}

bool RemoveRecord(RecordArray& records, std::int16_t position) {
    if (position < 0 || static_cast<std::size_t>(position) >= records.size()) {
        return false;
    }
    if (records.size() == 1) {
        records.front().reset();
        return false;
    }
    records.erase(records.begin() + position);
    return false;
}

bool IsRecordSlotEmpty(const RecordArray& records, std::int16_t index) {
    return index < 0 || static_cast<std::size_t>(index) >= records.size() ||
           !records[static_cast<std::size_t>(index)];
}

std::int16_t FindRecord(const RecordArray& records, const std::string& name) {
    const std::size_t limit = std::min<std::size_t>(records.size(), 32767);
    for (std::size_t i = 0; i < limit; ++i) {
        if (records[i] && records[i]->GetName() == name) {
            return static_cast<std::int16_t>(i);
        }
    }
    return kNotFound;
}

} // namespace kb::ArrayManager
