#include "platform/NumberFormat.h"

#include <QLocale>

namespace platform {

QString FormatTwoDecimals(double value) {
    // Only the separator is the locale's: the digits and the minus stay as they are, so a
    // score reads alike in every language.
    QString text = QString::number(value, 'f', 2);
    if (text == QStringLiteral("-0.00"))
        text = QStringLiteral("0.00");
    text.replace(u'.', QLocale().decimalPoint());
    return text;
}

} // namespace platform
