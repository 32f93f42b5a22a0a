// The window test programs share one main (QtTestMain.cpp), and this program checks that it
// installs the modal window watchdog: it runs itself again on scenarios that leave modal
// windows open, as CTest would run a test that went wrong, and reads what the run reported.
// The scenarios exist only in that run.

#include "tests/support/ModalWatchdog.h"
#include "tests/support/ModalDriver.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>

namespace {

constexpr const char* kScenarioVariable = "CORVANE_WATCHDOG_SCENARIOS";
constexpr int kLimitMs = 300; // the watchdog's limit in the scenarios' run

// A dialog a test opened and forgot: nothing in the test ever closes it.
void LeaveADialogOpen(QDialog& dialog) {
    dialog.setObjectName(QStringLiteral("Forgotten"));
    dialog.setWindowTitle(QStringLiteral("Forgotten Dialog"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Nobody answers this"), &dialog));
    layout->addWidget(new QPushButton(QStringLiteral("Carry On"), &dialog));
    dialog.exec();
}

class Scenario : public ::testing::Test {
public:
    explicit Scenario(void (*body)()) : m_Body(body) {}
    void TestBody() override { m_Body(); }

private:
    void (*m_Body)();
};

const std::pair<const char*, void (*)()> kScenarios[] = {
    {"LeavesADialogOpen",
     [] {
         QDialog dialog;
         LeaveADialogOpen(dialog);
     }},
    {"KeepsItsOwnDeadline",
     [] {
         QDialog dialog;
         dialog.setObjectName(QStringLiteral("Driven"));
         testsupport::ExecWithDeadline(dialog, 3 * kLimitMs);
     }},
    {"LoopGoesOn",
     [] {
         // A modal window of another kind, waiting in a loop of its own for a click.
         QWidget window;
         window.setWindowModality(Qt::ApplicationModal);
         window.setWindowTitle(QStringLiteral("Waiting Window"));
         auto* layout = new QVBoxLayout(&window);
         auto* button = new QPushButton(QStringLiteral("Carry On"), &window);
         layout->addWidget(button);
         QEventLoop loop;
         QObject::connect(button, &QPushButton::clicked, &loop, &QEventLoop::quit);
         window.show();
         loop.exec();
     }},
    {"RunGoesOn", [] {}},
};

[[maybe_unused]] const bool kRegistered = [] {
    if (!qEnvironmentVariableIsSet(kScenarioVariable))
        return false;
    for (const auto& [name, body] : kScenarios)
        ::testing::RegisterTest("ModalWatchdogScenario", name, nullptr, nullptr, __FILE__, __LINE__,
                                [body = body]() -> ::testing::Test* { return new Scenario(body); });
    return true;
}();

struct ChildRun {
    int exitCode = -1;
    QString output;
};

// This program again, on the scenarios the filter names.
ChildRun RunScenarios(const QString& filter) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : environment.keys())
        if (name.startsWith(QStringLiteral("GTEST_")))
            environment.remove(name); // never the caller's output file or shard
    environment.insert(QString::fromLatin1(kScenarioVariable), QStringLiteral("1"));
    environment.insert(QString::fromLatin1(testsupport::ModalWatchdog::kLimitVariable),
                       QString::number(kLimitMs));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_color=no"),
                 QStringLiteral("--gtest_filter=ModalWatchdogScenario.") + filter});
    ChildRun run;
    if (!child.waitForFinished(30000)) {
        ADD_FAILURE() << "the scenarios hung";
        child.kill();
        child.waitForFinished();
    }
    run.output = QString::fromUtf8(child.readAll());
    if (child.exitStatus() == QProcess::NormalExit)
        run.exitCode = child.exitCode();
    return run;
}

// What the run printed for one scenario, from its start to its verdict.
QString Report(const QString& output, const QString& scenario) {
    const QString name = QStringLiteral("ModalWatchdogScenario.") + scenario;
    const auto start = output.indexOf(QStringLiteral("[ RUN      ] ") + name);
    if (start < 0)
        return {};
    const auto verdict =
        output.indexOf(QStringLiteral("] ") + name, output.indexOf(QLatin1Char('\n'), start));
    return output.mid(start, verdict < 0 ? -1 : output.indexOf(QLatin1Char('\n'), verdict) - start);
}

TEST(ModalWatchdog, FailsTheTestThatLeftADialogOpenNamingItAndGoesOn) {
    const ChildRun run = RunScenarios(QStringLiteral("LeavesADialogOpen:*.RunGoesOn"));
    EXPECT_EQ(run.exitCode, 1) << run.output.toStdString();
    const QString left = Report(run.output, QStringLiteral("LeavesADialogOpen"));
    EXPECT_TRUE(left.contains(QStringLiteral("An unexpected modal window was still open in "
                                             "ModalWatchdogScenario.LeavesADialogOpen")))
        << left.toStdString();
    EXPECT_TRUE(left.contains(QStringLiteral(
        "title \"Forgotten Dialog\" (QDialog \"Forgotten\"), showing \"Nobody answers this\", "
        "\"Carry On\"")))
        << left.toStdString();
    EXPECT_TRUE(
        left.contains(QStringLiteral("[  FAILED  ] ModalWatchdogScenario.LeavesADialogOpen")));
    EXPECT_TRUE(Report(run.output, QStringLiteral("RunGoesOn"))
                    .contains(QStringLiteral("[       OK ] ModalWatchdogScenario.RunGoesOn")))
        << run.output.toStdString();
}

TEST(ModalWatchdog, LeavesADialogWithItsOwnDeadlineToIt) {
    const ChildRun run = RunScenarios(QStringLiteral("KeepsItsOwnDeadline"));
    const QString report = Report(run.output, QStringLiteral("KeepsItsOwnDeadline"));
    EXPECT_TRUE(report.contains(QStringLiteral("Driven was still open at the deadline")))
        << report.toStdString();
    EXPECT_FALSE(report.contains(QStringLiteral("unexpected modal window")))
        << report.toStdString();
}

TEST(ModalWatchdog, EndsTheRunWhenClosingDoesNotEndTheWait) {
    const ChildRun run = RunScenarios(QStringLiteral("LoopGoesOn:*.RunGoesOn"));
    EXPECT_EQ(run.exitCode, EXIT_FAILURE);
    EXPECT_TRUE(run.output.contains(QStringLiteral(
        "Modal window watchdog: ModalWatchdogScenario.LoopGoesOn left a modal window open, "
        "title \"Waiting Window\" (QWidget \"\"), showing \"Carry On\"; it was closed, but the "
        "event loop that showed it went on. Ending the run.")))
        << run.output.toStdString();
    EXPECT_FALSE(
        run.output.contains(QStringLiteral("[ RUN      ] ModalWatchdogScenario.RunGoesOn")));
}

} // namespace
