#include "kb/CQuestion.h"

#include "kb/Utilities.h"

namespace kb {

namespace {
bool IsValidType(std::int16_t T) {
    return T == 0 || T == 1;
}
} // namespace

bool CQuestion::SetUserQ(const std::string& Q) {
    m_UserQ = Q;
    return true;
}

bool CQuestion::SetKEQ(const std::string& Q) {
    m_KEQ = Q;
    return true;
}

bool CQuestion::SetUserType(std::int16_t T) {
    if (!IsValidType(T)) {
        return false;
    }
    m_UserType = T;
    return true;
}

bool CQuestion::SetKEType(std::int16_t T) {
    if (!IsValidType(T)) {
        return false;
    }
    m_KEType = T;
    return true;
}

bool CQuestion::SetHelp(const std::string& QHlp) {
    if (QHlp.empty()) {
        return false;
    }
    m_QHelp = QHlp;
    return true;
}

bool CQuestion::SetNumOptions(std::int16_t n) {
    if (n < 2 || n > kMaxOptions) {
        return false;
    }
    m_NumOptions = n;
    return true;
}

bool CQuestion::SetImportance(double import) {
    // Written so that a NaN fails both comparisons and is refused.
    if (!(import >= 1.0 && import <= 2.0)) {
        return false;
    }
    m_Importance = import;
    return true;
}

bool CQuestion::AddOption(const std::string& Opt) {
    if (m_NumOptions >= kMaxOptions) {
        return false;
    }
    m_Options[static_cast<std::size_t>(m_NumOptions)] = Opt;
    ++m_NumOptions;
    return true;
}

bool CQuestion::RemoveOption() {
    if (m_NumOptions <= 0) {
        return false;
    }
    --m_NumOptions;
    m_Options[static_cast<std::size_t>(m_NumOptions)].clear();
    return true;
}

std::string CQuestion::GetOption(std::int16_t idx) const {
    if (idx < 0 || idx >= m_NumOptions) {
        return {};
    }
    return m_Options[static_cast<std::size_t>(idx)];
}

bool CQuestion::UpdateOption(std::int16_t idx, const std::string& Opt) {
    if (idx < 0 || idx >= m_NumOptions) {
        return false;
    }
    m_Options[static_cast<std::size_t>(idx)] = Opt;
    return true;
}

bool CQuestion::IsComplete(std::int16_t QNo) const {
    if (AllBlanks(m_KEQ) || AllBlanks(m_UserQ)) {
        return false;
    }
    if (!IsValidType(m_UserType) || !IsValidType(m_KEType)) {
        return false;
    }
    if (m_NumOptions < 0 || m_NumOptions > kMaxOptions) {
        return false;
    }
    for (std::int16_t i = 0; i < m_NumOptions; ++i) {
        if (AllBlanks(m_Options[static_cast<std::size_t>(i)])) {
            return false;
        }
    }
    if (AllBlanks(m_QHelp)) {
        return false;
    }
    if (m_Importance != 1.0 && m_Importance != 1.5 && m_Importance != 2.0) {
        return false;
    }
    if (QNo == 0) {
        return true;
    }
    for (std::int16_t d = 0; d < m_Dependencies.GetNumDependencies(); ++d) {
        std::int16_t q = 0;
        std::int16_t opt = 0;
        m_Dependencies.GetDependency(d, q, opt);
        if (q >= QNo + 1 || opt < 0 || opt > 9) {
            return false;
        }
    }
    return true;
}

bool CQuestion::IsEmpty() const {
    if (!m_KEQ.empty() || !m_UserQ.empty()) {
        return false;
    }
    for (std::int16_t i = 0; i < kMaxOptions; ++i) {
        if (!GetOption(i).empty()) {
            return false;
        }
    }
    return true;
}

} // namespace kb
