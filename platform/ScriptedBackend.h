#pragma once

#include "platform/Platform.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace platform {

// The whole platform layer as a script, for tests. While it lives it is the current
// backend (the one before it comes back when it is destroyed). It records every call and
// answers from queues the test fills; an empty queue gives a harmless answer (OK, or No
// to a Yes/No question; "" from a file dialog, as if cancelled; True from ShellOpen) and
// never waits for anyone.
class ScriptedBackend : public Backend {
public:
    struct MessageBoxCall {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
        Answer answer;
        bool scripted; // false when the answer was the default one
    };
    struct FileDialogCall {
        bool save;
        QString filter;
        QString startName;
        QString answer;
    };
    struct HelpCall {
        QString helpFile;
        HelpCommand command;
    };

    ScriptedBackend();
    ~ScriptedBackend() override;
    ScriptedBackend(const ScriptedBackend&) = delete;
    ScriptedBackend& operator=(const ScriptedBackend&) = delete;

    // Runs act whenever a message box is asked, before it is answered (nothing when act is
    // empty): a look at the program while it waits for the answer.
    void SetOnMessageBox(std::function<void(const QString& text)> act) {
        m_OnMessageBox = std::move(act);
    }
    // Answers for the next calls, first queued first used.
    void QueueAnswer(Answer answer);
    void QueueFileName(const QString& fileName);
    void QueueShellResult(bool opened);

    Answer MessageBox(const QString& text, Buttons buttons, Icon icon,
                      const QString& title) override;
    QString OpenFileName(QWidget* owner, const QString& filter, const QString& startName) override;
    QString SaveFileName(QWidget* owner, const QString& filter, const QString& startName) override;
    bool ShellOpen(const QString& target) override;
    void ShowHelp(const QString& helpFile, HelpCommand command) override;

    const std::vector<MessageBoxCall>& MessageBoxes() const { return m_MessageBoxes; }
    const std::vector<FileDialogCall>& FileDialogs() const { return m_FileDialogs; }
    // Every target handed to ShellOpen, in order.
    const QStringList& OpenedPages() const { return m_OpenedPages; }
    const std::vector<HelpCall>& HelpCalls() const { return m_HelpCalls; }
    // The texts of the message boxes shown so far, in order.
    QStringList MessageTexts() const;
    // Forgets every call recorded and every answer still queued.
    void Clear();

private:
    QString NextFileName();

    Backend* m_Previous;
    std::deque<Answer> m_Answers;
    std::deque<QString> m_FileNames;
    std::deque<bool> m_ShellResults;
    std::vector<MessageBoxCall> m_MessageBoxes;
    std::vector<FileDialogCall> m_FileDialogs;
    QStringList m_OpenedPages;
    std::vector<HelpCall> m_HelpCalls;
    std::function<void(const QString&)> m_OnMessageBox;
};

} // namespace platform
