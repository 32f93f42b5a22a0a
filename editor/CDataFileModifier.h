#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace editor {

// Stands for the data file beside the edited question set. Init only looks the file over;
// inserting and deleting questions are noted, and Save applies them to the file as it is
// on disk at that moment, so records another program saved meanwhile are kept. The file
// goes back as its own bytes: only question lines that move are renumbered, and every
// record gets the neutral response for an inserted question. Nothing of the file is held
// in memory beyond the piece being read.
class CDataFileModifier {
public:
    // Why the last Save wrote nothing.
    enum class Problem {
        None,
        Unreadable,  // the file could not be read again, or is gone
        Changing,    // the file kept changing while it was read
        Unshiftable, // a line that had to move holds several items (GetFirstUnshiftableLine)
        Unwritable,  // the new file could not be written
    };

    // Looks the data file over. False when it cannot be read: the modifier then stays
    // without a data file, so nothing can ever be written over the file it did not read.
    bool Init(const std::string& path);
    // True while an insertion or deletion waits for Save.
    bool IsModified() const { return !m_Edits.empty(); }
    // QNo: the 1-based number of the question just inserted or deleted; countBefore: the
    // set's number of questions before the change. Only question lines numbered from 1 to
    // the smaller of countBefore and the file's questions take part (by default all the
    // file's questions); a QNo beyond them changes nothing.
    void InsertQuestion(std::int16_t QNo, std::int16_t countBefore = INT16_MAX);
    void DeleteQuestion(std::int16_t QNo, std::int16_t countBefore = INT16_MAX);
    const std::string& GetDataFileName() const { return m_DataFileName; }
    // Rewrites the file as it is now with every waiting change, whole or not at all; True
    // when nothing waits. On failure the old file stays as it was, GetLastProblem says why,
    // and the changes keep waiting for a later Save. A file that is gone is not made anew.
    bool Save();
    Problem GetLastProblem() const { return m_Problem; }
    // The 1-based number of the first line that holds a record's question responses
    // together with other items, 0 when there is none. Such a line cannot be renumbered:
    // Save refuses when it would have to move. Set by Init, and by a Save refused for it.
    long GetFirstUnshiftableLine() const { return m_FirstUnshiftableLine; }

    // The text every record gets for an inserted question: nine zeros, each followed by
    // the separator byte.
    static const std::string kNeutralResponse;

private:
    class Pass;

    struct Edit {
        bool Insert = false;
        int QNo = 0;
        int Last = 0; // the highest question number the edit moves
    };
    void Note(bool insert, std::int16_t QNo, std::int16_t countBefore);
    bool SaveOnce(const std::vector<int>& finals, const std::vector<int>& neutrals, bool& retry);

    std::vector<Edit> m_Edits;
    std::string m_DataFileName;
    int m_FileQuestions = 0; // the highest question number in the file, as edited so far
    long m_FirstUnshiftableLine = 0;
    Problem m_Problem = Problem::None;
};

} // namespace editor
