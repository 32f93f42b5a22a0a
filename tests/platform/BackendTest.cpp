#include "platform/FormUtilities.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"
#include "platform/QtBackend.h"
#include "platform/ScriptedBackend.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes,
                  bool executable = false) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) {
        permissions |= QFile::ExeOwner;
    }
    QFile::setPermissions(path, permissions);
    return path;
}

} // namespace

TEST(ProgramInfo, NamesVersionAndFolder) {
    SetProgram(QStringLiteral("Drosk"), QStringLiteral("Corvane Knowledge Acquisition"));
    EXPECT_EQ(ProgramTitle(), QStringLiteral("Drosk"));
    EXPECT_EQ(ProductName(), QStringLiteral("Corvane Knowledge Acquisition"));
    EXPECT_EQ(VersionText(), QStringLiteral("Version 4.1.0"));

    EXPECT_EQ(ProgramFolder(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    SetProgramFolder(QStringLiteral("/srv/corvane/"));
    EXPECT_EQ(ProgramFolder(), QStringLiteral("/srv/corvane"));
    EXPECT_EQ(InProgramFolder(QStringLiteral("nohelp.htm")),
              QStringLiteral("/srv/corvane/nohelp.htm"));
    EXPECT_EQ(HomePage(), QStringLiteral("/srv/corvane/corvane-home.htm"));
    SetProgramFolder({});
}

TEST(QtBackend, FiltersBecomeQtFilters) {
    const struct {
        const char* given;
        const char* expected;
    } rows[] = {
        {"Questions(*.qst)|*.qst", "Questions (*.qst)"},
        {"Data (*.dat)|*.dat|All files|*.*", "Data (*.dat);;All files (*.*)"},
        {"Text|*.txt;*.text", "Text (*.txt *.text)"},
        {"", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(QtBackend::QtFilter(QString::fromUtf8(row.given)),
                  QString::fromUtf8(row.expected))
            << row.given;
    }
}

// Opening a page must never start a program: a knowledge base from someone else names
// its own help and description pages.
TEST(QtBackend, OpensPagesButNeverRunsPrograms) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString page = WriteFile(dir, QStringLiteral("page.htm"), "<p>hello</p>");
    const QString spacedPage = WriteFile(dir, QStringLiteral("my page.htm"), "<p>hello</p>");
    // Pages on mounted Windows drives carry the execute bit; the browser still only shows them.
    const QString executablePage = WriteFile(dir, QStringLiteral("run.htm"), "<p>hello</p>", true);
    const QString executableHtml =
        WriteFile(dir, QStringLiteral("Dog.HTML"), "<html>dog</html>", true);
    const QString scriptNamedPage =
        WriteFile(dir, QStringLiteral("setup.htm"), "#!/bin/sh\nrm -rf ~\n", true);
    const QString executableText =
        WriteFile(dir, QStringLiteral("readme.txt"), "just text\n", true);
    const QString executableNoName = WriteFile(dir, QStringLiteral("tool"), "just text\n", true);
    const QString scriptNamedText =
        WriteFile(dir, QStringLiteral("notes.txt"), "#!/bin/sh\nrm -rf ~\n");
    const QString binaryNamedPage = WriteFile(dir, QStringLiteral("logo.htm"),
                                              QByteArray("\x7f"
                                                         "ELF\x02\x01",
                                                         6));
    const QString launcher =
        WriteFile(dir, QStringLiteral("x.desktop"), "[Desktop Entry]\nExec=xterm\n");
    const QString shellScript = WriteFile(dir, QStringLiteral("go.sh"), "echo hi\n");

    EXPECT_EQ(QtBackend::UrlFor(page), QUrl::fromLocalFile(page));
    EXPECT_EQ(QtBackend::UrlFor(executablePage), QUrl::fromLocalFile(executablePage));
    EXPECT_EQ(QtBackend::UrlFor(executableHtml), QUrl::fromLocalFile(executableHtml));
    EXPECT_EQ(QtBackend::UrlFor(spacedPage), QUrl::fromLocalFile(spacedPage));
    EXPECT_EQ(QtBackend::UrlFor(QUrl::fromLocalFile(page).toString()), QUrl::fromLocalFile(page));
    EXPECT_EQ(QtBackend::UrlFor(dir.path()), QUrl::fromLocalFile(dir.path()));
    EXPECT_EQ(QtBackend::UrlFor(QStringLiteral("https://example.org/a?b=1")),
              QUrl(QStringLiteral("https://example.org/a?b=1")));
    EXPECT_EQ(QtBackend::UrlFor(QStringLiteral("www.example.org")),
              QUrl(QStringLiteral("http://www.example.org")));

    for (const QString& refused :
         {scriptNamedPage, executableText, executableNoName, scriptNamedText, binaryNamedPage,
          launcher, shellScript, QUrl::fromLocalFile(shellScript).toString(),
          dir.filePath(QStringLiteral("missing.htm")), QStringLiteral("javascript:alert(1)"),
          QStringLiteral("vbscript:x"), QStringLiteral("C:\\kb\\help.htm"), QStringLiteral(""),
          QStringLiteral("   ")}) {
        EXPECT_FALSE(QtBackend::UrlFor(refused).isValid()) << refused.toStdString();
    }
    QtBackend backend;
    EXPECT_FALSE(backend.ShellOpen(shellScript));
}

// Messages carry names and pages typed or read from files; they are shown as written,
// never taken for markup.
TEST(QtBackend, MessagesShowTheirTextAsWritten) {
    const QString text = QStringLiteral("Delete Record : <b>CAT</b><br>DOG");
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        shown = label->text();
        format = label->textFormat();
        box->done(QMessageBox::No);
    });
    QtBackend backend;
    backend.MessageBox(text, Buttons::YesNo, Icon::None, QStringLiteral("Confirm"));
    EXPECT_EQ(shown, text);
    EXPECT_EQ(format, Qt::PlainText);
}

