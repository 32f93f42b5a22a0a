#include "dialogs/KnowledgeBaseNotices.h"

#include "platform/Platform.h"
#include "platform/ProgramInfo.h"

#include <QStringList>

namespace dialogs {

using kb::CKnowledgeBase;

void ShowMended(const CKnowledgeBase& base) {
    QStringList files;
    for (const std::string& file : base.MendedFiles())
        files << QString::fromStdString(file);
    QString text;
    switch (base.LastMending()) {
    case CKnowledgeBase::Mending::None:
        return;
    case CKnowledgeBase::Mending::Completed:
        text = QStringLiteral("A save was cut short before it was complete. It has now been "
                              "completed:\n") +
               files.join(u'\n') +
               QStringLiteral("\nThe question set and its data file are both from that save.");
        break;
    case CKnowledgeBase::Mending::Dropped:
        text = QStringLiteral("A save of this knowledge base was cut short before it had "
                              "changed either file, and what it had begun was removed:\n") +
               files.join(u'\n') +
               QStringLiteral("\nThe question set and its data file are both as they were "
                              "before that save.");
        break;
    }
    platform::MessageBox(text, platform::Buttons::OK, platform::Icon::Information,
                         platform::ProgramTitle());
}

QString FailureLines(const CKnowledgeBase::Failure& failure, const QString& named) {
    const QString path = QString::fromStdString(failure.path);
    return (path.isEmpty() || path == named ? QString() : path + u'\n') +
           QString::fromStdString(failure.why);
}

void WarnNotLoaded(const CKnowledgeBase& base, CKnowledgeBase::Outcome outcome,
                   const QString& chosen) {
    QString why;
    switch (outcome) {
    case CKnowledgeBase::Outcome::Busy:
        why = QStringLiteral("Another program is saving this knowledge base. Nothing was loaded; "
                             "try again in a moment.");
        break;
    case CKnowledgeBase::Outcome::HalfSaved:
        why = QStringLiteral("A save of this knowledge base was cut short before it was "
                             "complete, so its question set and data file may not belong "
                             "together. Open it once in Halvet or Drosk, which completes that "
                             "save. Nothing was loaded, and no file was changed.");
        break;
    default:
        why = FailureLines(base.LastFailure(), chosen) + QStringLiteral("\nNothing was loaded.");
        break;
    }
    platform::MessageBox(QStringLiteral("Cannot Load ") + chosen + u'\n' + why,
                         platform::Buttons::OK, platform::Icon::Exclamation,
                         platform::ProgramTitle());
}

} // namespace dialogs
