#pragma once

#include "acquire/Main.h"
#include "consult/RecordDisplayer.h"
#include "editor/QuestionFileWriter.h"
#include "kb/CRecord.h"
#include "platform/ProgramInfo.h"
#include "platform/ScriptedBackend.h"
#include "tests/support/MainWindowTest.h"
#include "tests/support/ModalDriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// One question of a set written for a test: the knowledge engineer's wording and type,
// the options, and the reliance pairs (question, option), all numbered from 1.
struct QSpec {
    std::string wording;
    int type; // 0 single, 1 multiple
    std::vector<std::string> options;
    std::vector<std::pair<int, int>> pairs = {};
    int relianceType = 0; // 0 every pair, 1 any pair
    std::string help = "nohelp.htm";
};

using Levels = std::vector<int>;

// An acquisition window driven through its controls and its real dialogs, with the
// platform scripted and files in a temporary folder that is also the program's folder.
class DroskTest : public testsupport::MainWindowTest<acquire::Main> {
protected:
    void SetUp() override {
        platform::SetProgram(QStringLiteral("Drosk"),
                             QStringLiteral("Corvane Knowledge Acquisition"));
        ASSERT_TRUE(m_Folder.isValid());
        platform::SetProgramFolder(m_Folder.path());
    }
    void TearDown() override {
        m_Main.reset();
        platform::SetProgramFolder(QString());
    }

    // Writes a question set with the editor's writer; returns its path.
    QString WriteSet(const QString& name, const std::vector<QSpec>& questions) {
        kb::QuestionArray set;
        for (const QSpec& spec : questions) {
            auto q = std::make_shared<kb::CQuestion>();
            q->SetKEQ(spec.wording);
            q->SetUserQ(spec.wording + " (asked)");
            q->SetKEType(static_cast<std::int16_t>(spec.type));
            q->SetUserType(static_cast<std::int16_t>(spec.type));
            for (const std::string& option : spec.options)
                q->AddOption(option);
            q->m_Dependencies.SetType(static_cast<std::int16_t>(spec.relianceType));
            for (const auto& [Q, O] : spec.pairs)
                q->m_Dependencies.AddDependency(static_cast<std::int16_t>(Q),
                                                static_cast<std::int16_t>(O));
            q->SetHelp(spec.help);
            set.push_back(q);
        }
        const QString path = Path(name);
        EXPECT_TRUE(editor::QuestionFileWriter().Save(set, path.toStdString()));
        return path;
    }

    void WriteFile(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadFile(const QString& name) {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QComboBox* NameBox() { return Control<QComboBox>(QStringLiteral("RecordName")); }
    QLabel* Ind(int i) { return Label(QStringLiteral("m_Inds(%1)").arg(i)); }
    QString Wording() { return Label(QStringLiteral("theQuestion"))->text(); }

    void Load(const QString& file) {
        m_Script.QueueFileName(file);
        Click("LoadQuestions");
    }
    // Drags a slider's thumb to value and lets go.
    void Drag(int slider, int value) {
        QScrollBar* bar = Slider(slider);
        bar->setSliderDown(true);
        bar->setSliderPosition(value);
        bar->setSliderDown(false);
    }

    // Runs command, which opens a modal dialog of the program, and act on that dialog;
    // a dialog still open at the deadline is hidden and fails the test.
    void WithDialog(const char* command, std::function<void(QDialog*)> act) {
        testsupport::WhenModal(std::move(act));
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << modal->objectName().toStdString() << " still open";
                modal->hide();
            }
        });
        deadline.start(testsupport::kDeadlineMs + 1000);
        Click(command);
    }
    // New Record, typing name into the record-name dialog and pressing OK (or Cancel).
    void NewRecord(const QString& name, const char* button = "OKBtn") {
        WithDialog("NewRecord", [name, button](QDialog* dialog) {
            testsupport::TypeKeys(testsupport::Control<QLineEdit>(dialog, "RecordName"), name);
            QTest::mouseClick(testsupport::Control<QPushButton>(dialog, button), Qt::LeftButton);
        });
    }
    // Describe Recd, replacing the page with each text in turn, then OK (or Cancel).
    void Describe(const QStringList& pages, const char* button = "OKBtn") {
        WithDialog("DescribeRecord", DescribeStep(pages, button));
    }
    std::function<void(QDialog*)> DescribeStep(QStringList pages, const char* button) {
        return [this, pages, button](QDialog* dialog) {
            seenPages << testsupport::Control<QLineEdit>(dialog, "URL")->text();
            auto* box = testsupport::Control<QLineEdit>(dialog, "URL");
            box->clear();
            testsupport::TypeKeys(box, pages.first());
            if (pages.size() > 1)
                testsupport::WhenModal(DescribeStep(pages.mid(1), button));
            QTest::mouseClick(testsupport::Control<QPushButton>(dialog, button), Qt::LeftButton);
        };
    }
    void Pick(const QString& name) { NameBox()->setEditText(name); }
    // Chooses list item i of the name box, as a click in its open list does.
    void Choose(int i) {
        NameBox()->setCurrentIndex(i);
        emit NameBox()->activated(i);
    }
    void LoadRecord(const QString& name) {
        Pick(name);
        Click("LoadRecord");
    }
    void DeleteRecord(const QString& name, platform::Answer answer) {
        Pick(name);
        m_Script.QueueAnswer(answer);
        Click("DeleteRecord");
    }

    QStringList ListNames() {
        QStringList names;
        for (int i = 0; i < NameBox()->count(); ++i)
            names << NameBox()->itemText(i);
        return names;
    }
    // The levels a record holds for question number q (from 1).
    Levels Held(int record, int q) {
        const kb::CResponses* responses = nullptr;
        m_Main->Records()
            .at(static_cast<std::size_t>(record))
            ->GetResponses(static_cast<std::int16_t>(q - 1), responses);
        Levels levels;
        for (std::int16_t slot = 0; responses && slot < kb::CResponses::kSlots; ++slot)
            levels.push_back(responses->GetResponse(slot));
        return levels;
    }
    QStringList Messages() const { return m_Script.MessageTexts(); }

    QStringList seenPages;
};

inline const Levels kNeutral(9, 0);

// One question line of a data file as it stands on disk: "Question q=" and the nine
// levels, each followed by the separator byte 0xB8, then CR LF.
inline QByteArray QuestionLine(int q, const Levels& levels) {
    QByteArray line = "Question " + QByteArray::number(q) + '=';
    for (const int level : levels) {
        line += QByteArray::number(level);
        line += '\xb8';
    }
    return line + "\r\n";
}