TEST(ScriptedBackend, RecordsCallsAndAnswersFromQueues) {
    Backend* before = &CurrentBackend();
    {
        ScriptedBackend scripted;
        EXPECT_EQ(&CurrentBackend(), &scripted);

        // Nothing queued: harmless answers, recorded as unscripted.
        EXPECT_EQ(MessageBox(QStringLiteral("Quit?"), Buttons::YesNo, Icon::Question,
                             QStringLiteral("Quit Program")),
                  Answer::No);
        EXPECT_EQ(MessageBox(QStringLiteral("Done"), Buttons::OK, Icon::None, {}), Answer::OK);
        EXPECT_EQ(OpenFileName(nullptr, kQuestionFilter, {}), QString());

        scripted.QueueAnswer(Answer::Yes);
        scripted.QueueFileName(QStringLiteral("/kb/cats.qst"));
        scripted.QueueShellResult(false);
        EXPECT_EQ(MessageBox(QStringLiteral("Overwrite?"), Buttons::YesNo, Icon::Question, {}),
                  Answer::Yes);
        EXPECT_EQ(SaveFileName(nullptr, kQuestionFilter, QStringLiteral("cats.qst")),
                  QStringLiteral("/kb/cats.qst"));
        EXPECT_FALSE(OpenDocument(QStringLiteral("nohelp.htm")));
        EXPECT_TRUE(OpenDocument(QStringLiteral("https://example.org")));
        ShowHelp(QStringLiteral(".\\Drosk.HLP"), HelpCommand::KeywordSearch);

        ASSERT_EQ(scripted.MessageBoxes().size(), 3U);
        EXPECT_FALSE(scripted.MessageBoxes()[0].scripted);
        EXPECT_EQ(scripted.MessageBoxes()[0].title, QStringLiteral("Quit Program"));
        EXPECT_EQ(scripted.MessageBoxes()[0].icon, Icon::Question);
        EXPECT_TRUE(scripted.MessageBoxes()[2].scripted);
        EXPECT_EQ(scripted.MessageTexts(),
                  QStringList({QStringLiteral("Quit?"), QStringLiteral("Done"),
                               QStringLiteral("Overwrite?")}));
        ASSERT_EQ(scripted.FileDialogs().size(), 2U);
        EXPECT_FALSE(scripted.FileDialogs()[0].save);
        EXPECT_TRUE(scripted.FileDialogs()[1].save);
        EXPECT_EQ(scripted.FileDialogs()[1].startName, QStringLiteral("cats.qst"));
        EXPECT_EQ(scripted.FileDialogs()[1].filter, kQuestionFilter);
        EXPECT_EQ(scripted.OpenedPages(), QStringList({QStringLiteral("nohelp.htm"),
                                                       QStringLiteral("https://example.org")}));
        ASSERT_EQ(scripted.HelpCalls().size(), 1U);
        EXPECT_EQ(scripted.HelpCalls()[0].helpFile, QStringLiteral(".\\Drosk.HLP"));
        EXPECT_EQ(scripted.HelpCalls()[0].command, HelpCommand::KeywordSearch);
    }
    EXPECT_EQ(&CurrentBackend(), before);
}

TEST(FormUtilities, CentreFormShiftsByTwips) {
    QWidget form;
    form.setFixedSize(300, 200);
    const QRect area = form.screen()->availableGeometry();

    CentreForm(&form, 0, 0);
    const QPoint centred = form.pos();
    EXPECT_NEAR(centred.x(), area.x() + area.width() / 2 - 150, 1);
    EXPECT_NEAR(centred.y(), area.y() + area.height() / 2 - 100, 1);

    CentreForm(&form, 2000, 0);
    EXPECT_NEAR(form.pos().x() - centred.x(), 133, 1);
    EXPECT_EQ(form.pos().y(), centred.y());

    CentreForm(&form, -1000, -1000);
    EXPECT_NEAR(form.pos().x() - centred.x(), -67, 1);
    EXPECT_NEAR(form.pos().y() - centred.y(), -67, 1);
    CentreForm(nullptr, 0, 0);
}
