#include "platform/ScriptedBackend.h"

namespace platform {

ScriptedBackend::ScriptedBackend() : m_Previous(&CurrentBackend()) {
    SetBackend(this);
}

ScriptedBackend::~ScriptedBackend() {
    if (&CurrentBackend() == this) {
        SetBackend(m_Previous);
    }
}

void ScriptedBackend::QueueAnswer(Answer answer) {
    m_Answers.push_back(answer);
}

void ScriptedBackend::QueueFileName(const QString& fileName) {
    m_FileNames.push_back(fileName);
}

void ScriptedBackend::QueueShellResult(bool opened) {
    m_ShellResults.push_back(opened);
}

Answer ScriptedBackend::MessageBox(const QString& text, Buttons buttons, Icon icon,
                                   const QString& title) {
    if (m_OnMessageBox) {
        m_OnMessageBox(text);
    }
    const bool scripted = !m_Answers.empty();
    Answer answer = buttons == Buttons::OK ? Answer::OK : Answer::No;
    if (scripted) {
        answer = m_Answers.front();
        m_Answers.pop_front();
    }
    m_MessageBoxes.push_back({text, buttons, icon, title, answer, scripted});
    return answer;
}

QString ScriptedBackend::OpenFileName(QWidget* /*owner*/, const QString& filter,
                                      const QString& startName) {
    const QString answer = NextFileName();
    m_FileDialogs.push_back({false, filter, startName, answer});
    return answer;
}

QString ScriptedBackend::SaveFileName(QWidget* /*owner*/, const QString& filter,
                                      const QString& startName) {
    const QString answer = NextFileName();
    m_FileDialogs.push_back({true, filter, startName, answer});
    return answer;
}

bool ScriptedBackend::ShellOpen(const QString& target) {
    m_OpenedPages << target;
    if (m_ShellResults.empty()) {
        return true;
    }
    const bool opened = m_ShellResults.front();
    m_ShellResults.pop_front();
    return opened;
}

void ScriptedBackend::ShowHelp(const QString& helpFile, HelpCommand command) {
    m_HelpCalls.push_back({helpFile, command});
}

QStringList ScriptedBackend::MessageTexts() const {
    QStringList texts;
    for (const MessageBoxCall& call : m_MessageBoxes) {
        texts << call.text;
    }
    return texts;
}

void ScriptedBackend::Clear() {
    m_Answers.clear();
    m_FileNames.clear();
    m_ShellResults.clear();
    m_MessageBoxes.clear();
    m_FileDialogs.clear();
    m_OpenedPages.clear();
    m_HelpCalls.clear();
}

QString ScriptedBackend::NextFileName() {
    if (m_FileNames.empty()) {
        return {};
    }
    QString name = m_FileNames.front();
    m_FileNames.pop_front();
    return name;
}

} // namespace platform
