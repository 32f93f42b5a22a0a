#include "dialogs/DataFileNotices.h"

#include "platform/Platform.h"
#include "platform/ProgramInfo.h"

namespace dialogs {

QString PartlyReadText(const QString& dataFile, bool programSaves) {
    QString text = QStringLiteral("Part of the data file could not be read and was passed over; "
                                  "the records read are used:\n") +
                   dataFile;
    if (programSaves)
        text += QStringLiteral("\nSave Records writes only the records read: what was passed "
                               "over would be lost from the file.");
    return text;
}

void ShowPartlyReadNotice(const QString& dataFile, bool programSaves) {
    platform::MessageBox(PartlyReadText(dataFile, programSaves), platform::Buttons::OK,
                         platform::Icon::Exclamation, platform::ProgramTitle());
}

} // namespace dialogs
