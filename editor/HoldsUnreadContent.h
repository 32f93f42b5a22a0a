#pragma once

#include <string>

namespace editor {

// Whether a question set file holds text past its first wholeQuestions blocks: what a set
// read only in part would lose on saving. Empty items (blank lines after the last block)
// hold nothing, so a file whose only fault is a trailing empty line loses nothing. A file
// that cannot be read again counts as holding more, so the caller still warns.
bool HoldsUnreadContent(const std::string& QFile, int wholeQuestions);

} // namespace editor
