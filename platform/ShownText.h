#pragma once

// Texts from files and typing shown in windows: a name or page of megabytes (a knowledge
// base from a stranger can hold one) would keep a window laying it out for minutes. What
// is shown is cut, with an ellipsis, to a length a person can still read.

#include <QString>

namespace platform {

// Most characters of one line of a message box.
inline constexpr qsizetype kMessageLineLimit = 400;
// Most lines of a message box.
inline constexpr qsizetype kMessageLineCount = 40;

// text itself when it has at most limit characters; otherwise its start and its end
// (which names the file of a path) around an ellipsis, limit characters in all.
QString AbridgeText(const QString& text, qsizetype limit);

// A message as a message box shows it: every line abridged to kMessageLineLimit and, past
// kMessageLineCount lines, an ellipsis in place of the rest.
QString AbridgeMessage(const QString& text);

} // namespace platform
