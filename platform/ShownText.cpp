#include "platform/ShownText.h"

#include <QStringList>

namespace platform {

namespace {

const QChar kEllipsis(0x2026);

} // namespace

QString AbridgeText(const QString& text, qsizetype limit) {
    if (text.size() <= limit) {
        return text;
    }
    if (limit < 3) {
        return QString(kEllipsis);
    }
    // Two thirds from the start, the rest from the end; never half a surrogate pair.
    qsizetype head = (limit - 1) * 2 / 3;
    qsizetype tail = limit - 1 - head;
    if (text.at(head - 1).isHighSurrogate()) {
        --head;
    }
    if (text.at(text.size() - tail).isLowSurrogate()) {
        --tail;
    }
    return text.left(head) + kEllipsis + text.right(tail);
}

QString AbridgeMessage(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        if (lines.size() == kMessageLineCount - 1 && end >= 0) {
            // Only the lines shown are looked at, however many follow.
            lines << QString(kEllipsis);
            break;
        }
        lines << AbridgeText(text.mid(start, end < 0 ? -1 : end - start), kMessageLineLimit);
        if (end < 0) {
            break;
        }
        start = end + 1;
    }
    return lines.join(u'\n');
}

} // namespace platform
