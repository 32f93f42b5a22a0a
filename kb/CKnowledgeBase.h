#pragma once

#include "kb/AtomicFileWriter.h"
#include "kb/CQuestion.h"
#include "kb/CRecord.h"
#include "kb/FileStamp.h"
#include "kb/KnowledgeBasePaths.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kb {

// The one way a program opens a knowledge base (a question set and the data file beside
// it) and the one way it saves one or both files, as a small database owns its files.
//
// - It knows the knowledge base by the file its question set really is (KnowledgeBasePaths).
// - A load shares the folder's lock, reads both files from descriptors opened once, stamps
//   exactly the bytes it read, and checks that no save crossed it (the files it read are
//   still the ones named, and no save journal appeared); a crossed load reads again.
// - It owns the global question count: a load that succeeds leaves g_NumQuestions at the
//   set's count (Halvet keeps none), one that fails leaves it as it was.
// - A save holds the lock alone from its last look at the files until its new files are in
//   place, asks with the lock released before it saves over what changed on disk since
//   (each program its own questions), writes and flushes every new file in full, and puts
//   them in place as one step that a crash cannot split (SaveJournal).
// - Whoever next opens or saves the knowledge base finds a save cut short and mends it
//   (Halvet and Drosk), or, writing nothing, refuses to load it (Mirel).
// - Every failure is reported one way: which file, and why.
class CKnowledgeBase {
public:
    enum class Program { Editor, Acquisition, Consultation };

    enum class Outcome {
        Done,
        Declined,   // save: the user would not save over what the question named
        Busy,       // another program held the lock for the whole wait, or kept saving
        Unreadable, // open: the question set could not be read as one (nothing was loaded)
        NoDataFile, // open, consultation: no data file beside the set can be opened
        HalfSaved,  // open, consultation: a save was cut short; Halvet or Drosk mends it
        Failed,     // LastFailure says which file and why
    };

    enum class Which { QuestionSet, DataFile, Folder, LockFile, Journal };
    struct Failure {
        Which file = Which::QuestionSet;
        std::string path;
        std::string why; // one or more sentences
        // A save that failed part way: its journal stays, and the next program to open or
        // save the knowledge base completes it. Otherwise nothing changed on disk.
        bool pending = false;
    };

    // What the last open or save found of a save cut short, and did about it.
    enum class Mending {
        None,
        Completed, // its journal was found: the new files still waiting were put in place
        Dropped,   // it never wrote its journal: its unfinished new files were removed
    };

    // What a load read.
    struct Contents {
        QuestionArray questions;        // the whole questions read
        bool questionSetWhole = true;   // nothing of the set was left unread
        bool onlyBlankLeftOver = false; // what was left unread is blank lines only
        long textPassedOver = 0;        // items read without the text after their closing quote
        bool dataFileExists = false;
        bool dataFileReadable = true; // there, and could be opened
        RecordArray records;          // acquisition and consultation: the data file's
        long skippedItems = 0;        // items of the data file the reader passed over
    };

    // What a save asks before it writes; the paths are those of the files really written.
    struct Question {
        bool questionSetChanged = false; // the set on disk is not the one read or saved here
        bool dataFileChanged = false;    // the data file on disk is not the one read or saved
        bool dataFilePartlyRead = false; // the data file could be read only in part
        // Editor: the set on disk changed and a data file lies beside it, whose records
        // were saved for the questions there.
        bool recordsMayMove = false;
        bool dataFileElsewhere = false; // the data file to be written lies outside the folder
        std::string questionSet;
        std::string dataFile;
        bool Any() const {
            return questionSetChanged || dataFileChanged || dataFilePartlyRead || dataFileElsewhere;
        }
    };
    using Ask = std::function<bool(const Question&)>;

