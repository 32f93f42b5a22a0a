#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace testsupport {

// The pointer over the program's windows: the override's shape, or the arrow.
inline Qt::CursorShape Pointer() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

// Whether the program left an override pointer in place.
inline bool PointerOverridden() {
    return QGuiApplication::overrideCursor() != nullptr;
}

} // namespace testsupport
