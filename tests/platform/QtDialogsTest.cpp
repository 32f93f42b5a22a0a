#include "platform/ProgramInfo.h"
#include "platform/QtBackend.h"
#include "tests/support/ModalDriver.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace platform;

// The real message box: the buttons, icon and title asked for, and the answer given.
TEST(QtBackend, MessageBoxShowsWhatWasAskedAndReturnsTheAnswer) {
    SetProgram(QStringLiteral("Halvet"), QStringLiteral("Corvane Question Editor"));
    QtBackend backend;
    const struct {
        Buttons buttons;
        Icon icon;
        QString title;
        QMessageBox::StandardButton click;
        QMessageBox::Icon shownIcon;
        QString shownTitle;
        Answer answer;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    } rows[] = {
        {Buttons::YesNo, Icon::Question, QStringLiteral("Quit Program"), QMessageBox::No,
         QMessageBox::Question, QStringLiteral("Quit Program"), Answer::No, QMessageBox::Yes},
        {Buttons::YesNoDefaultNo,
         Icon::Exclamation,
         {},
         QMessageBox::Yes,
         QMessageBox::Warning,
         QStringLiteral("Halvet"),
         Answer::Yes,
         QMessageBox::No},
        {Buttons::YesNo,
         Icon::Question,
         {},
         QMessageBox::Yes,
         QMessageBox::Question,
         QStringLiteral("Halvet"),
         Answer::Yes},
        {Buttons::OK,
         Icon::Exclamation,
         {},
         QMessageBox::Ok,
         QMessageBox::Warning,
         QStringLiteral("Halvet"),
         Answer::OK},
        {Buttons::OK, Icon::Critical, QStringLiteral("Corvane Error"), QMessageBox::Ok,
         QMessageBox::Critical, QStringLiteral("Corvane Error"), Answer::OK},
        {Buttons::OK,
         Icon::None,
         {},
         QMessageBox::Ok,
         QMessageBox::NoIcon,
         QStringLiteral("Halvet"),
         Answer::OK},
    };
    for (const auto& row : rows) {
        QMessageBox::Icon icon{};
        QString title;
        QString text;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        testsupport::WhenModal([&](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            ASSERT_NE(box, nullptr);
            if (box->defaultButton() != nullptr)
                defaultButton = box->standardButton(box->defaultButton());
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            ASSERT_NE(box->button(row.click), nullptr);
            box->button(row.click)->click();
        });
        EXPECT_EQ(
            backend.MessageBox(QStringLiteral(" Are You Sure "), row.buttons, row.icon, row.title),
            row.answer);
        EXPECT_EQ(icon, row.shownIcon);
        EXPECT_EQ(title, row.shownTitle);
        EXPECT_EQ(text, QStringLiteral(" Are You Sure "));
        if (row.defaultButton != QMessageBox::NoButton) {
            EXPECT_EQ(defaultButton, row.defaultButton);
        }
    }
}

// The save dialog leaves the overwrite question to the programs; cancel gives "".
TEST(QtBackend, SaveDialogAsksNothingAboutOverwritingAndCancelGivesEmpty) {
    QtBackend backend;
    QFileDialog::Options options;
    QStringList filters;
    QString typedName;
    testsupport::WhenModal([&](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        options = files->options();
        filters = files->nameFilters();
        files->reject();
    });
    EXPECT_EQ(backend.SaveFileName(nullptr, kQuestionFilter, QStringLiteral("cats.qst")),
              QString());
    EXPECT_TRUE(options.testFlag(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(filters, QStringList({QStringLiteral("Questions (*.qst)")}));
}
