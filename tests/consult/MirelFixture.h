#pragma once

#include "consult/Explanation.h"
#include "consult/Main.h"
#include "consult/RecordDisplayer.h"
#include "platform/ProgramInfo.h"
#include "platform/ScriptedBackend.h"
#include "tests/support/MainWindowTest.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// A consultation window driven through its controls, with the platform scripted and the
// program's folder in a temporary folder of its own (so no mirel.ini leaks in).
class MirelTest : public testsupport::MainWindowTest<consult::Main> {
protected:
    void SetUp() override {
        platform::SetProgram(QStringLiteral("Mirel"), QStringLiteral("Corvane User Interface"));
        ASSERT_TRUE(m_Folder.isValid());
        platform::SetProgramFolder(m_Folder.path());
    }
    void TearDown() override { platform::SetProgramFolder(QString()); }

    // Named as the programs name files: in the folder as it really is.
    static QString Data(const char* name) {
        return QFileInfo(QStringLiteral(CORVANE_TEST_DATA "/mirel")).canonicalFilePath() + u'/' +
               QString::fromLatin1(name);
    }

    void WriteProgramFile(const QString& name, const QByteArray& bytes) {
        QFile file(m_Folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void Load(const QString& file) {
        m_Script.QueueFileName(file);
        Click("LoadQuestions");
    }
    // The worked example loaded, its question 1 answered with option 2 and its question 2
    // with its three sliders moved two steps up, one up and two down.
    void AnswerTheWorkedExamplesFirstTwo() {
        MakeMain();
        Load(Data("worked.qst"));
        Check(1)->click();
        Click("NextBtn");
        Step(0, 2);
        Step(1, 1);
        Step(2, -2);
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
};
