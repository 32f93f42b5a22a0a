#pragma once

#include "editor/Main.h"
#include "editor/QuestionFileWriter.h"
#include "kb/QuestionFileReader.h"
#include "platform/ProgramInfo.h"
#include "platform/ScriptedBackend.h"
#include "tests/support/MainWindowTest.h"
#include "tests/support/ModalDriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

using Pairs = std::vector<std::pair<int, int>>;

// The question editor's window driven through its controls, with the platform scripted and
// the files in a temporary folder.
class HalvetTest : public testsupport::MainWindowTest<editor::Main> {
protected:
    void SetUp() override {
        platform::SetProgram(QStringLiteral("Halvet"), QStringLiteral("Corvane Question Editor"));
        ASSERT_TRUE(m_Folder.isValid());
    }

    QLineEdit* Box(const QString& name) { return Control<QLineEdit>(name); }
    QLineEdit* Option(int i) { return Box(QStringLiteral("QOption(%1)").arg(i)); }
    void Trigger(const char* name) { Item(QString::fromLatin1(name))->trigger(); }
    void Type(QLineEdit* box, const QString& text) { testsupport::TypeKeys(box, text); }
    QString QuestionNo() { return Label(QStringLiteral("QNoLabel"))->text(); }
    int VisibleOptions() {
        int n = 0;
        for (int i = 0; i < editor::Main::kRows; ++i)
            n += Option(i)->isVisible() ? 1 : 0;
        return n;
    }
    // The reliance pairs the window shows, as "question/option".
    QStringList ShownPairs() {
        QStringList pairs;
        for (int i = 0; i < editor::Main::kRows; ++i) {
            QLabel* q = Label(QStringLiteral("DependentQ(%1)").arg(i));
            QLabel* o = Label(QStringLiteral("DependentOpt(%1)").arg(i));
            EXPECT_EQ(q->isVisible(), o->isVisible());
            if (q->isVisible())
                pairs << q->text() + u'/' + o->text();
        }
        return pairs;
    }

    // Types a whole question into the shown one (it has two options to start with).
    void Fill(const QString& ke, const QString& user, const QStringList& options) {
        Type(Box(QStringLiteral("KEQuestion")), ke);
        Type(Box(QStringLiteral("UserQuestion")), user);
        for (int i = 0; i < options.size(); ++i) {
            if (!Option(i)->isVisible())
                Trigger("OptionsMenuAdd");
            Type(Option(i), options[i]);
        }
    }

    // A set of n complete questions "KE k" / "User k" with options "A k", "B k", "C k", and
    // the reliance pairs given for some question numbers.
    void WriteSet(const QString& file, int n, const std::map<int, Pairs>& relies = {}) {
        kb::QuestionArray set;
        for (int k = 1; k <= n; ++k) {
            auto q = std::make_shared<kb::CQuestion>();
            q->SetKEQ("KE " + std::to_string(k));
            q->SetUserQ("User " + std::to_string(k));
            for (const char* letter : {"A ", "B ", "C "})
                q->AddOption(letter + std::to_string(k));
            if (auto found = relies.find(k); found != relies.end())
                for (auto [Q, Opt] : found->second)
                    q->m_Dependencies.AddDependency(static_cast<std::int16_t>(Q),
                                                    static_cast<std::int16_t>(Opt));
            set.push_back(q);
        }
        ASSERT_TRUE(editor::QuestionFileWriter().Save(set, file.toStdString()));
    }
    // A data file of two records whose line for question k holds k in every level.
    void WriteData(const QString& file, int questions) {
        QByteArray bytes;
        for (const char* name : {"FIRST", "SECOND"}) {
            bytes += QByteArray("[") + name + "]\r\n";
            for (int k = 1; k <= questions; ++k) {
                bytes += "Question " + QByteArray::number(k) + '=';
                for (int level = 0; level < 9; ++level)
                    bytes += QByteArray::number(k) + '\xB8';
                bytes += "\r\n";
            }
            bytes += "RecordDescription=nodesc.htm\r\n\r\n";
        }
        WriteBytes(file, bytes);
    }
    // The first level of each question line of the data file's first record: what question
    // each line came from ("0" for a neutral line).
    QStringList DataOrigins(const QString& file) {
        QStringList origins;
        const QList<QByteArray> lines = ReadBytes(file).split('\n');
        for (const QByteArray& line : lines) {
            if (line.startsWith("[SECOND]"))
                break;
            if (line.startsWith("Question "))
                origins << QString::fromLatin1(line.mid(line.indexOf('=') + 1).split('\xB8')[0]);
        }
        return origins;
    }
    void WriteBytes(const QString& file, const QByteArray& bytes) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    static QByteArray ReadBytes(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    static kb::QuestionArray ReadBack(const QString& file) {
        kb::QuestionArray set;
        EXPECT_TRUE(kb::QuestionFileReader().Read(file.toStdString(), set)) << file.toStdString();
        return set;
    }

    void Load(const QString& file) {
        m_Script.QueueFileName(file);
        Click("LoadQuestionsBtn");
    }
    // Save, expecting the saved notice; returns the file name it showed (whole, as its tip).
    QString SaveWithNotice() {
        bool noticed = false;
        QString shown;
        testsupport::WhenModal([&](QDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), QStringLiteral("SavedMsg"));
            noticed = true;
            if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("FilenameLabel")))
                shown = label->toolTip();
            dialog->hide();
        });
        Click("SaveQuestionsBtn");
        if (!noticed) {
            ADD_FAILURE() << "no saved notice";
            QCoreApplication::processEvents(); // lets the waiting driver give up here
        }
        return shown;
    }
};
