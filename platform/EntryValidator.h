#pragma once

#include <QValidator>

namespace platform {

// The rules for every text box whose text goes into a file, for typed and pasted text
// alike: a comma becomes "¸" (the files separate items by commas), characters that
// Windows-1252 cannot hold are refused, and optionally letters are upper-cased and the
// length is bounded. Text set by the program with setText is not checked, so a box can
// still show stored text as it is.
//
// Made for a line edit (its parent), a bounded validator also takes over the box's own
// limit, which would cut a longer paste silently: text that would make the box longer than
// the bound is refused whole, and when more than one character was refused so (a paste,
// not a key) the user is told.
class EntryValidator : public QValidator {
    Q_OBJECT
public:
    // maxLength 0 means no limit.
    explicit EntryValidator(QObject* parent = nullptr, bool upperCase = false, int maxLength = 0);

    State validate(QString& input, int& pos) const override;

    // The message that says a paste was too long for a box of maxLength characters.
    static QString TooLongText(int maxLength);

private:
    void Box_InputRejected();

    bool m_UpperCase;
    int m_MaxLength;
    // The length of the box's text, and whether the last text refused for its length would
    // have grown the box by more than one character.
    qsizetype m_ShownLength = 0;
    mutable bool m_RefusedLong = false;
    bool m_SayPending = false; // a refusal is to be told, unless the box took the text after all
};

} // namespace platform
