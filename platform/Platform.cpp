#include "platform/Platform.h"

#include "platform/QtBackend.h"
#include "platform/ShownText.h"

namespace platform {

namespace {

Backend* g_Installed = nullptr;

} // namespace

Backend& CurrentBackend() {
    if (g_Installed != nullptr) {
        return *g_Installed;
    }
    static QtBackend qtBackend;
    return qtBackend;
}

void SetBackend(Backend* backend) {
    g_Installed = backend;
}

Answer MessageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    // Messages carry names, pages and paths from files: never megabytes of them.
    return CurrentBackend().MessageBox(AbridgeMessage(text), buttons, icon, title);
}

QString OpenFileName(QWidget* owner, const QString& filter, const QString& startName) {
    return CurrentBackend().OpenFileName(owner, filter, startName);
}

QString SaveFileName(QWidget* owner, const QString& filter, const QString& startName) {
    return CurrentBackend().SaveFileName(owner, filter, startName);
}

bool ShellOpen(const QString& target) {
    return CurrentBackend().ShellOpen(target);
}

void ShowHelp(const QString& helpFile, HelpCommand command) {
    CurrentBackend().ShowHelp(helpFile, command);
}

} // namespace platform
