#include "platform/EntryValidator.h"

#include "kb/Cp1252.h"

namespace platform {

namespace {

constexpr QChar kComma = u',';
constexpr QChar kSeparator = QChar(0x00B8);

// Upper-cases one character the way an ANSI text box would: only where the capital is a
// single character that the files can hold ("ß" and "µ" stay as they are).
QChar UpperOf(QChar c) {
    const QString upper = QString(c).toUpper();
    if (upper.size() == 1 && kb::IsCp1252Encodable(upper.at(0).unicode())) {
        return upper.at(0);
    }
    return c;
}

} // namespace

EntryValidator::EntryValidator(QObject* parent, bool upperCase, int maxLength)
    : QValidator(parent), m_UpperCase(upperCase), m_MaxLength(maxLength) {}

QValidator::State EntryValidator::validate(QString& input, int& pos) const {
    Q_UNUSED(pos);
    for (QChar& c : input) {
        // Surrogates only come in pairs for characters beyond the files' range; a pasted
        // line break would end the item and split the file's line.
        if (c.isSurrogate() || !kb::IsCp1252Encodable(c.unicode()) || c == u'\n' || c == u'\r') {
            return Invalid;
        }
        if (c == kComma) {
            c = kSeparator;
        } else if (m_UpperCase) {
            c = UpperOf(c);
        }
    }
    if (m_MaxLength > 0 && input.size() > m_MaxLength) {
        return Invalid;
    }
    return Acceptable;
}

} // namespace platform
