#pragma once

#include <QString>

namespace kb {
class QuestionFileReader;
}

namespace dialogs {

// What the three programs add to "Cannot Read Question File: Check Format" after reader's
// last Read: a line that names the limit when the file is longer than a question set can
// be, else nothing.
QString QuestionLimitLine(const kb::QuestionFileReader& reader);

} // namespace dialogs
