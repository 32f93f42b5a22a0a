#include "kb/DataFileReader.h"

namespace kb {

void DataFileReader::Read(const std::string&, RecordArray& records) { records.clear(); } // TODO

} // namespace kb