    // What a save puts in place.
    struct Plan {
        // The new question set's bytes; none leaves the question set as it is.
        std::optional<std::string> questionSet;
        enum class Data {
            Keep,
            Write,    // records, whole
            Remove,   // no record is left
            Renumber, // renumber, the data file as it is on disk then, if there is one
        };
        Data data = Data::Keep;
        const RecordArray* records = nullptr;
        // Renumber: called under the lock with the data file's name; returns the new file,
        // sealed or not, ready to take its place, or null: with why empty when the file
        // stays as it is, else why it cannot be renumbered.
        std::function<std::unique_ptr<AtomicFileWriter>(const std::string& dataFile,
                                                        std::string& why)>
            renumber;
    };

    // The points of a load and a save that tests stop at.
    enum class Step {
        QuestionSetRead, // a load read the question set, not yet the data file
        Sealed,          // a save's new files are written and flushed, none in place
        Noted,           // its journal is in place
        Placed,          // one of its files took its place (once for each)
        Finished,        // its journal is gone
    };
    using StepHook = std::function<void(Step)>;
    static void SetStepHook(StepHook hook);

    explicit CKnowledgeBase(Program program);

    // Opens the knowledge base whose question set the user chose (any path to it). On
    // anything but Done nothing is loaded: contents and the one open before stay.
    Outcome Open(const std::string& chosen, Contents& contents);
    // No knowledge base (the editor's new set, until it is saved).
    void Close();
    bool IsOpen() const { return !m_Paths.questionSet.empty(); }

    // Saves to the knowledge base open.
    Outcome Save(const Plan& plan, const Ask& ask);
    // Saves to the question set chosen (the editor): the one open, or another, which then
    // becomes the one open. A data file beside another set is never renumbered: its records
    // were made for the set that was there.
    Outcome SaveAs(const std::string& chosen, const Plan& plan, const Ask& ask);

    const Failure& LastFailure() const { return m_Failure; }
    // After an open that found the question set unreadable: whether it holds more items
    // than a question set may.
    bool QuestionSetTooLong() const { return m_QuestionSetTooLong; }
    Mending LastMending() const { return m_Mending; }
    // The files the mending put in place or removed.
    const std::vector<std::string>& MendedFiles() const { return m_MendedFiles; }

    // The knowledge base open, links followed ("" while none is).
    const std::string& QuestionSetPath() const { return m_Paths.questionSet; }
    const std::string& DataFilePath() const { return m_Paths.dataFile; }
    // The file a save of records really writes (the data file's links followed).
    const std::string& DataFileTarget() const { return m_Paths.dataFileTarget; }
    // Whether a data file lies beside the set open now.
    bool HasDataFile() const;

    // How long a load or save waits for another program's save to end before it gives up.
    void SetLockWait(std::chrono::milliseconds wait) { m_LockWait = wait; }

private:
    struct Stamps {
        FileStamp questionSet;
        FileStamp dataFile;
    };
    enum class Attempt { Done, Again, Stop };

    Attempt TryOpen(const KnowledgeBasePaths& paths, Contents& contents, Outcome& outcome);
    // With the save lock held: completes a journal found, and removes what a save that
    // never wrote one left (only with a real lock: without one that save may be running).
    bool Mend(const KnowledgeBasePaths& paths, bool locked);
    Outcome SaveTo(KnowledgeBasePaths target, bool same, const Plan& plan, const Ask& ask);
    Outcome Commit(const KnowledgeBasePaths& target, const Plan& plan, const Stamps& now,
                   bool renumbers);
    Stamps StampsNow(const KnowledgeBasePaths& paths, const Stamps& seen) const;
    Outcome Fail(Which file, const std::string& path, const std::string& why);

    Program m_Program;
    std::chrono::milliseconds m_LockWait = std::chrono::seconds(5);
    KnowledgeBasePaths m_Paths;
    Stamps m_Stamps;
    bool m_DataReadWhole = true;
    bool m_LeftoversSeen = false; // this open already dealt with what a save left
    bool m_QuestionSetTooLong = false;
    Failure m_Failure;
    Mending m_Mending = Mending::None;
    std::vector<std::string> m_MendedFiles;
};

} // namespace kb
