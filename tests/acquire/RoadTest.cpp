#include "DroskFixture.h"

#include "consult/Main.h"

// The road across the file formats in one process: a question set written by the editor's
// writer, records entered through Drosk's window and saved, then the same files consulted
// in Mirel's window.

TEST_F(DroskTest, RecordsEnteredInDroskRankInMirel) {
    const QString set =
        WriteSet(QStringLiteral("road.qst"), {{"Size of the animal?", 0, {"Small", "Large"}},
                                              {"Colours?", 1, {"Red", "Green"}},
                                              {"Cage or hutch?", 0, {"Cage", "Hutch"}, {{1, 1}}}});
    MakeMain();
    Load(set);

    NewRecord(QStringLiteral("mouse"));
    Check(0)->click();
    Click("NextBtn");
    Step(0, 2);
    Step(1, -2);
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("3"));
    Check(0)->click();
    Describe({QStringLiteral("mouse.htm")});

    NewRecord(QStringLiteral("horse"));
    Check(1)->click();
    Click("NextBtn");
    Step(0, -2);
    Step(1, 1);
    Click("NextBtn"); // question 3 needs Small: nothing later applies
    ASSERT_EQ(QuestionNo(), QStringLiteral("2"));

    NewRecord(QStringLiteral("vole"));
    DeleteRecord(QStringLiteral("VOLE"), platform::Answer::Yes);
    Click("SaveRecord");
    ASSERT_EQ(Messages(), QStringList({"Delete Record : VOLE"}));
    m_Main.reset();

    // Mirel on the same files: the end user wants a large animal in green.
    platform::SetProgram(QStringLiteral("Mirel"), QStringLiteral("Corvane User Interface"));
    consult::Main mirel;
    mirel.show();
    m_Script.QueueFileName(set);
    mirel.findChild<QAbstractButton*>(QStringLiteral("LoadQuestions"))->click();
    EXPECT_EQ(mirel.findChild<QLabel*>(QStringLiteral("theQuestion"))->text(),
              QStringLiteral("Size of the animal? (asked)"));
    mirel.findChild<QRadioButton*>(QStringLiteral("m_checks(1)"))->click();
    mirel.findChild<QAbstractButton*>(QStringLiteral("NextBtn"))->click();
    mirel.findChild<QScrollBar*>(QStringLiteral("m_Sliders(1)"))
        ->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    mirel.findChild<QAbstractButton*>(QStringLiteral("AnalysisBtn"))->click();

    consult::RecordDisplayer* list = mirel.RecordList();
    ASSERT_NE(list, nullptr);
    QStringList ranking;
    for (int i = 0; i < 3; ++i)
        ranking << Get<QLabel>(list, QStringLiteral("RecName(%1)").arg(i))->text() +
                       QLatin1Char(' ') +
                       Get<QLabel>(list, QStringLiteral("RecScore(%1)").arg(i))->text();
    // Horse: Large (+10 of 10) and Green Perhaps as asked; mouse: Small, Green No.
    EXPECT_EQ(ranking, QStringList({"HORSE 87.50%", "MOUSE 18.75%", " "}));
    EXPECT_EQ(Messages(), QStringList({"Delete Record : VOLE"})); // Mirel found all it needs
    m_Script.QueueAnswer(platform::Answer::Yes);
    mirel.close();
}
