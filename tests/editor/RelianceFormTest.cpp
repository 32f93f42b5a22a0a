#include "editor/RelianceForm.h"
#include "HalvetFixture.h"

#include <QCheckBox>
#include <functional>

using editor::RelianceForm;
using testing_support::Control;

namespace {

// Four questions: question k has k + 2 options, so the browser's rows differ from question
// to question and the three earlier ones offer twelve pairs.
kb::QuestionArray MakeSet(const Pairs& fourthRelies = {}, std::int16_t type = 0) {
    kb::QuestionArray set;
    for (int k = 1; k <= 4; ++k) {
        auto q = std::make_shared<kb::CQuestion>();
        q->SetUserQ("User " + std::to_string(k));
        for (int o = 1; o <= k + 2; ++o)
            q->AddOption("Opt " + std::to_string(k) + "." + std::to_string(o));
        set.push_back(q);
    }
    for (auto [Q, Opt] : fourthRelies)
        set[3]->m_Dependencies.AddDependency(static_cast<std::int16_t>(Q),
                                             static_cast<std::int16_t>(Opt));
    set[3]->m_Dependencies.SetType(type);
    return set;
}

QString Text(QDialog* d, const QString& name) {
    return Control<QLabel>(d, name.toLatin1().constData())->text();
}
QCheckBox* Tick(QDialog* d, int i) {
    return d->findChild<QCheckBox*>(QStringLiteral("Check(%1)").arg(i));
}
void Press(QDialog* d, const char* name) {
    Control<QAbstractButton>(d, name)->click();
}
QStringList Listed(QDialog* d) {
    QStringList pairs;
    for (int i = 0; i < 9; ++i) {
        auto* q = d->findChild<QLabel*>(QStringLiteral("DependentQ(%1)").arg(i));
        if (q->isVisible())
            pairs << q->text() + u'/' +
                         d->findChild<QLabel*>(QStringLiteral("DependentOpt(%1)").arg(i))->text();
    }
    return pairs;
}
QStringList Ticked(QDialog* d) {
    QStringList rows;
    for (int i = 0; i < 9; ++i)
        if (Tick(d, i)->isVisible() && Tick(d, i)->isChecked())
            rows << QString::number(i + 1);
    return rows;
}
int Rows(QDialog* d) {
    int n = 0;
    for (int i = 0; i < 9; ++i)
        n += Tick(d, i)->isVisible() ? 1 : 0;
    return n;
}

// Opens the form for the question at index setup and lets act work it.
void OpenForm(RelianceForm& form, const kb::QuestionArray& set, std::int16_t setup,
              std::function<void(QDialog*)> act) {
    form.Initialise(set, setup);
    testing_support::WhenModal(std::move(act));
    testing_support::ExecWithDeadline(form);
}

} // namespace

TEST(RelianceForm, OpensOnTheFirstPairsQuestionAndBrowsesOnlyEarlierOnes) {
    RelianceForm form;
    const auto set = MakeSet({{2, 3}, {1, 1}, {2, 1}}, 1);
    OpenForm(form, set, 3, [](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Corvane - Create Question Reliance"));
        EXPECT_EQ(Text(d, "RelyQNoLabel"), QStringLiteral("4"));
        EXPECT_EQ(Text(d, "RelyQUserQ"), QStringLiteral(" User 4"));
        EXPECT_EQ(Listed(d), QStringList({"2/3", "1/1", "2/1"}));
        EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("2"));
        EXPECT_EQ(Text(d, "UserQ"), QStringLiteral(" User 2"));
        EXPECT_EQ(Text(d, "QOption(2)"), QStringLiteral(" Opt 2.3"));
        EXPECT_EQ(Rows(d), 4);
        EXPECT_EQ(Ticked(d), QStringList({"1", "3"}));
        EXPECT_TRUE(Control<QAbstractButton>(d, "DependType(1)")->isChecked());
        Press(d, "PrevBtn");
        Press(d, "PrevBtn");
        EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("1"));
        EXPECT_EQ(Ticked(d), QStringList({"1"}));
        Press(d, "LastBtn");
        Press(d, "NextBtn");
        EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("3"));
        EXPECT_EQ(Rows(d), 5);
        EXPECT_TRUE(Ticked(d).isEmpty());
        Press(d, "FirstBtn");
        EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("1"));
        Press(d, "Abort");
    });
    EXPECT_FALSE(form.AcceptPressed());

    // Question 2's browser holds question 1 only; no pairs: nothing ticked, empty list.
    OpenForm(form, set, 1, [](QDialog* d) {
        EXPECT_TRUE(Listed(d).isEmpty());
        EXPECT_TRUE(Control<QAbstractButton>(d, "DependType(0)")->isChecked());
        for (const char* button : {"NextBtn", "LastBtn", "PrevBtn", "FirstBtn"}) {
            Press(d, button);
            EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("1")) << button;
        }
        EXPECT_EQ(Rows(d), 3);
        EXPECT_TRUE(Ticked(d).isEmpty());
        d->reject(); // the window frame's close
    });
    EXPECT_FALSE(form.AcceptPressed());
}

