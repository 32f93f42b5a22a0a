// Mirel's long work under the busy pointer: loading (here waiting for another program's
// save to finish) and the analysis. Clicks and keys made meanwhile are not acted on late.

#include "MirelFixture.h"
#include "kb/KnowledgeBaseLock.h"
#include "tests/support/Pointer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

using testsupport::Pointer;
using testsupport::PointerOverridden;

namespace {

// A click on button as the window system hands it over, to be posted later.
std::vector<std::pair<QObject*, QEvent*>> ClickOn(QWidget* button) {
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    return {{button, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton,
                                     Qt::LeftButton, {})},
            {button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                                     Qt::NoButton, {})}};
}

} // namespace

class MirelBusyTest : public MirelTest {
protected:
    // The worked example copied where a lock may be taken.
    QString CopyWorked() {
        for (const char* ext : {".qst", ".dat"}) {
            QFile in(Data("worked") + QString::fromLatin1(ext));
            EXPECT_TRUE(in.open(QIODevice::ReadOnly));
            WriteProgramFile(QStringLiteral("kb") + QString::fromLatin1(ext), in.readAll());
        }
        return m_Folder.filePath(QStringLiteral("kb.qst"));
    }
};

// Another program is saving: Mirel's load waits for it, frozen, while the person clicks
// Exit Program and presses Space on Load Questions. None of that is acted on once the
// load is done; a click after it is.
TEST_F(MirelBusyTest, InputDuringALoadIsNotActedOnLate) {
    const QString set = CopyWorked();
    MakeMain();
    m_Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_Main.get()));
    QWidget* load = Button(QStringLiteral("LoadQuestions"));
    load->setFocus();

    auto madeMeanwhile = ClickOn(Button(QStringLiteral("ExitBtn")));
    madeMeanwhile.push_back({load, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, {}, " ")});
    madeMeanwhile.push_back({load, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, {}, " ")});
    std::promise<void> locked;
    std::atomic<bool> loading{false};
    std::thread otherProgram([&] {
        const kb::KnowledgeBaseLock saving(set.toStdString(), kb::KnowledgeBaseLock::Mode::Save);
        locked.set_value();
        while (!loading)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(150)); // Mirel waits by now
        for (auto [receiver, event] : madeMeanwhile)
            QCoreApplication::postEvent(receiver, event);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }); // the save ends: the lock goes
    locked.get_future().wait();

    m_Script.QueueFileName(set);
    loading = true;
    Click("LoadQuestions");
    otherProgram.join();
    QTest::qWait(50);
    EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("Which size?"));
    EXPECT_TRUE(m_Script.MessageBoxes().empty()) << "the click on Exit was acted on late";
    EXPECT_EQ(m_Script.FileDialogs().size(), 1u) << "the Space on Load Questions was acted on";
    EXPECT_FALSE(PointerOverridden());

    for (auto [receiver, event] : ClickOn(Button(QStringLiteral("ExitBtn"))))
        QCoreApplication::postEvent(receiver, event);
    QTest::qWait(50);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u) << "a click after the load counts";
    ExpectQuitQuestion(m_Script.MessageBoxes()[0]);
}

// The busy pointer is up while a load reads and while the analysis ranks the records.
TEST_F(MirelBusyTest, LoadingAndAnalysingShowTheBusyPointer) {
    QList<Qt::CursorShape> asked;
    m_Script.SetOnMessageBox([&asked](const QString&) { asked << Pointer(); });
    MakeMain();
    Load(Data("skipped.qst")); // a data file read in part: said while loading
    EXPECT_EQ(asked, QList<Qt::CursorShape>({Qt::WaitCursor}));
    EXPECT_FALSE(PointerOverridden());

    // Seen as the record list comes up, at the end of the analysis.
    struct ListWatch : QObject {
        Qt::CursorShape seen = Qt::ArrowCursor;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show &&
                watched->objectName() == QStringLiteral("RecordDisplayer"))
                seen = Pointer();
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    Click("AnalysisBtn");
    qApp->removeEventFilter(&watch);
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(watch.seen, Qt::WaitCursor);
    EXPECT_FALSE(PointerOverridden());
}
