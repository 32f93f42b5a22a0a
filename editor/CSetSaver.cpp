#include "editor/CSetSaver.h"

#include "kb/AtomicFileWriter.h"
#include "kb/KnowledgeBaseLock.h"
#include "kb/Utilities.h"

#include <system_error>

namespace editor {

namespace {

std::string Reason(int error) {
    return std::generic_category().message(error != 0 ? error : EIO) + ".";
}

std::string ModifierReason(const CDataFileModifier& modifier) {
    switch (modifier.GetLastProblem()) {
    case CDataFileModifier::Problem::Unshiftable:
        return "Line " + std::to_string(modifier.GetFirstUnshiftableLine()) +
               " of it holds a question's responses together with other items, and such a line "
               "cannot be renumbered.";
    case CDataFileModifier::Problem::Unreadable:
        return "It could not be read: " + Reason(modifier.GetLastError());
    case CDataFileModifier::Problem::Changing:
        return "It kept changing while it was being read.";
    default:
        return "It could not be written: " + Reason(modifier.GetLastError());
    }
}

} // namespace

void CSetSaver::NewSet() {
    m_Modifier = CDataFileModifier();
    m_Base.clear();
    m_Stamps = {};
}

bool CSetSaver::Loaded(const std::string& path) {
    NewSet();
    m_Base = path;
    const std::string dataFile = kb::DataFileNameFor(path);
    m_Stamps = {kb::FileStamp::Of(path), kb::FileStamp::Of(dataFile)};
    return !m_Stamps.dataFile.exists || m_Modifier.Init(dataFile);
}

CSetSaver::Changes CSetSaver::Compare(const Stamps& seen, const Stamps& now,
                                      const std::string& path, bool renumbers) const {
    Changes changes;
    changes.questionSetPath = path;
    changes.dataFilePath = kb::DataFileNameFor(path);
    // A set saved to another file (the user chose it, and was asked before replacing it)
    // or to a file no longer there saves over nothing this program has seen.
    changes.questionSet =
        path == m_Base && now.questionSet.exists && now.questionSet != seen.questionSet;
    changes.dataFile = renumbers && now.dataFile != seen.dataFile;
    return changes;
}

CSetSaver::Outcome CSetSaver::Fail(Which file, const std::string& path, const std::string& why) {
    m_Failure = {file, path, why};
    return Outcome::Failed;
}

CSetSaver::Outcome CSetSaver::Save(const kb::QuestionArray& QArr, const std::string& path,
                                   const Ask& ask) {
    m_Failure = {};
    const std::string dataFile = kb::DataFileNameFor(path);
    Stamps seen = m_Stamps;
    for (;;) {
        // From the last look at the files through the moment the new ones take their
        // place, no other program's save can come between.
        kb::KnowledgeBaseLock lock(path, kb::KnowledgeBaseLock::Mode::Save, m_LockWait);
        if (!lock.Held()) {
            if (lock.Busy()) {
                m_Failure = {Which::QuestionSet, path,
                             "Another program is saving this knowledge base."};
                return Outcome::Busy;
            }
            // Its folder cannot be written, or is not there: the set could not be either.
            return Fail(Which::QuestionSet, path, Reason(lock.Error()));
        }
        // The data file is renumbered as it is now, whenever it came to be there.
        const Stamps now{kb::FileStamp::Of(path), kb::FileStamp::Of(dataFile)};
        const bool renumbers = path == m_Base && m_Modifier.IsModified() && now.dataFile.exists;
        const Changes changes = Compare(seen, now, path, renumbers);
        if (!changes.questionSet && !changes.dataFile) {
            return Write(QArr, path, renumbers);
        }
        // Asked without the lock: another program must not wait on this one's question.
        lock.Release();
        if (!ask(changes)) {
            return Outcome::Declined;
        }
        // What the user agreed to save over; anything newer is asked about again.
        seen = now;
    }
}

CSetSaver::Outcome CSetSaver::Write(const kb::QuestionArray& QArr, const std::string& path,
                                    bool renumbers) {
    const std::string dataFile = kb::DataFileNameFor(path);
    std::string bytes;
    if (!m_Writer.Compose(QArr, bytes)) {
        return Fail(Which::QuestionSet, path,
                    "It holds more questions, or text, than a question set file can hold.");
    }
    // Both new files are made in full before either takes its place.
    kb::AtomicFileWriter questions(path);
    if (!questions.Write(bytes)) {
        return Fail(Which::QuestionSet, path, Reason(questions.Error()));
    }
    std::unique_ptr<kb::AtomicFileWriter> data;
    if (renumbers) {
        data = m_Modifier.Prepare(dataFile);
        if (data == nullptr && m_Modifier.GetLastProblem() != CDataFileModifier::Problem::None) {
            return Fail(Which::DataFile, dataFile, ModifierReason(m_Modifier));
        }
    }
    if (!questions.CommitUndoable()) {
        return Fail(Which::QuestionSet, path, Reason(questions.Error()));
    }
    if (data != nullptr && !data->Commit()) {
        const std::string why = Reason(data->Error());
        if (questions.Undo()) {
            return Fail(Which::DataFile, dataFile, why);
        }
        // The question set could not be put back: the waiting changes stay, so the next
        // save brings the data file into step with the set now on disk.
        m_Base = path;
        m_Stamps.questionSet = kb::FileStamp::Of(path);
        return Fail(Which::DataFile, dataFile,
                    why + " The question set was saved and could not be put back as it was; "
                          "save again to bring the data file into step with it.");
    }
    // The set on disk is now the one in memory, so a data file made from here on is made
    // for it: nothing waits any more, whether or not there was a data file to renumber.
    m_Modifier.Done();
    m_Base = path;
    m_Stamps = {kb::FileStamp::Of(path), kb::FileStamp::Of(dataFile)};
    return Outcome::Saved;
}

} // namespace editor
