#pragma once

#include "kb/CRecord.h"
#include "kb/FileIO.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace acquire {

// Drosk's save of its records: the data file beside the loaded question set is written
// whole, or deleted when no record is left. Drosk holds its records in memory, so a save
// replaces whatever the file holds; it therefore stamps both files when they are read and
// after each write, and asks before replacing or deleting a data file that it could read
// only in part, or when either file changed on disk since (Halvet renumbering the
// questions, another Drosk saving). The check and the write are made under the knowledge
// base's lock, so no other program's save comes between them.
class CRecordSaver {
public:
    enum class Outcome {
        Saved,
        Deleted,
        Nothing,  // no record and no data file: nothing to do
        Declined, // the user would not lose what the question was about
        Busy,     // another program held the lock for the whole wait
        Failed,   // nothing was changed on disk
    };
    // Why a save asks first.
    struct Reasons {
        bool questionSet = false; // the question set changed on disk since it was read
        bool dataFile = false;    // the data file changed on disk since it was read or written
        bool partlyRead = false;  // the data file holds text its last read could not take in
    };
    using Ask = std::function<bool(const Reasons&)>;

    // The set and its data file were just read; call it while the load lock is held, so the
    // stamps are of the files that were read.
    void Loaded(const std::string& questionSet, bool dataReadWhole);
    // Writes records (count of them; none: the data file is deleted).
    Outcome Save(const kb::RecordArray& records, std::int16_t count, const Ask& ask);
    // Why the last Save failed (an errno), 0 when it did not.
    int LastError() const { return m_Error; }
    const std::string& DataFile() const { return m_DataFile; }
    // How long a save waits for another program's save to end before it gives up.
    void SetLockWait(std::chrono::milliseconds wait) { m_LockWait = wait; }

private:
    std::chrono::milliseconds m_LockWait = std::chrono::seconds(5);
    struct Stamps {
        kb::FileStamp questionSet;
        kb::FileStamp dataFile;
        bool operator==(const Stamps&) const = default;
    };
    Stamps Now() const;

    std::string m_QuestionSet;
    std::string m_DataFile;
    Stamps m_Stamps;
    bool m_DataReadWhole = true;
    int m_Error = 0;
};

} // namespace acquire
