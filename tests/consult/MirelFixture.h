#pragma once

#include "consult/Explanation.h"
#include "consult/Main.h"
#include "consult/RecordDisplayer.h"
#include "platform/ProgramInfo.h"
#include "platform/ScriptedBackend.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A consultation window driven through its controls, with the platform scripted and the
// program's folder in a temporary folder of its own (so no mirel.ini leaks in).
class MirelTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetProgram(QStringLiteral("Mirel"), QStringLiteral("Corvane User Interface"));
        ASSERT_TRUE(m_Folder.isValid());
        platform::SetProgramFolder(m_Folder.path());
    }
    void TearDown() override { platform::SetProgramFolder(QString()); }

    static QString Data(const char* name) {
        return QStringLiteral(CORVANE_TEST_DATA "/mirel/") + QString::fromLatin1(name);
    }

    void WriteProgramFile(const QString& name, const QByteArray& bytes) {
        QFile file(m_Folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    consult::Main& MakeMain() {
        m_Main = std::make_unique<consult::Main>();
        m_Main->show();
        return *m_Main;
    }

    template <typename T> T* Get(QObject* parent, const QString& name) {
        T* child = parent ? parent->findChild<T*>(name) : nullptr;
        if (!child)
            ADD_FAILURE() << "no control " << name.toStdString();
        return child;
    }
    template <typename T> T* Control(const QString& name) { return Get<T>(m_Main.get(), name); }
    QAbstractButton* Button(const QString& name) { return Control<QAbstractButton>(name); }
    QAction* Item(const QString& name) { return Control<QAction>(name); }
    QRadioButton* Check(int i) {
        return Control<QRadioButton>(QStringLiteral("m_checks(%1)").arg(i));
    }
    QScrollBar* Slider(int i) {
        return Control<QScrollBar>(QStringLiteral("m_Sliders(%1)").arg(i));
    }
    QLabel* Label(const QString& name) { return Control<QLabel>(name); }
    QString QuestionNo() { return Label(QStringLiteral("QNoLabel"))->text(); }

    void Load(const QString& file) {
        m_Script.QueueFileName(file);
        Button(QStringLiteral("LoadQuestions"))->click();
    }
    void Click(const char* name) { Button(QString::fromLatin1(name))->click(); }
    // Steps a slider the way its arrows do, one level per step.
    void Step(int slider, int steps) {
        for (int s = 0; s < std::abs(steps); ++s)
            Slider(slider)->triggerAction(steps > 0 ? QAbstractSlider::SliderSingleStepAdd
                                                    : QAbstractSlider::SliderSingleStepSub);
    }

    consult::RecordDisplayer* List() { return m_Main->RecordList(); }
    QStringList RecordNames() {
        QStringList names;
        for (int i = 0; i < consult::RecordDisplayer::kRows; ++i)
            names << Get<QLabel>(List(), QStringLiteral("RecName(%1)").arg(i))->text();
        return names;
    }
    // Explain on the record selected in the list; the explanation's lines.
    QStringList Explain() {
        Get<QAbstractButton>(List(), QStringLiteral("Explain"))->click();
        QStringList lines;
        auto* list = Get<QListWidget>(m_Main->ExplanationWindow(), QStringLiteral("List1"));
        for (int i = 0; list && i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    // The option lines and answered mark of question number q, as the explanation tells.
    QStringList Explained(const QStringList& lines, int q) {
        QStringList part;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!lines[i].startsWith(QStringLiteral("[Question %1] ").arg(q)))
                continue;
            for (qsizetype j = i + 2; j < lines.size() && lines[j] != QStringLiteral(" "); ++j)
                part << lines[j];
        }
        return part;
    }

    platform::ScriptedBackend m_Script;
    QTemporaryDir m_Folder;
    std::unique_ptr<consult::Main> m_Main;
};
