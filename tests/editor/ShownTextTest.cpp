#include "HalvetFixture.h"

using platform::Answer;

namespace {

// A stored text of the longest typed length, whose start and end read differently.
std::string LongText(const std::string& start) {
    return start + std::string(120 - start.size() - 4, 'W') + " END";
}

} // namespace

// A stored text longer than its box is shown from its start, where the knowledge engineer
// reads it: on loading, on moving between questions and after adding an option.
TEST_F(HalvetTest, LongStoredTextsAreShownFromTheirStart) {
    kb::QuestionArray set;
    for (const char* start : {"First", "Second"}) {
        auto q = std::make_shared<kb::CQuestion>();
        q->SetKEQ(LongText(std::string(start) + " engineer wording"));
        q->SetUserQ(LongText(std::string(start) + " user wording"));
        q->AddOption(LongText("Option one"));
        q->AddOption(LongText("Option two"));
        set.push_back(q);
    }
    ASSERT_TRUE(editor::QuestionFileWriter().Save(set, Path("long.qst").toStdString()));
    MakeMain();
    Load(Path("long.qst"));

    const auto expectShownFromStart = [this](const char* when) {
        for (QLineEdit* box : {Box(QStringLiteral("KEQuestion")),
                               Box(QStringLiteral("UserQuestion")), Option(0), Option(1)}) {
            ASSERT_EQ(box->text().size(), 120) << when;
            // The box is far narrower than its text, so the cursor decides which end shows.
            EXPECT_LT(box->width(), box->fontMetrics().horizontalAdvance(box->text())) << when;
            EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString() << ", " << when;
        }
    };
    expectShownFromStart("loaded");
    Click("NextBtn");
    EXPECT_TRUE(Box(QStringLiteral("KEQuestion"))->text().startsWith(QStringLiteral("Second")));
    expectShownFromStart("next");
    Click("PrevBtn");
    expectShownFromStart("previous");
    Trigger("OptionsMenuAdd");
    expectShownFromStart("option added");
    EXPECT_TRUE(m_Script.MessageBoxes().empty());
}

// Only a question set that really loses text on a later save is announced as read in part;
// blank lines after the last question lose nothing.
TEST_F(HalvetTest, PartReadWarningOnlyWhenTextIsLost) {
    struct Case {
        const char* name;
        QByteArray tail;
        bool warned;
    };
    const Case cases[] = {
        {"one trailing empty line", "\r\n", false},
        {"several empty and blank lines", "\r\n\n   \r\n", false},
        {"ten empty lines", QByteArray("\r\n").repeated(10), false},
        {"more empty items than a block", QByteArray(",,,,,,\r\n").repeated(5), false},
        {"a stray item", "stray\r\n", true},
        {"half a question", "KE 3\r\nUser 3\r\nSingle\r\n", true},
    };
    for (const Case& c : cases) {
        m_Script.Clear();
        WriteSet(Path("set.qst"), 2);
        QFile file(Path("set.qst"));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(c.tail);
        file.close();
        m_Main.reset();
        MakeMain();
        Load(Path("set.qst"));

        const QStringList texts = m_Script.MessageTexts();
        if (c.warned) {
            ASSERT_EQ(texts.size(), 1) << c.name;
            EXPECT_TRUE(texts[0].startsWith(
                QStringLiteral("Only the first 2 question(s) of this question set could be read")))
                << c.name;
        } else {
            EXPECT_TRUE(texts.isEmpty()) << c.name << ": " << texts.join(u'|').toStdString();
        }
        // Either way both whole questions are there.
        Click("LastBtn");
        EXPECT_EQ(QuestionNo(), QStringLiteral("2")) << c.name;
        EXPECT_EQ(Box(QStringLiteral("KEQuestion"))->text(), QStringLiteral("KE 2")) << c.name;
    }
}

// The insert warning is five lines, each on its own: no line end that a message box would
// show as a break followed by an empty line.
TEST_F(HalvetTest, InsertWarningShowsItsFiveLinesAsLines) {
    WriteSet(Path("set.qst"), 2);
    WriteData(Path("set.dat"), 2);
    MakeMain();
    Load(Path("set.qst"));
    m_Script.QueueAnswer(Answer::No);
    Trigger("InsertMenu");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    const QString text = m_Script.MessageBoxes()[0].text;
    EXPECT_FALSE(text.contains(u'\r'));
    EXPECT_EQ(text.split(u'\n'),
              QStringList({QStringLiteral("WARNING: A data file created with the current "
                                          "question set already "),
                           QStringLiteral("exists.  The records in this data file will be "
                                          "updated with a neutral "),
                           QStringLiteral("response by Halvet.  You should use Drosk to update "
                                          "all existing "),
                           QStringLiteral("records with a response for this new question.  Do "
                                          "you still want "),
                           QStringLiteral("to insert a new question ?")}));
    EXPECT_EQ(QuestionNo(), QStringLiteral("1")); // No inserted nothing
    EXPECT_EQ(Box(QStringLiteral("KEQuestion"))->text(), QStringLiteral("KE 1"));
}
