#include "consult/CIniFileReader.h"

#include "kb/Utilities.h"
#include "platform/IniFile.h"

namespace consult {

CIniFileReader::CIniFileReader(const std::string& programFolder) {
    m_IniFile = programFolder;
    if (!m_IniFile.empty() && m_IniFile.back() != '/') {
        m_IniFile += '/';
    }
    m_IniFile += "mirel.ini";
}

bool CIniFileReader::IniExists() const {
    return kb::FileExists(m_IniFile);
}

bool CIniFileReader::WriteParameter(const std::string& Section, const std::string& KeyName,
                                    const std::string& value) const {
    return platform::IniFile::WriteString(m_IniFile, Section, KeyName, value);
}

std::string CIniFileReader::ReadParameter(const std::string& Section,
                                          const std::string& KeyName) const {
    return ReadParameters({{Section, KeyName}}).front();
}

std::vector<std::string>
CIniFileReader::ReadParameters(const std::vector<platform::IniFile::Key>& keys) const {
    std::vector<std::string> values = platform::IniFile::ReadStrings(m_IniFile, keys);
    for (std::string& value : values) {
        // Only the leading blanks go: trailing ones can only come from inside quotes, and
        // the platform's buffer kept those.
        const auto first = value.find_first_not_of(' ');
        value = first == std::string::npos ? std::string() : value.substr(first);
    }
    return values;
}

} // namespace consult
