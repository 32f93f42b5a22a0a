#include "kb/DataFileWriter.h"

namespace kb {

bool DataFileWriter::Save(const RecordArray&, const std::string&) const { return false; } // TODO

} // namespace kb
