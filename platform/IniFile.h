#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// Reads and writes keys of a settings file the way the Windows private-profile functions
// do: names match without regard to case, the value is the text after "=" with blanks
// and one pair of enclosing quotes removed, and a missing file, section or key gives "".
// Texts are UTF-8; the file is Windows-1252 unless it starts with a UTF-8 byte-order mark.
class IniFile {
public:
    // The longest value handed back, as with a buffer of 128 characters.
    static constexpr std::size_t kMaxValueChars = 127;

    // Of a line longer than this, only its first kMaxLineBytes and its last character other
    // than a blank are read: where a name, the start of a value and its closing quote stand.
    static constexpr std::size_t kMaxLineBytes = std::size_t{64} << 10;

    struct Key {
        std::string Section;
        std::string Name;
    };

    static std::string ReadString(const std::string& path, const std::string& section,
                                  const std::string& key);
    // The values of keys, in their order, as ReadString gives each: the file is read once,
    // line by line, only until every key is settled, holding no more than a line's first
    // kMaxLineBytes and the values kept.
    static std::vector<std::string> ReadStrings(const std::string& path,
                                                const std::vector<Key>& keys);

    // Sets key in the first section of that name, adding the section or key when
    // missing; every other line keeps its bytes. The file is replaced whole or not at
    // all. False when the file cannot be read or written, or when a text cannot be
    // stored (a line end in any text, "=" in the key, or a character the file's
    // encoding cannot hold).
    static bool WriteString(const std::string& path, const std::string& section,
                            const std::string& key, const std::string& value);
};

} // namespace platform
