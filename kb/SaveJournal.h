#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kb {

// The note that makes a save of two files one step a crash cannot split, as a journal
// does. Both new files are written in full and flushed beside their targets first; then
// this note of what is about to replace what is written and flushed; then the files take
// their places; then the note goes. A program that later finds the note while no save runs
// (it holds the knowledge base's lock) finishes the step from what the note says: the new
// files still waiting are put in place, so both files are from the one save. A save cut
// short before its note leaves the old files in place and, at most, new files that never
// took theirs (Leftovers), which can simply go.
//
// The note lives in the knowledge base's folder. Files in that folder are named in it by
// their names alone, so a folder moved after a crash is still mended; a file elsewhere
// (a data file that is a link to another folder) by its whole path.
class SaveJournal {
public:
    static constexpr const char* kFileName = ".corvane.journal";

    struct Step {
        enum class Kind { Put, Remove };
        Kind kind = Kind::Put;
        std::string from;      // Put: the new file, waiting under its temporary name
        std::string to;        // the target it replaces, or the file Remove deletes
        std::int64_t size = 0; // Put: the new file's size, to know it once it is in place
    };

    enum class Found { None, Note, Unreadable };

    // folder: the knowledge base's folder, ending in "/" (or "" for the current one).
    explicit SaveJournal(std::string folder);

    const std::string& Path() const { return m_Path; }

    // Writes the note durably: false, with the errno, when it could not be.
    bool Write(const std::vector<Step>& steps, int& error) const;
    // Carries the steps out, flushes the folders they touched and removes the note. False,
    // with the errno and the file it stopped at, when a step could not be made; the note
    // then stays for the next program to finish.
    // afterEach is called after each step.
    bool Carry(const std::vector<Step>& steps, int& error, std::string& stoppedAt,
               const std::function<void()>& afterEach = {}) const;

    // Whether a note lies in the folder, and what it says.
    Found Read(std::vector<Step>& steps) const;
    // The new files of saves that never wrote their note, beside the files named: such a
    // file is only ever there while a save runs, so with the lock held it is left over.
    std::vector<std::string> Leftovers(const std::vector<std::string>& names) const;

private:
    std::string Resolve(const std::string& name) const;
    std::string Relative(const std::string& path) const;

    std::string m_Folder;
    std::string m_Path;
};

} // namespace kb
