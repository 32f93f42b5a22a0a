#pragma once

#include <QValidator>

namespace platform {

// The rules for every text box whose text goes into a file, for typed and pasted text
// alike: a comma becomes "¸" (the files separate items by commas), characters that
// Windows-1252 cannot hold are refused, and optionally letters are upper-cased and the
// length is bounded. Text set by the program with setText is not checked, so a box can
// still show stored text as it is.
class EntryValidator : public QValidator {
    Q_OBJECT
public:
    // maxLength 0 means no limit.
    explicit EntryValidator(QObject* parent = nullptr, bool upperCase = false, int maxLength = 0);

    State validate(QString& input, int& pos) const override;

private:
    bool m_UpperCase;
    int m_MaxLength;
};

} // namespace platform
