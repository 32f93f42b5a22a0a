#pragma once

#include "kb/CRecord.h"

#include <cstdint>
#include <string>

// Helpers on the acquisition program's record array. The array is never made empty:
// removing its only record leaves one slot without a record (nullptr).
namespace kb::ArrayManager {

// Both always return false, whatever happened (no caller uses the value). A position
// outside the array, a full array (32767 records) or a record that cannot be made leaves
// the array as it was.
bool InsertRecord(RecordArray& records, std::int16_t position);
bool RemoveRecord(RecordArray& records, std::int16_t position);
// True when the slot holds no record, or the index lies outside the array.
bool IsRecordSlotEmpty(const RecordArray& records, std::int16_t index);
// Index of the first record named exactly name, or kNotFound.
std::int16_t FindRecord(const RecordArray& records, const std::string& name);

inline constexpr std::int16_t kNotFound = -1000;

} // namespace kb::ArrayManager
