#pragma once

#include <QString>

namespace dialogs {

// What the three programs add to "Cannot Read Question File: Check Format": a line that
// names the limit when the file is longer than a question set can be, else nothing.
QString QuestionLimitLine(bool fileTooLong);

} // namespace dialogs
