#include "dialogs/About.h"
#include "dialogs/Intro.h"
#include "dialogs/RecordDlg.h"
#include "dialogs/SavedMsg.h"
#include "dialogs/URLDlg.h"
#include "platform/ScriptedBackend.h"
#include "tests/support/ModalDriver.h"

#include <QGroupBox>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using testsupport::Control;

// The shared windows' captions and fixed texts as the person reads them, blanks at their
// ends included; read once the window is up, after whatever its loading sets.
TEST(DesignTexts, CaptionsOfTheSharedWindows) {
    platform::ScriptedBackend scripted;
    struct Window {
        std::unique_ptr<QWidget> widget;
        const char* caption;
    };
    Window windows[] = {
        {std::make_unique<dialogs::Intro>(nullptr), "Welcome to Corvane "},
        {std::make_unique<dialogs::About>(), "About Corvane"},
        {std::make_unique<dialogs::SavedMsg>(), "Information"},
        {std::make_unique<dialogs::URLDlg>(), "Description URL or File Location"},
        {std::make_unique<dialogs::RecordDlg>(), "Record Name"},
    };
    for (Window& window : windows) {
        window.widget->show();
        EXPECT_EQ(window.widget->windowTitle().toStdString(), std::string(window.caption));
        window.widget->hide();
    }

    QWidget* recordDlg = windows[4].widget.get();
    EXPECT_EQ(Control<QGroupBox>(recordDlg, "Frame1")->title().toStdString(),
              " Type the record name here ");
    QWidget* urlDlg = windows[3].widget.get();
    EXPECT_EQ(Control<QPushButton>(urlDlg, "BrowseBtn")->text().toStdString(), "Browse for URL");
    EXPECT_EQ(Control<QPushButton>(urlDlg, "CancelBtn")->text().toStdString(), "Cancel");
    EXPECT_EQ(Control<QPushButton>(urlDlg, "OKBtn")->text().toStdString(), "OK");
    EXPECT_EQ(Control<QPushButton>(recordDlg, "CancelBtn")->text().toStdString(), "Cancel");
    EXPECT_EQ(Control<QPushButton>(recordDlg, "OKBtn")->text().toStdString(), "OK");
    EXPECT_EQ(Control<QPushButton>(windows[1].widget.get(), "AboutOK")->text().toStdString(), "OK");
}
