#include "editor/HoldsUnreadContent.h"

#include "kb/FileIO.h"
#include "kb/ItemReader.h"

#include <string_view>

namespace editor {

namespace {

constexpr long kItemsPerQuestion = 18;

} // namespace

bool HoldsUnreadContent(const std::string& QFile, int wholeQuestions) {
    std::string bytes;
    if (!kb::ReadWholeFile(QFile, bytes))
        return true;
    kb::ItemReader reader(bytes);
    std::string_view item;
    long passed = 0;
    const long read = kItemsPerQuestion * wholeQuestions;
    while (reader.Next(item)) {
        if (passed++ >= read && !item.empty())
            return true;
    }
    return false;
}

} // namespace editor
