#include "dialogs/QuestionFileNotices.h"

#include "kb/QuestionFileReader.h"

namespace dialogs {

QString QuestionLimitLine(bool fileTooLong) {
    if (!fileTooLong)
        return QString();
    return QStringLiteral("\nA question set holds at most %1 questions; this file is longer.")
        .arg(kb::QuestionFileReader::kMaxQuestions);
}

} // namespace dialogs
