#include "MirelFixture.h"

#include "kb/DataFileReader.h"
#include "kb/QuestionFileReader.h"

#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTest>

// The explanation window's two views: the list with Exit, or the help page with OK.
TEST_F(MirelTest, ExplanationSwitchesBetweenListAndHelpPage) {
    MakeMain();
    Load(Data("worked.qst"));
    Click("AnalysisBtn");
    Explain();
    consult::Explanation* window = m_Main->ExplanationWindow();
    ASSERT_NE(window, nullptr);
    auto* list = Get<QWidget>(window, QStringLiteral("List1"));
    auto* exit = Get<QAbstractButton>(window, QStringLiteral("BTR"));
    auto* firstLine = Get<QLabel>(window, QStringLiteral("AHelp(0)"));
    auto* lastLine = Get<QLabel>(window, QStringLiteral("AHelp(15)"));
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(exit->isVisible());
    EXPECT_FALSE(firstLine->isVisible());

    Get<QAction>(window, QStringLiteral("AnalysisHelp"))->trigger();
    EXPECT_FALSE(list->isVisible());
    EXPECT_FALSE(exit->isVisible());
    EXPECT_TRUE(firstLine->isVisible());
    EXPECT_EQ(firstLine->text(), QStringLiteral("Analysis Description Help"));
    EXPECT_EQ(lastLine->text(),
              QStringLiteral("Reliant Questions not asked by the system show [This Question "
                             "was not Asked]"));

    // A window left on the help page is refilled there.
    Explain();
    EXPECT_FALSE(list->isVisible());
    Get<QAbstractButton>(window, QStringLiteral("OK"))->click();
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(exit->isVisible());

    Get<QAction>(window, QStringLiteral("AnalysisHelp"))->trigger();
    Get<QAction>(window, QStringLiteral("BacktoResults"))->trigger();
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(firstLine->isVisible());

    const QPoint placed = window->pos();
    exit->click();
    EXPECT_FALSE(window->isVisible());
    Explain();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), placed);
}

// The first filling places the window, at its own size, 1000 twips left of and above the
// centre of the screen.
TEST_F(MirelTest, ExplanationIsPlacedLeftOfAndAboveTheCentre) {
    MakeMain();
    Load(Data("worked.qst"));
    Click("AnalysisBtn");
    Explain();
    consult::Explanation* window = m_Main->ExplanationWindow();
    ASSERT_NE(window, nullptr);
    const QRect area = window->screen()->availableGeometry();
    const QPointF shift(-1000 / 15.0, -1000 / 15.0);
    const QPointF offCentre = QRectF(window->frameGeometry()).center() - QRectF(area).center();
    EXPECT_NEAR(offCentre.x(), shift.x(), 3);
    EXPECT_NEAR(offCentre.y(), shift.y(), 3);
}

// One whole consultation on the sample knowledge base that ships with the program.
TEST_F(MirelTest, RoadTestOnTheSample) {
    const std::string sample = CORVANE_TEST_DATA "/../../examples/pets";
    kb::QuestionArray questions;
    kb::QuestionFileReader questionReader;
    EXPECT_TRUE(questionReader.Read(sample + ".qst", questions));
    EXPECT_EQ(questionReader.QuestionCount(), 12);
    kb::RecordArray records;
    kb::DataFileReader dataReader;
    dataReader.Read(sample + ".dat", records);
    EXPECT_EQ(dataReader.RecordCount(), 14);
    EXPECT_EQ(dataReader.SkippedItems(), 0);

    MakeMain();
    Load(QString::fromStdString(sample + ".qst"));
    ASSERT_TRUE(m_Script.MessageBoxes().empty());
    EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("How much space do you have at home?"));

    Check(2)->click(); // a large garden
    Click("NextBtn");
    Check(2)->click(); // several hours a day
    Click("NextBtn");
    Step(0, 2); // walks: yes
    Step(1, 2); // cuddles: yes
    Step(3, 1); // tricks: perhaps
    Click("NextBtn");
    Check(1)->click(); // no allergies
    Click("NextBtn");
    Step(1, 2); // five to fifteen years suits
    Step(2, -1);
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("6")); // fenced garden: there is a garden
    Check(0)->click();
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("7")); // walking a dog: walks and hours
    Check(0)->click();
    Click("NextBtn");
    Step(0, 2); // lively
    Step(3, 2); // affectionate
    Click("NextBtn");
    Check(0)->click(); // young children
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("11")); // no landlord question without a flat
    Check(0)->click();                             // a mammal
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("12")); // riding: there is land
    Check(1)->click();
    Click("NextBtn");

    ASSERT_NE(List(), nullptr);
    EXPECT_TRUE(List()->isVisible());
    EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("pageLabel"))->text(),
              QStringLiteral("Page 1 of 1"));
    const QStringList names = RecordNames();
    EXPECT_EQ(names.first(), QStringLiteral("DOG"));
    EXPECT_EQ(names.indexOf(QStringLiteral("CORN SNAKE")), 13);

    const QStringList lines = Explain();
    EXPECT_EQ(m_Main->ExplanationWindow()->windowTitle(), QStringLiteral("Selected Record = DOG"));
    EXPECT_EQ(lines.first(), QStringLiteral("[Question 1] [Importance = HIGH] "));
    EXPECT_EQ(Explained(lines, 1).last(),
              QStringLiteral("Resultant Score = 20.00 From a MAX of 20.00"));
    EXPECT_EQ(Explained(lines, 10),
              QStringList(QStringLiteral(" [This question was NOT asked/answered] ")));

    Get<QAbstractButton>(List(), QStringLiteral("Describe"))->click();
    ASSERT_EQ(m_Script.OpenedPages().size(), 1u);
    // The sample's own page, found beside its question set wherever Mirel was started.
    const QFileInfo opened(m_Script.OpenedPages()[0]);
    EXPECT_TRUE(opened.isAbsolute());
    EXPECT_TRUE(opened.isFile());
    const QDir examples = QFileInfo(QString::fromStdString(sample) + QStringLiteral(".qst")).dir();
    EXPECT_EQ(opened.canonicalFilePath(),
              QFileInfo(examples.filePath(QStringLiteral("dog.htm"))).canonicalFilePath());
}
