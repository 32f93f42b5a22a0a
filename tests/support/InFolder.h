#pragma once

#include <QDir>
#include <QString>

namespace testsupport {

// Makes a folder the current one for the object's life, as if the program had been
// started there.
class InFolder {
public:
    explicit InFolder(const QString& folder) : m_Old(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~InFolder() { QDir::setCurrent(m_Old); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    QString m_Old;
};

} // namespace testsupport
