#pragma once

#include <string>
#include <string_view>

namespace kb {

// Removes leading and trailing blanks (character 32 only) from the caller's own text
// and returns the result.
std::string TrimSpaces(std::string& text);

// Whether the text is empty or blanks (character 32) only.
bool AllBlanks(std::string_view text);

// True when the path names a file that can be opened for reading (never a folder).
bool FileExists(const std::string& path);

// Cuts everything from the last "." of the whole text; a text without "." is unchanged.
std::string StripExtension(const std::string& name);

// The data file that belongs beside a question set.
std::string DataFileNameFor(const std::string& questionFile);

} // namespace kb
