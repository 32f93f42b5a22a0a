#include "editor/RelianceForm.h"
#include "HalvetFixture.h"

#include <QCheckBox>

using editor::RelianceForm;
using testsupport::Control;

namespace {

// Four questions; question k has k + 2 options, so the three earlier ones offer twelve
// pairs and their browser rows differ.
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

QString Text(QDialog* d, const char* name) {
    return Control<QLabel>(d, name)->text();
}
QCheckBox* Tick(QDialog* d, int i) {
    return d->findChild<QCheckBox*>(QStringLiteral("Check(%1)").arg(i));
}
void Press(QDialog* d, const char* name) {
    Control<QAbstractButton>(d, name)->click();
}
// The list of pairs as "question/option", and the shown rows ticked, by option number.
QStringList Listed(QDialog* d) {
    QStringList pairs;
    for (int i = 0; i < 9; ++i) {
        auto* q = d->findChild<QLabel*>(QStringLiteral("DependentQ(%1)").arg(i));
        auto* o = d->findChild<QLabel*>(QStringLiteral("DependentOpt(%1)").arg(i));
        if (q->isVisible())
            pairs << q->text() + u'/' + o->text();
    }
    return pairs;
}
QString Ticked(QDialog* d) {
    QString rows;
    for (int i = 0; i < 9; ++i)
        rows += !Tick(d, i)->isVisible() ? "" : Tick(d, i)->isChecked() ? "x" : "-";
    return rows;
}

void OpenForm(RelianceForm& form, const kb::QuestionArray& set, std::int16_t setup,
              std::function<void(QDialog*)> act) {
    form.Initialise(set, setup);
    testsupport::WhenModal(std::move(act));
    testsupport::ExecWithDeadline(form);
}

} // namespace

TEST(RelianceForm, OpensOnTheFirstPairsQuestionAndBrowsesOnlyEarlierOnes) {
    RelianceForm form;
    const auto set = MakeSet({{2, 3}, {1, 1}, {2, 1}}, 1);
    OpenForm(form, set, 3, [](QDialog* d) {
        EXPECT_EQ(Text(d, "RelyQNoLabel"), QStringLiteral("4"));
        EXPECT_EQ(Text(d, "RelyQUserQ"), QStringLiteral(" User 4"));
        EXPECT_EQ(Listed(d), QStringList({"2/3", "1/1", "2/1"}));
        EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("2"));
        EXPECT_EQ(Text(d, "QOption(2)"), QStringLiteral(" Opt 2.3"));
        EXPECT_EQ(Ticked(d), QStringLiteral("x-x-"));
        EXPECT_TRUE(Control<QAbstractButton>(d, "DependType(1)")->isChecked());
        Press(d, "PrevBtn");
        Press(d, "PrevBtn");
        EXPECT_EQ(Ticked(d), QStringLiteral("x--"));
        Press(d, "LastBtn");
        Press(d, "NextBtn");
        EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("3"));
        EXPECT_EQ(Ticked(d), QStringLiteral("-----"));
        Press(d, "Abort");
    });
    EXPECT_FALSE(form.AcceptPressed());

    // For question 2 the browser holds question 1 only; without pairs nothing is ticked.
    OpenForm(form, set, 1, [](QDialog* d) {
        EXPECT_TRUE(Listed(d).isEmpty());
        EXPECT_TRUE(Control<QAbstractButton>(d, "DependType(0)")->isChecked());
        for (const char* button : {"NextBtn", "LastBtn", "PrevBtn"}) {
            Press(d, button);
            EXPECT_EQ(Text(d, "QNoLabel"), QStringLiteral("1")) << button;
        }
        EXPECT_EQ(Ticked(d), QStringLiteral("---"));
        d->reject(); // the window frame's close
    });
    EXPECT_FALSE(form.AcceptPressed());
}

// Wordings and options are shown as typed, never taken for markup.
TEST(RelianceForm, ShowsTextThatLooksLikeMarkupAsItIs) {
    RelianceForm form;
    auto set = MakeSet();
    set[0]->SetUserQ("<i>Fur</i>?");
    set[0]->UpdateOption(0, "<b>Long</b>");
    set[1]->SetUserQ("<small>Size</small>?");
    form.Initialise(set, 1);
    for (const char* name : {"RelyQUserQ", "UserQ", "QOption(0)"}) {
        auto* label = Control<QLabel>(&form, name);
        EXPECT_TRUE(label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text()))
            << name << " would render " << label->text().toStdString() << " as markup";
    }
}

TEST(RelianceForm, TicksEditTheWorkingPairsUpToNine) {
    RelianceForm form;
    auto set = MakeSet({{1, 2}});
    OpenForm(form, set, 3, [](QDialog* d) {
        Press(d, "DependType(1)"); // kept through the browsing below
        Press(d, "LastBtn");
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
        Press(d, "NextBtn");
        Tick(d, 1)->click();
        Tick(d, 2)->click();
        EXPECT_EQ(Listed(d).size(), 9);
        Tick(d, 4)->click(); // a tenth pair is not taken; the box shows ticked until redrawn
        EXPECT_EQ(Listed(d).size(), 9);
        Press(d, "PrevBtn");
        Press(d, "NextBtn");
        EXPECT_EQ(Ticked(d), QStringLiteral("xxxx-"));
        Press(d, "Accept");
    });
    ASSERT_TRUE(form.AcceptPressed());
    kb::CDependency& deps = set[3]->m_Dependencies;
    form.GetDependencies(deps);
    EXPECT_EQ(deps.GetNumDependencies(), 9);
    EXPECT_EQ(deps.GetType(), 1);
    std::int16_t Q = 0, Opt = 0;
    deps.GetDependency(8, Q, Opt);
    EXPECT_EQ(Q * 10 + Opt, 33);

    // Reset empties the list; the Any choice survives it and browsing.
    OpenForm(form, set, 3, [](QDialog* d) {
        Press(d, "Reset");
        EXPECT_TRUE(Listed(d).isEmpty());
        EXPECT_EQ(Ticked(d), QStringLiteral("-----"));
        Press(d, "FirstBtn");
        Press(d, "Accept");
    });
    form.GetDependencies(deps);
    EXPECT_EQ(deps.GetNumDependencies(), 0);
    EXPECT_EQ(deps.GetType(), 1);
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

// From the editor's window: question 1 cannot rely; Cancel leaves the labels as they were.
TEST_F(HalvetTest, CreateRelianceFromTheMainWindow) {
    WriteSet(Path("set.qst"), 3, {{3, {{1, 2}}}});
    MakeMain();
    Click("RelianceBtn");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_Script.MessageBoxes()[0].text,
              QStringLiteral("There are no Questions for the\nfirst Question to depend upon"));
    EXPECT_EQ(m_Script.MessageBoxes()[0].title, QStringLiteral("Cannot Set"));

    Load(Path("set.qst"));
    Click("LastBtn");
    for (const char* close : {"Abort", "Accept"}) {
        testsupport::WhenModal([close](QDialog* d) {
            Press(d, "NextBtn");
            Tick(d, 0)->click();
            Tick(d, 2)->click();
            Press(d, close);
        });
        Trigger("QuestionsMenuReliance");
        EXPECT_EQ(ShownPairs(), std::string(close) == "Abort" ? QStringList{"1/2"}
                                                              : QStringList({"1/2", "2/1", "2/3"}));
    }
}
