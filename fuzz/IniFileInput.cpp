#include "fuzz/FuzzFiles.h"
#include "fuzz/Harnesses.h"

#include "consult/CIniFileReader.h"
#include "platform/IniFile.h"

#include <array>
#include <string>
#include <vector>

namespace fuzz {

namespace {

constexpr const char* kName = "ini_file";

struct Key {
    const char* Section;
    const char* Name;
};

// The keys Mirel reads, in its order.
constexpr std::array<Key, 10> kKeys = {{
    {"CorvaneSettings", "SliderText"},
    {"CorvaneSettings", "Title"},
    {"CorvaneButtons", "B1"},
    {"CorvaneButtons", "B2"},
    {"CorvaneButtons", "B3"},
    {"CorvaneButtons", "B4"},
    {"CorvaneButtons", "B5"},
    {"CorvaneButtons", "B6"},
    {"CorvaneButtons", "B7"},
    {"CorvaneButtons", "B8"},
}};

std::size_t CountChars(const std::string& utf8) {
    std::size_t chars = 0;
    for (const char c : utf8) {
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return chars;
}

std::array<std::string, kKeys.size()> ReadAll(const std::string& path) {
    std::array<std::string, kKeys.size()> values;
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        values[i] = platform::IniFile::ReadString(path, kKeys[i].Section, kKeys[i].Name);
    }
    return values;
}

} // namespace

int IniFileInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteScratchFile("mirel.ini", AsBytes(data, size));
    const consult::CIniFileReader settings(ScratchPath(""));
    if (settings.GetIniFileName() != path || !settings.IniExists()) {
        Fail(kName, "the settings reader does not find its file");
    }

    const auto before = ReadAll(path);
    // Mirel reads all ten in one pass, which stops once each is settled.
    std::vector<platform::IniFile::Key> keys;
    for (const Key& key : kKeys) {
        keys.push_back({key.Section, key.Name});
    }
    const std::vector<std::string> together = settings.ReadParameters(keys);
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const std::string& value = before[i];
        const std::string key = std::string(kKeys[i].Section) + "/" + kKeys[i].Name;
        if (CountChars(value) > platform::IniFile::kMaxValueChars) {
            Fail(kName, key + " gives more than 127 characters");
        }
        if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
            Fail(kName, key + " gives a line end or a NUL");
        }
        const auto first = value.find_first_not_of(' ');
        const std::string expected = first == std::string::npos ? "" : value.substr(first);
        if (settings.ReadParameter(kKeys[i].Section, kKeys[i].Name) != expected) {
            Fail(kName, key + ": the settings reader and the file reader disagree");
        }
        if (together[i] != expected) {
            Fail(kName, key + ": read with the other keys it gives another value");
        }
    }

    // Writing one key changes that key alone.
    const std::string title = "Fuzzed \xC3\xA9 Title";
    if (!platform::IniFile::WriteString(path, "CorvaneSettings", "Title", title)) {
        Fail(kName, "a readable file could not take a key");
    }
    auto after = ReadAll(path);
    if (after[1] != title) {
        Fail(kName, "the key written reads back as \"" + after[1] + "\"");
    }
    after[1] = before[1];
    if (after != before) {
        Fail(kName, "writing one key changed another");
    }
    return 0;
}

} // namespace fuzz
