#pragma once

#include <string>
#include <string_view>

namespace kb {

// Both file formats are Windows-1252 bytes; the programs work in UTF-8. The five bytes
// that Windows-1252 leaves undefined map to U+0081 and so on and back, so every byte
// sequence survives a read and a write unchanged.

// Decodes Windows-1252 bytes to UTF-8. Never fails.
std::string Cp1252ToUtf8(std::string_view bytes);

// Encodes UTF-8 text to Windows-1252 bytes into out. False, with out unspecified, when
// the text holds a character Windows-1252 cannot hold or is not valid UTF-8.
bool Utf8ToCp1252(std::string_view text, std::string& out);

// Whether one Unicode code point can be written to a file.
bool IsCp1252Encodable(char32_t codePoint);

// The separator of the file formats, "¸" (byte 0xB8), in both forms.
inline constexpr char kSeparatorByte = '\xB8';
inline constexpr std::string_view kSeparatorUtf8 = "\xC2\xB8";

} // namespace kb
