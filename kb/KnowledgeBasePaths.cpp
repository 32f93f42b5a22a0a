#include "kb/KnowledgeBasePaths.h"

#include "kb/FileIO.h"
#include "kb/Utilities.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace kb {

namespace {

// The folder of path, absolute and without links where it exists, ending in "/".
std::string CanonicalFolder(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : path.substr(0, slash);
    char* real = ::realpath(folder.c_str(), nullptr);
    if (real == nullptr) {
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    std::string canonical(real);
    std::free(real);
    if (!canonical.ends_with('/')) {
        canonical += '/';
    }
    return canonical;
}

} // namespace

std::string KnowledgeBasePaths::NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

KnowledgeBasePaths KnowledgeBasePaths::Resolve(const std::string& chosen) {
    KnowledgeBasePaths paths;
    paths.chosen = chosen;
    std::string followed = FollowLinks(chosen, paths.questionSetDangling);
    if (followed.empty()) {
        paths.error = ELOOP;
        followed = chosen;
    }
    paths.folder = CanonicalFolder(followed);
    paths.questionSet = paths.folder + NameOf(followed);
    paths.dataFile = DataFileNameFor(paths.questionSet);
    paths.ResolveDataFile();
    return paths;
}

void KnowledgeBasePaths::ResolveDataFile() {
    dataFileDangling = false;
    dataFileElsewhere = false;
    const std::string target = FollowLinks(dataFile, dataFileDangling);
    if (target.empty()) {
        dataFileTarget = dataFile;
        dataFileDangling = true; // a loop names no file either
    } else if (target != dataFile) {
        const std::string folder = CanonicalFolder(target);
        dataFileTarget = folder + NameOf(target);
        dataFileElsewhere = folder != CanonicalFolder(dataFile);
    } else {
        dataFileTarget = dataFile;
    }
}

} // namespace kb
