#pragma once

// The base of the three programs' window tests: the main window driven through its controls
// by their design names, with the platform scripted and a temporary folder for files.

#include "platform/ScriptedBackend.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace testsupport {

template <typename MainWindow> class MainWindowTest : public ::testing::Test {
protected:
    MainWindow& MakeMain() {
        m_Main = std::make_unique<MainWindow>();
        m_Main->show();
        return *m_Main;
    }
    // The main window, shown and active, so that keys typed reach it.
    void ShowActive() {
        MakeMain();
        m_Main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_Main.get()));
    }

    QString Path(const QString& name) const { return m_Folder.filePath(name); }

    template <typename T> T* Get(QObject* parent, const QString& name) {
        T* child = parent ? parent->findChild<T*>(name) : nullptr;
        if (!child)
            ADD_FAILURE() << "no control " << name.toStdString();
        return child;
    }
    template <typename T> T* Control(const QString& name) { return Get<T>(m_Main.get(), name); }
    QAbstractButton* Button(const QString& name) { return Control<QAbstractButton>(name); }
    QAction* Item(const QString& name) { return Control<QAction>(name); }
    QLabel* Label(const QString& name) { return Control<QLabel>(name); }
    void Click(const char* name) { Button(QString::fromLatin1(name))->click(); }

    // The answer rows of the acquisition and consultation windows.
    QRadioButton* Check(int i) {
        return Control<QRadioButton>(QStringLiteral("m_checks(%1)").arg(i));
    }
    QScrollBar* Slider(int i) {
        return Control<QScrollBar>(QStringLiteral("m_Sliders(%1)").arg(i));
    }
    // Steps a slider the way its arrows do, one level per step.
    void Step(int slider, int steps) {
        for (int s = 0; s < std::abs(steps); ++s)
            Slider(slider)->triggerAction(steps > 0 ? QAbstractSlider::SliderSingleStepAdd
                                                    : QAbstractSlider::SliderSingleStepSub);
    }
    QString QuestionNo() { return Label(QStringLiteral("QNoLabel"))->text(); }

    // The question every program asks before it ends.
    static void ExpectQuitQuestion(const platform::ScriptedBackend::MessageBoxCall& box) {
        EXPECT_EQ(box.text, QStringLiteral(" Are You Sure "));
        EXPECT_EQ(box.title, QStringLiteral("Quit Program"));
        EXPECT_EQ(box.buttons, platform::Buttons::YesNo);
        EXPECT_EQ(box.icon, platform::Icon::Question);
    }

    platform::ScriptedBackend m_Script;
    QTemporaryDir m_Folder;
    std::unique_ptr<MainWindow> m_Main;
};

} // namespace testsupport
