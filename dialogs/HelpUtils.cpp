#include "dialogs/HelpUtils.h"

#include "platform/HelpFile.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"

#include <QDir>
#include <QTextStream>

namespace dialogs {

void ShowHelpContents(const QString& HelpFile) {
    platform::ShowHelp(HelpFile, platform::HelpCommand::Contents);
}

void ShowHelpSearch(const QString& HelpFile) {
    platform::ShowHelp(HelpFile, platform::HelpCommand::KeywordSearch);
}

int ReportProgramFiles(const QString& HelpFile, QTextStream& out) {
    const std::pair<QString, QString> found[] = {
        {HelpFile, QDir::toNativeSeparators(platform::HelpFile::Locate(HelpFile))},
        {QStringLiteral("nohelp.htm"), platform::FindProgramFile(QStringLiteral("nohelp.htm"))},
        {QStringLiteral("nodesc.htm"), platform::FindProgramFile(QStringLiteral("nodesc.htm"))},
        {QStringLiteral("corvane-home.htm"),
         platform::FindProgramFile(QStringLiteral("corvane-home.htm"))},
    };
    int result = 0;
    for (const auto& [name, path] : found) {
        out << name << ": " << (path.isEmpty() ? QStringLiteral("not found") : path) << '\n';
        if (path.isEmpty())
            result = 1;
    }
    out.flush();
    return result;
}

} // namespace dialogs
