#include "acquire/CRecordSaver.h"

#include "kb/DataFileWriter.h"
#include "kb/KnowledgeBaseLock.h"
#include "kb/Utilities.h"

#include <cerrno>
#include <cstdio>

namespace acquire {

void CRecordSaver::Loaded(const std::string& questionSet, bool dataReadWhole) {
    m_QuestionSet = questionSet;
    m_DataFile = kb::DataFileNameFor(questionSet);
    m_Stamps = Now();
    m_DataReadWhole = dataReadWhole;
    m_Error = 0;
}

CRecordSaver::Stamps CRecordSaver::Now() const {
    return {kb::FileStamp::Of(m_QuestionSet), kb::FileStamp::Of(m_DataFile)};
}

CRecordSaver::Outcome CRecordSaver::Save(const kb::RecordArray& records, std::int16_t count,
                                         const Ask& ask) {
    m_Error = 0;
    Stamps seen = m_Stamps;
    bool partlyReadAccepted = false;
    for (;;) {
        kb::KnowledgeBaseLock lock(m_DataFile, kb::KnowledgeBaseLock::Mode::Save, m_LockWait);
        if (!lock.Held()) {
            m_Error = lock.Error();
            return lock.Busy() ? Outcome::Busy : Outcome::Failed;
        }
        const Stamps now = Now();
        if (count <= 0 && !now.dataFile.exists) {
            return Outcome::Nothing;
        }
        Reasons reasons;
        reasons.questionSet = now.questionSet != seen.questionSet;
        reasons.dataFile = now.dataFile != seen.dataFile;
        reasons.partlyRead = !m_DataReadWhole && !partlyReadAccepted && now.dataFile.exists;
        if (!reasons.questionSet && !reasons.dataFile && !reasons.partlyRead) {
            if (count > 0) {
                if (!kb::DataFileWriter().Save(records, m_DataFile, m_Error)) {
                    return Outcome::Failed;
                }
            } else if (std::remove(m_DataFile.c_str()) != 0) {
                m_Error = errno;
                return Outcome::Failed;
            }
            m_Stamps = Now();
            m_DataReadWhole = true;
            return count > 0 ? Outcome::Saved : Outcome::Deleted;
        }
        // Asked without the lock: another program must not wait on this one's question.
        lock.Release();
        if (!ask(reasons)) {
            return Outcome::Declined;
        }
        // What the user agreed to lose; anything newer is asked about again.
        seen = now;
        partlyReadAccepted = true;
    }
}

} // namespace acquire
