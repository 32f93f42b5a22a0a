#include "kb/CKnowledgeBase.h"

#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"
#include "kb/FileIO.h"
#include "kb/KnowledgeBaseLock.h"
#include "kb/QuestionFileReader.h"
#include "kb/SaveJournal.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kb {

namespace {

CKnowledgeBase::StepHook g_Hook;

void At(CKnowledgeBase::Step step) {
    if (g_Hook) {
        g_Hook(step);
    }
}

std::string Reason(int error) {
    return std::generic_category().message(error != 0 ? error : EIO) + ".";
}

// A load crossed by saves this many times in a row gives up and says another program is
// saving.
constexpr int kLoadTries = 8;

// Above this size a file whose place, size and time are those seen is taken to hold the
// bytes seen without reading it again; below it the bytes are compared.
constexpr std::int64_t kAlwaysDigested = std::int64_t{16} << 20;

bool SameVersion(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// A file a load opened once, as it was when opened.
class OpenedFile {
public:
    explicit OpenedFile(const std::string& path) : m_Path(path) {
        std::int64_t size = 0;
        m_File = OpenRegularFile(path, size);
        m_Exists = m_File.IsOpen() ? ::fstat(m_File.Get(), &m_Status) == 0
                                   : ::stat(path.c_str(), &m_Status) == 0;
    }

    int Fd() const { return m_File.Get(); }
    bool Exists() const { return m_Exists; }
    // What was read through it is what the path names now, and nothing wrote into it.
    bool StillTheOne() const {
        struct stat now {};
        const bool exists = ::stat(m_Path.c_str(), &now) == 0;
        if (exists != m_Exists) {
            return false;
        }
        if (!exists) {
            return true;
        }
        struct stat open {};
        return SameVersion(now, m_Status) &&
               (Fd() < 0 || (::fstat(Fd(), &open) == 0 && SameVersion(open, m_Status)));
    }
    FileStamp Stamp() const {
        return Fd() >= 0 ? FileStamp::OfOpenFile(Fd()) : FileStamp::Of(m_Path);
    }

private:
    std::string m_Path;
    FileDescriptor m_File;
    bool m_Exists = false;
    struct stat m_Status {};
};

// The stamp of a file just written: where it lies now, and the bytes that were written.
FileStamp Written(const std::string& path, const AtomicFileWriter& writer) {
    FileStamp stamp = FileStamp::Of(path, 0);
    stamp.size = writer.WrittenSize();
    stamp.digest = writer.WrittenDigest();
    stamp.digested = true;
    return stamp;
}

// The file at path as it is now, against the version seen: a large file in the same place
// with the same size and time is not read again.
FileStamp Restamp(const std::string& path, const FileStamp& seen) {
    if (seen.digested && seen.size > kAlwaysDigested) {
        const FileStamp quick = FileStamp::Of(path, 0);
        if (quick.exists && quick.device == seen.device && quick.inode == seen.inode &&
            quick.size == seen.size && quick.modifiedNs == seen.modifiedNs) {
            return seen;
        }
    }
    return FileStamp::Of(path);
}

} // namespace

void CKnowledgeBase::SetStepHook(StepHook hook) {
    g_Hook = std::move(hook);
}

CKnowledgeBase::CKnowledgeBase(Program program) : m_Program(program) {}

void CKnowledgeBase::Close() {
    m_Paths = {};
    m_Stamps = {};
    m_DataReadWhole = true;
}

bool CKnowledgeBase::HasDataFile() const {
    return IsOpen() && PathIsThere(m_Paths.dataFile);
}

CKnowledgeBase::Outcome CKnowledgeBase::Fail(Which file, const std::string& path,
                                             const std::string& why) {
    m_Failure = {file, path, why, false};
    return Outcome::Failed;
}

CKnowledgeBase::Outcome CKnowledgeBase::Open(const std::string& chosen, Contents& contents) {
    m_Failure = {};
    m_Mending = Mending::None;
    m_MendedFiles.clear();
    const KnowledgeBasePaths paths = KnowledgeBasePaths::Resolve(chosen);
    const std::int16_t countBefore = g_NumQuestions;
    m_LeftoversSeen = false;
    m_QuestionSetTooLong = false;
    Outcome outcome = Outcome::Busy;
    for (int attempt = 0; attempt < kLoadTries; ++attempt) {
        const Attempt tried = TryOpen(paths, contents, outcome);
        if (tried == Attempt::Again) {
            outcome = Outcome::Busy;
            continue;
        }
        break;
    }
    // The editor keeps no question count; a load that failed leaves the one before.
    if (outcome != Outcome::Done || m_Program == Program::Editor) {
        g_NumQuestions = countBefore;
    }
    if (outcome == Outcome::Busy && m_Failure.why.empty()) {
        m_Failure = {Which::QuestionSet, paths.questionSet,
                     "Another program is saving this knowledge base.", false};
    }
    return outcome;
}

CKnowledgeBase::Attempt CKnowledgeBase::TryOpen(const KnowledgeBasePaths& paths, Contents& contents,
                                                Outcome& outcome) {
    KnowledgeBaseLock lock(paths.questionSet, KnowledgeBaseLock::Mode::Load, m_LockWait);
    if (!lock.Held()) {
        outcome =
            lock.Busy() ? Outcome::Busy : Fail(Which::LockFile, lock.Path(), Reason(lock.Error()));
        return Attempt::Stop;
    }
    const SaveJournal journal(paths.folder);
    std::vector<SaveJournal::Step> steps;
    const SaveJournal::Found found = journal.Read(steps);
    if (m_Program == Program::Consultation) {
        const bool ours = std::any_of(steps.begin(), steps.end(), [&](const auto& step) {
            return step.to == paths.questionSet || step.to == paths.dataFile ||
                   step.to == paths.dataFileTarget;
        });
        if (found == SaveJournal::Found::Unreadable || ours) {
            m_Failure = {Which::Journal, journal.Path(),
                         "A save of this knowledge base was cut short before it was complete.",
                         false};
            outcome = Outcome::HalfSaved;
            return Attempt::Stop;
        }
    } else if (found != SaveJournal::Found::None ||
               (!m_LeftoversSeen && !journal
                                         .Leftovers({KnowledgeBasePaths::NameOf(paths.questionSet),
                                                     KnowledgeBasePaths::NameOf(paths.dataFile)})
                                         .empty())) {
        m_LeftoversSeen = true;
        // A save cut short: mended with the lock held alone, then read again.
        lock.Release();
        const KnowledgeBaseLock save(paths.questionSet, KnowledgeBaseLock::Mode::Save, m_LockWait);
        if (save.Busy()) {
            outcome = Outcome::Busy;
            return Attempt::Stop;
        }
        if (save.Held()) {
            if (!Mend(paths, save.Locked())) {
                outcome = Outcome::Failed;
                return Attempt::Stop;
            }
            return Attempt::Again;
        }
        if (found != SaveJournal::Found::None) {
            outcome = save.GetProblem() == KnowledgeBaseLock::Problem::Folder
                          ? Fail(Which::Folder, paths.folder,
                                 "A save of this knowledge base was cut short, and it cannot "
                                 "be completed, since the folder cannot be written: " +
                                     Reason(save.Error()))
                          : Fail(Which::LockFile, save.Path(),
                                 "A save of this knowledge base was cut short, and it cannot "
                                 "be completed without this lock: " +
                                     Reason(save.Error()));
            return Attempt::Stop;
        }
        // Only files of a save that never took their places, in a folder this program
        // cannot write: they change nothing, so the load goes on past them.
    }

    const OpenedFile questionSet(paths.questionSet);
    const OpenedFile dataFile(paths.dataFile);
    if (questionSet.Fd() < 0) {
        outcome = Outcome::Unreadable;
        return Attempt::Stop;
    }
    if (m_Program == Program::Consultation && dataFile.Fd() < 0) {
        m_Failure = {Which::DataFile, paths.dataFile, "", false};
        outcome = Outcome::NoDataFile;
        return Attempt::Stop;
    }

    QuestionFileReader questionReader;
    QuestionArray questions;
    const bool whole = questionReader.Read(questionSet.Fd(), questions);
    At(Step::QuestionSetRead);
    const int wholeQuestions =
        std::min<int>(questionReader.QuestionCount(), static_cast<int>(questions.size()));
    const bool readable = m_Program == Program::Acquisition
                              ? (whole || questionReader.OnlyBlankLeftOver()) && !questions.empty()
                              : wholeQuestions >= 1;
    if (!readable) {
        if (!questionSet.StillTheOne()) {
            return Attempt::Again;
        }
        m_QuestionSetTooLong = questionReader.OverItemLimit();
        outcome = Outcome::Unreadable;
        return Attempt::Stop;
    }
    // A set read only in part is used as far as its whole questions go; a question cut off
    // by the fault holds the wrong fields.
    questions.resize(static_cast<std::size_t>(wholeQuestions));

    RecordArray records;
    long skipped = 0;
    if (m_Program != Program::Editor && dataFile.Fd() >= 0) {
        DataFileReader dataReader;
        dataReader.Read(dataFile.Fd(), records);
        skipped = dataReader.SkippedItems();
    }
    Stamps stamps;
    if (m_Program != Program::Consultation) {
        stamps = {questionSet.Stamp(), dataFile.Stamp()};
    }
    // Nothing crossed the read: the files read are those the paths name, and no save is
    // half way through putting new ones in their place.
    std::vector<SaveJournal::Step> stepsAfter;
    const bool journalAsBefore =
        journal.Read(stepsAfter) == found &&
        std::equal(steps.begin(), steps.end(), stepsAfter.begin(), stepsAfter.end(),
                   [](const auto& a, const auto& b) { return a.from == b.from && a.to == b.to; });
    if (!questionSet.StillTheOne() || !dataFile.StillTheOne() || !journalAsBefore) {
        return Attempt::Again;
    }

    contents.questions = std::move(questions);
    contents.questionSetWhole = whole || questionReader.OnlyBlankLeftOver();
    contents.onlyBlankLeftOver = questionReader.OnlyBlankLeftOver();
    contents.textPassedOver = questionReader.TextPassedOver();
    contents.dataFileExists = dataFile.Exists();
    contents.dataFileReadable = !dataFile.Exists() || dataFile.Fd() >= 0;
    contents.records = std::move(records);
    contents.skippedItems = dataFile.Exists() && dataFile.Fd() < 0 ? 1 : skipped;
    m_Paths = paths;
    m_Stamps = stamps;
    m_DataReadWhole = contents.skippedItems == 0;
    outcome = Outcome::Done;
    return Attempt::Done;
}

bool CKnowledgeBase::Mend(const KnowledgeBasePaths& paths, bool locked) {
    const SaveJournal journal(paths.folder);
    std::vector<SaveJournal::Step> steps;
    switch (journal.Read(steps)) {
    case SaveJournal::Found::Unreadable:
        Fail(Which::Journal, journal.Path(),
             "It should say how to complete a save that was cut short, but it cannot be read "
             "as such, so it is not known whether the question set and its data file are from "
             "one save. Remove it once they are as they should be.");
        return false;
    case SaveJournal::Found::Note: {
        int error = 0;
        std::string stoppedAt;
        if (!journal.Carry(steps, error, stoppedAt)) {
            Fail(stoppedAt == paths.questionSet ? Which::QuestionSet
                 : stoppedAt == journal.Path()  ? Which::Journal
                                                : Which::DataFile,
                 stoppedAt,
                 "A save of this knowledge base was cut short, and it could not be completed: " +
                     Reason(error));
            return false;
        }
        m_Mending = Mending::Completed;
        for (const auto& step : steps) {
            m_MendedFiles.push_back(step.to);
        }
        break;
    }
    case SaveJournal::Found::None:
        break;
    }
    // The new files of a save that never wrote its journal: with the lock held alone no
    // save is running to own them. Without a real lock one might be.
    if (!locked) {
        return true;
    }
    for (const std::string& leftover :
         journal.Leftovers({KnowledgeBasePaths::NameOf(paths.questionSet),
                            KnowledgeBasePaths::NameOf(paths.dataFile)})) {
        if (::unlink(leftover.c_str()) == 0 && m_Mending == Mending::None) {
            m_Mending = Mending::Dropped;
            m_MendedFiles = {paths.questionSet, paths.dataFile};
        }
    }
    return true;
}

CKnowledgeBase::Stamps CKnowledgeBase::StampsNow(const KnowledgeBasePaths& paths,
                                                 const Stamps& seen) const {
    return {Restamp(paths.questionSet, seen.questionSet), Restamp(paths.dataFile, seen.dataFile)};
}

CKnowledgeBase::Outcome CKnowledgeBase::Save(const Plan& plan, const Ask& ask) {
    m_Failure = {};
    m_Mending = Mending::None;
    m_MendedFiles.clear();
    if (!IsOpen()) {
        return Fail(Which::QuestionSet, "", "No knowledge base is open.");
    }
    return SaveTo(m_Paths, true, plan, ask);
}

CKnowledgeBase::Outcome CKnowledgeBase::SaveAs(const std::string& chosen, const Plan& plan,
                                               const Ask& ask) {
    m_Failure = {};
    m_Mending = Mending::None;
    m_MendedFiles.clear();
    const KnowledgeBasePaths target = KnowledgeBasePaths::Resolve(chosen);
    return SaveTo(target, IsOpen() && target.questionSet == m_Paths.questionSet, plan, ask);
}

CKnowledgeBase::Outcome CKnowledgeBase::SaveTo(KnowledgeBasePaths target, bool same,
                                               const Plan& plan, const Ask& ask) {
    if (target.error != 0) {
        return Fail(Which::QuestionSet, target.chosen, Reason(target.error));
    }
    if (plan.questionSet && target.questionSetDangling) {
        return Fail(Which::QuestionSet, target.chosen,
                    "It is a link to " + target.questionSet +
                        ", which does not exist; no file is made through a link that names "
                        "nothing.");
    }
    Stamps seen = same ? m_Stamps : Stamps{};
    bool partlyReadAccepted = false;
    bool elsewhereAccepted = false;
    for (;;) {
        // From the last look at the files until the new ones are in place, no other
        // program's save can come between.
        KnowledgeBaseLock lock(target.questionSet, KnowledgeBaseLock::Mode::Save, m_LockWait);
        if (!lock.Held()) {
            switch (lock.GetProblem()) {
            case KnowledgeBaseLock::Problem::Busy:
                m_Failure = {Which::QuestionSet, target.questionSet,
                             "Another program is saving this knowledge base.", false};
                return Outcome::Busy;
            case KnowledgeBaseLock::Problem::Folder:
                return Fail(Which::Folder, target.folder,
                            lock.Error() == ENOENT
                                ? std::string("There is no such folder.")
                                : "The folder cannot be written: " + Reason(lock.Error()));
            default:
                return Fail(Which::LockFile, lock.Path(),
                            "The lock that keeps saves apart cannot be taken: " +
                                Reason(lock.Error()));
            }
        }
        if (!Mend(target, lock.Locked())) {
            return Outcome::Failed;
        }
        target.ResolveDataFile();
        const Stamps now = StampsNow(target, seen);
        const bool dataThere = now.dataFile.exists;
        const bool renumbers = plan.data == Plan::Data::Renumber && same && dataThere;
        const bool writesData = plan.data == Plan::Data::Write || renumbers;
        if (plan.data == Plan::Data::Write && target.dataFileDangling) {
            return Fail(Which::DataFile, target.dataFile,
                        "It is a link to " + target.dataFileTarget +
                            ", which does not exist; no file is made through a link that "
                            "names nothing.");
        }
        if (plan.data == Plan::Data::Remove && !plan.questionSet && !PathIsThere(target.dataFile)) {
            return Outcome::Done; // no record and no data file: nothing to do
        }

        Question question;
        question.questionSet = target.questionSet;
        question.dataFile = writesData ? target.dataFileTarget : target.dataFile;
        if (m_Program == Program::Editor) {
            // A set saved to another file (the user chose it, and was asked before
            // replacing it) saves over nothing this program has seen.
            question.questionSetChanged =
                same && now.questionSet.exists && !now.questionSet.SameBytes(seen.questionSet);
            question.dataFileChanged = renumbers && !now.dataFile.SameBytes(seen.dataFile);
            question.recordsMayMove = question.questionSetChanged && dataThere;
        } else {
            question.questionSetChanged = !now.questionSet.SameBytes(seen.questionSet);
            question.dataFileChanged = !now.dataFile.SameBytes(seen.dataFile);
            question.dataFilePartlyRead = !m_DataReadWhole && !partlyReadAccepted && dataThere;
        }
        question.dataFileElsewhere = writesData && target.dataFileElsewhere && !elsewhereAccepted;
        if (!question.Any()) {
            return Commit(target, plan, now, renumbers);
        }
        // Asked without the lock: another program must not wait on this one's question.
        lock.Release();
        if (!ask(question)) {
            return Outcome::Declined;
        }
        // What the user agreed to; anything newer is asked about again.
        seen = now;
        partlyReadAccepted = true;
        elsewhereAccepted = elsewhereAccepted || question.dataFileElsewhere;
    }
}

CKnowledgeBase::Outcome CKnowledgeBase::Commit(const KnowledgeBasePaths& target, const Plan& plan,
                                               const Stamps& now, bool renumbers) {
    std::unique_ptr<AtomicFileWriter> questions;
    std::unique_ptr<AtomicFileWriter> data;
    bool remove = false;
    if (plan.questionSet) {
        questions = std::make_unique<AtomicFileWriter>(target.questionSet);
        if (!questions->Write(*plan.questionSet)) {
            return Fail(Which::QuestionSet, target.questionSet, Reason(questions->Error()));
        }
    }
    switch (plan.data) {
    case Plan::Data::Keep:
        break;
    case Plan::Data::Write: {
        data = std::make_unique<AtomicFileWriter>(target.dataFileTarget);
        int error = 0;
        if (plan.records == nullptr || !DataFileWriter().Write(*plan.records, *data, error)) {
            return Fail(Which::DataFile, target.dataFileTarget,
                        error == EINVAL ? "A record holds text the data file cannot keep."
                                        : Reason(error));
        }
        break;
    }
    case Plan::Data::Remove:
        remove = PathIsThere(target.dataFile);
        break;
    case Plan::Data::Renumber:
        if (renumbers && plan.renumber) {
            std::string why;
            data = plan.renumber(target.dataFile, why);
            if (data == nullptr && !why.empty()) {
                return Fail(Which::DataFile, target.dataFileTarget, why);
            }
        }
        break;
    }
    // Every new file is whole on disk before any takes its place.
    if (questions && !questions->Seal()) {
        return Fail(Which::QuestionSet, target.questionSet, Reason(questions->Error()));
    }
    if (data && !data->Seal()) {
        return Fail(Which::DataFile, data->TargetPath(), Reason(data->Error()));
    }
    At(Step::Sealed);
    const int changes = (questions ? 1 : 0) + (data ? 1 : 0) + (remove ? 1 : 0);
    if (changes == 1) {
        // One file: its rename is the one step.
        AtomicFileWriter* only = questions ? questions.get() : data.get();
        if (only != nullptr && !only->Commit()) {
            return Fail(only == questions.get() ? Which::QuestionSet : Which::DataFile,
                        only->TargetPath(), Reason(only->Error()));
        }
        if (remove) {
            if (::unlink(target.dataFile.c_str()) != 0) {
                return Fail(Which::DataFile, target.dataFile, Reason(errno));
            }
            AtomicFileWriter::SyncFolder(target.dataFile.substr(0, target.dataFile.rfind('/') + 1));
        }
        At(Step::Placed);
    } else if (changes > 1) {
        std::vector<SaveJournal::Step> steps;
        for (const AtomicFileWriter* writer : {questions.get(), data.get()}) {
            if (writer != nullptr) {
                steps.push_back({SaveJournal::Step::Kind::Put, writer->TemporaryPath(),
                                 writer->TargetPath(), writer->WrittenSize()});
            }
        }
        if (remove) {
            steps.push_back({SaveJournal::Step::Kind::Remove, "", target.dataFile, 0});
        }
        const SaveJournal journal(target.folder);
        int error = 0;
        if (!journal.Write(steps, error)) {
            return Fail(Which::Journal, journal.Path(), Reason(error));
        }
        At(Step::Noted);
        std::string stoppedAt;
        const bool carried = journal.Carry(steps, error, stoppedAt, [] { At(Step::Placed); });
        // Whatever was carried out, the new files now belong to the journal.
        for (AtomicFileWriter* writer : {questions.get(), data.get()}) {
            if (writer != nullptr) {
                writer->Placed();
            }
        }
        if (!carried) {
            m_Failure = {
                stoppedAt == target.questionSet ? Which::QuestionSet : Which::DataFile, stoppedAt,
                Reason(error) + " The save could not be completed; Halvet or Drosk completes it "
                                "when it next opens this knowledge base.",
                true};
            return Outcome::Failed;
        }
        At(Step::Finished);
    }
    m_Stamps.questionSet = questions ? Written(target.questionSet, *questions) : now.questionSet;
    m_Stamps.dataFile = data     ? Written(target.dataFile, *data)
                        : remove ? FileStamp{}
                                 : now.dataFile;
    m_Paths = target;
    m_DataReadWhole = true;
    return Outcome::Done;
}

} // namespace kb
