#pragma once

#include <string>

namespace kb {

// What a knowledge base is on disk. It is known by the file its question set really is:
// symbolic links followed to the end, in a folder named without links. Every program
// resolves the path the user chose this way before it names the data file, the lock and
// the save journal, so every path to one knowledge base meets the same three.
struct KnowledgeBasePaths {
    std::string chosen;               // the path as the user chose it
    std::string questionSet;          // the question set's file, links followed
    std::string folder;               // its folder, ending in "/"
    std::string dataFile;             // the data file's name beside it (perhaps a link)
    std::string dataFileTarget;       // the file the data file really is, links followed
    bool questionSetDangling = false; // the path chosen is a link that names nothing
    bool dataFileDangling = false;    // the data file is a link that names nothing
    bool dataFileElsewhere = false;   // the data file's real file lies outside the folder
    int error = 0; // why the path cannot be resolved (a loop of links), 0 when it can

    static KnowledgeBasePaths Resolve(const std::string& chosen);
    // Follows the data file's links again: where it leads may have changed since.
    void ResolveDataFile();

    // The name of a file in the folder (the question set's or the data file's).
    static std::string NameOf(const std::string& path);
};

} // namespace kb
