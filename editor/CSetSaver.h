#pragma once

#include "editor/CDataFileModifier.h"
#include "editor/QuestionFileWriter.h"
#include "kb/CQuestion.h"
#include "kb/FileIO.h"

#include <chrono>
#include <functional>
#include <string>

namespace editor {

// Halvet's save of a question set together with the data file beside it, as one step. It
// remembers the set's file as it was loaded or last saved (its base) and stamps both files
// then, and it holds the data-file modifier that notes insertions and deletions. A save
// takes the knowledge base's lock, asks before saving over a file that another program
// changed since, writes the new question set and, where the noted changes reach the data
// file beside it, the renumbered data file, both beside their targets; only when both are
// complete does either take its place, and a data file that then cannot follow puts the
// question set back. So the two files on disk are always from one save or the other.
class CSetSaver {
public:
    enum class Outcome {
        Saved,
        Declined, // the user would not save over files that changed on disk
        Busy,     // another program held the lock for the whole wait
        Failed,   // nothing was written (LastFailure says which file and why)
    };
    enum class Which { QuestionSet, DataFile };
    struct Failure {
        Which file = Which::QuestionSet;
        std::string path;
        std::string why;
    };
    // What changed on disk since the set was loaded or last saved here.
    struct Changes {
        bool questionSet = false;
        bool dataFile = false;
        std::string questionSetPath;
        std::string dataFilePath;
    };
    // Asked when files changed on disk since; true saves over them all the same.
    using Ask = std::function<bool(const Changes&)>;

    // A new set without a file: nothing to stamp, no data file.
    void NewSet();
    // The set was just read from path (under a load lock): stamps both files and looks the
    // data file over. False when a data file lies there but cannot be read.
    bool Loaded(const std::string& path);
    // Insertions and deletions are noted here.
    CDataFileModifier& Modifier() { return m_Modifier; }

    // Saves QArr to path. The data file beside path is renumbered only when path is the
    // set's base (a set saved elsewhere leaves that file's data file alone). On anything but
    // Saved both files are as they were and the noted changes keep waiting.
    Outcome Save(const kb::QuestionArray& QArr, const std::string& path, const Ask& ask);
    const Failure& LastFailure() const { return m_Failure; }
    // How long a save waits for another program's save to end before it gives up.
    void SetLockWait(std::chrono::milliseconds wait) { m_LockWait = wait; }
    const std::string& Base() const { return m_Base; }

private:
    std::chrono::milliseconds m_LockWait = std::chrono::seconds(5);
    struct Stamps {
        kb::FileStamp questionSet;
        kb::FileStamp dataFile;
    };
    Changes Compare(const Stamps& seen, const Stamps& now, const std::string& path,
                    bool renumbers) const;
    Outcome Fail(Which file, const std::string& path, const std::string& why);
    Outcome Write(const kb::QuestionArray& QArr, const std::string& path, bool renumbers);

    QuestionFileWriter m_Writer;
    CDataFileModifier m_Modifier;
    std::string m_Base;
    Stamps m_Stamps;
    Failure m_Failure;
};

} // namespace editor
