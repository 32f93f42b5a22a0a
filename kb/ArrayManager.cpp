#include "kb/ArrayManager.h"

namespace kb::ArrayManager {

bool InsertRecord(RecordArray&, std::int16_t) { return false; }           // TODO
bool RemoveRecord(RecordArray&, std::int16_t) { return false; }           // TODO
bool IsRecordSlotEmpty(const RecordArray&, std::int16_t) { return true; } // TODO
std::int16_t FindRecord(const RecordArray&, const std::string&) { return kNotFound; } // TODO

} // namespace kb::ArrayManager