TEST(RelianceForm, TicksEditTheWorkingPairsUpToNine) {
    RelianceForm form;
    auto set = MakeSet({{1, 2}});
    OpenForm(form, set, 3, [](QDialog* d) {
        Press(d, "LastBtn");
        Tick(d, 2)->click();
        EXPECT_EQ(Listed(d), QStringList({"1/2", "3/3"}));
        Tick(d, 2)->click();
        Tick(d, 0)->click();
        Tick(d, 3)->click();
        Press(d, "FirstBtn");
        Tick(d, 1)->click(); // unticks (1, 2): the later pairs move left
        EXPECT_EQ(Listed(d), QStringList({"3/1", "3/4"}));
        Tick(d, 0)->click();
        Tick(d, 1)->click();
        Press(d, "NextBtn");
        for (int i = 0; i < 3; ++i)
            Tick(d, i)->click();
        ASSERT_EQ(Listed(d).size(), 7);
        Press(d, "NextBtn");
        Tick(d, 1)->click();
        Tick(d, 2)->click();
        EXPECT_EQ(Listed(d).size(), 9);
        Tick(d, 4)->click(); // a tenth pair is not taken
        EXPECT_EQ(Listed(d).size(), 9);
        EXPECT_TRUE(Tick(d, 4)->isChecked());
        Press(d, "PrevBtn");
        Press(d, "NextBtn");
        EXPECT_FALSE(Tick(d, 4)->isChecked());
        Press(d, "DependType(1)");
        Press(d, "Accept");
    });
    ASSERT_TRUE(form.AcceptPressed());
    kb::CDependency& deps = set[3]->m_Dependencies;
    form.GetDependencies(deps);
    EXPECT_EQ(deps.GetNumDependencies(), 9);
    EXPECT_EQ(deps.GetType(), 1);
    std::int16_t Q = 0, Opt = 0;
    deps.GetDependency(0, Q, Opt);
    EXPECT_EQ(Q * 10 + Opt, 31);
    deps.GetDependency(8, Q, Opt);
    EXPECT_EQ(Q * 10 + Opt, 33);
}

TEST(RelianceForm, ResetEmptiesTheListAndAnyAllSurvivesBrowsing) {
    RelianceForm form;
    auto set = MakeSet({{1, 1}, {2, 2}});
    OpenForm(form, set, 3, [](QDialog* d) {
        Press(d, "DependType(1)");
        Press(d, "Reset");
        EXPECT_TRUE(Listed(d).isEmpty());
        EXPECT_TRUE(Ticked(d).isEmpty());
        Press(d, "NextBtn");
        EXPECT_TRUE(Control<QAbstractButton>(d, "DependType(1)")->isChecked());
        Press(d, "Accept");
    });
    form.GetDependencies(set[3]->m_Dependencies);
    EXPECT_EQ(set[3]->m_Dependencies.GetNumDependencies(), 0);
    EXPECT_EQ(set[3]->m_Dependencies.GetType(), 1);
}

// A hand-made set may name a question it does not hold, or one after the set-up question.
TEST(RelianceForm, PairsOnQuestionsOutsideTheBrowserDoNotBreakIt) {
    RelianceForm form;
    for (int missing : {40, 4, 3}) {
        auto set = MakeSet();
        set[2]->m_Dependencies.AddDependency(static_cast<std::int16_t>(missing), 1);
        OpenForm(form, set, 2, [missing](QDialog* d) {
            EXPECT_EQ(Listed(d), QStringList{QStringLiteral("%1/1").arg(missing)});
            EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("2"));
            Press(d, "Abort");
        });
    }
}

// Through the editor's window: question 1 cannot rely; Cancel leaves the labels as they were.
TEST_F(HalvetTest, CreateRelianceFromTheMainWindow) {
    WriteSet(Path("set.qst"), 3, {{3, {{1, 2}}}});
    MakeMain();
    Click("RelianceBtn");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_Script.MessageBoxes()[0].text,
              QStringLiteral("There are no Questions for the\nfirst Question to depend upon"));
    EXPECT_EQ(m_Script.MessageBoxes()[0].title, QStringLiteral("Cannot Set"));
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, platform::Icon::Exclamation);

    Load(Path("set.qst"));
    Click("LastBtn");
    EXPECT_EQ(ShownPairs(), QStringList{"1/2"});
    testing_support::WhenModal([](QDialog* d) {
        Press(d, "NextBtn");
        Tick(d, 0)->click();
        Press(d, "Abort");
    });
    Click("RelianceBtn");
    EXPECT_EQ(ShownPairs(), QStringList{"1/2"});

    testing_support::WhenModal([](QDialog* d) {
        Press(d, "NextBtn");
        Tick(d, 0)->click();
        Tick(d, 2)->click();
        Press(d, "Accept");
    });
    Trigger("QuestionsMenuReliance");
    EXPECT_EQ(ShownPairs(), QStringList({"1/2", "2/1", "2/3"}));
    EXPECT_FALSE(Label("DependentQ(3)")->isVisible());
}
