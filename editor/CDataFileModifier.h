#pragma once

#include "kb/AtomicFileWriter.h"
#include "kb/FileStamp.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace editor {

// Brings the data file beside a question set into step when questions are inserted or
// deleted. The changes are noted as they are made, whatever the data file's state then; at
// save the data file beside the question set being written is read as it is on disk at that
// moment and renumbered, so records another program saved meanwhile are kept and a data file
// made after the set was loaded is renumbered too. The file goes back as its own bytes: only
// question lines that move are renumbered (every one from the edited number up to the
// highest in the file), and every record gets the neutral response for an inserted question.
// Nothing of the file is held in memory beyond the piece being read.
class CDataFileModifier {
public:
    // Why the last Prepare wrote nothing.
    enum class Problem {
        None,
        Unreadable,  // the file could not be read
        Changing,    // the file kept changing while it was read
        Unshiftable, // a line that had to move holds several items (GetFirstUnshiftableLine)
        Unwritable,  // the new file could not be written
    };

    // Looks the data file beside a loaded set over, to name at once a line that could not be
    // renumbered (GetFirstUnshiftableLine). False when it cannot be read. Changes are noted
    // and the file found at save whether or not this was called.
    bool Init(const std::string& path);
    // True while an insertion or deletion waits to be saved.
    bool IsModified() const { return !m_Edits.empty(); }
    // QNo: the 1-based number of the question just inserted or deleted. A number beyond
    // the questions the data file holds at save changes nothing there.
    void InsertQuestion(std::int16_t QNo);
    void DeleteQuestion(std::int16_t QNo);
    // Writes the data file at path, as it is now, with every waiting change into a new file
    // beside it, and returns the writer holding it; the file itself is untouched until the
    // caller commits the writer, then calls Done. Null when it cannot (GetLastProblem and,
    // for a write, the writer's errno in GetLastError say why; the changes keep waiting),
    // and null with no problem when the changes leave the file as it is.
    std::unique_ptr<kb::AtomicFileWriter> Prepare(const std::string& path);
    // The prepared file took its place: the changes are made.
    void Done() { m_Edits.clear(); }
    // Prepare, commit and Done at once; true when nothing waits. A file that is not there
    // is not made anew: false, and the changes keep waiting.
    bool Save(const std::string& path);
    Problem GetLastProblem() const { return m_Problem; }
    int GetLastError() const { return m_Error; }
    // The 1-based number of the first line that holds a record's question responses
    // together with other items, 0 when there is none. Such a line cannot be renumbered:
    // Save refuses when it would have to move. Set by Init, and by a save refused for it.
    long GetFirstUnshiftableLine() const { return m_FirstUnshiftableLine; }

    // Called after each piece of the file is read during Prepare; tests change the file
    // there to see that records saved meanwhile are kept.
    void SetPieceHook(std::function<void()> hook) { m_PieceHook = std::move(hook); }

    // The text every record gets for an inserted question: nine zeros, each followed by
    // the separator byte.
    static const std::string kNeutralResponse;

private:
    class Pass;

    struct Edit {
        bool Insert = false;
        int QNo = 0;
    };
    void Note(bool insert, std::int16_t QNo);
    void Remember(const std::string& path, const kb::FileStamp& before, int highest);
    std::unique_ptr<kb::AtomicFileWriter> PrepareOnce(const std::string& path, bool& retry);

    std::vector<Edit> m_Edits;
    long m_FirstUnshiftableLine = 0;
    Problem m_Problem = Problem::None;
    int m_Error = 0;
    std::function<void()> m_PieceHook;
    // The file as last looked over, and its highest question number then.
    kb::FileStamp m_LookedOver;
    int m_LookedOverHighest = 0;
};

} // namespace editor
