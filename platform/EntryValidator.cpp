#include "platform/EntryValidator.h"

#include "kb/Cp1252.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"

#include <QLineEdit>

#include <limits>

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
    : QValidator(parent), m_UpperCase(upperCase), m_MaxLength(maxLength) {
    auto* box = qobject_cast<QLineEdit*>(parent);
    if (box != nullptr && m_MaxLength > 0) {
        box->setMaxLength(std::numeric_limits<int>::max());
        m_ShownLength = box->text().size();
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) {
            m_ShownLength = text.size();
            // The box took the text after all: the program set it, as stored.
            m_SayPending = false;
        });
        connect(box, &QLineEdit::inputRejected, this, &EntryValidator::Box_InputRejected);
    }
}

QString EntryValidator::TooLongText(int maxLength) {
    return QStringLiteral("This box holds at most %1 characters: the text was too long and "
                          "was not taken.")
        .arg(maxLength);
}

void EntryValidator::Box_InputRejected() {
    if (!m_RefusedLong) {
        return;
    }
    m_RefusedLong = false;
    m_SayPending = true;
    // Told once the box has finished with the paste, not from within it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_SayPending) {
                m_SayPending = false;
                MessageBox(TooLongText(m_MaxLength), Buttons::OK, Icon::Exclamation,
                           ProgramTitle());
            }
        },
        Qt::QueuedConnection);
}

QValidator::State EntryValidator::validate(QString& input, int& pos) const {
    Q_UNUSED(pos);
    m_RefusedLong = false;
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
        // A key pressed in a full box is simply not taken, as in any text box.
        m_RefusedLong = input.size() > m_ShownLength + 1;
        return Invalid;
    }
    return Acceptable;
}

} // namespace platform
