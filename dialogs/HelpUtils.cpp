#include "dialogs/HelpUtils.h"

#include "platform/Platform.h"

namespace dialogs {

void ShowHelpContents(const QString& HelpFile) {
    platform::ShowHelp(HelpFile, platform::HelpCommand::Contents);
}

void ShowHelpSearch(const QString& HelpFile) {
    platform::ShowHelp(HelpFile, platform::HelpCommand::KeywordSearch);
}

} // namespace dialogs
