#pragma once

#include "platform/IniFile.h"

#include <string>
#include <vector>

namespace consult {

// The consultation program's settings file, mirel.ini in the program's folder.
class CIniFileReader {
public:
    // programFolder: the folder the program runs from (no other place is searched).
    explicit CIniFileReader(const std::string& programFolder);

    bool IniExists() const;
    // True when the key was written.
    bool WriteParameter(const std::string& Section, const std::string& KeyName,
                        const std::string& value) const;
    // The key's value without its leading blanks, at most 127 characters; "" when the
    // file, the section or the key is missing.
    std::string ReadParameter(const std::string& Section, const std::string& KeyName) const;
    // The values of several keys, each as ReadParameter gives it, from one reading of the
    // file.
    std::vector<std::string> ReadParameters(const std::vector<platform::IniFile::Key>& keys) const;

    const std::string& GetIniFileName() const { return m_IniFile; }

private:
    std::string m_IniFile;
};

} // namespace consult
