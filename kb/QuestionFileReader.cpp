#include "kb/QuestionFileReader.h"

namespace kb {

bool QuestionFileReader::Read(const std::string&, QuestionArray&) { return false; } // TODO

} // namespace kb
