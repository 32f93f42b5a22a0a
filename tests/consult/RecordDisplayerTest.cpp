#include "MirelFixture.h"

#include "platform/PageLocation.h"
#include "platform/ShownText.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>

// The record list on its own, as the acquisition program uses it too.
class RecordListTest : public MirelTest {
protected:
    void SetUp() override {
        MirelTest::SetUp();
        kb::g_NumQuestions = 1;
    }

    void Fill(int count, bool showConf = true) {
        m_Records.clear();
        for (int i = 0; i < count; ++i) {
            auto record = std::make_shared<kb::CRecord>();
            record->SetName("REC " + std::to_string(i + 1));
            record->UpdateScore(i == 0 ? 100.0 : 0.0, kb::kNoQuestion);
            m_Records.push_back(record);
        }
        m_List.Initialise(m_Records, {}, static_cast<std::int16_t>(count), QString(), showConf);
        m_List.show();
    }
    QLabel* Row(const char* array, int i) {
        return Get<QLabel>(&m_List,
                           QStringLiteral("%1(%2)").arg(QString::fromLatin1(array)).arg(i));
    }
    void Press(const char* name) {
        Get<QAbstractButton>(&m_List, QString::fromLatin1(name))->click();
    }
    QString PageLine() { return Get<QLabel>(&m_List, QStringLiteral("pageLabel"))->text(); }
    bool Green(int i) {
        return Row("RecName", i)->palette().color(QPalette::Window) == QColor(0, 0x80, 0);
    }

    kb::RecordArray m_Records;
    consult::RecordDisplayer m_List;
};

TEST_F(RecordListTest, PagesOfFifteen) {
    struct Case {
        int records;
        int lastPage;
        int rowsOnLastPage;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{15, 0, 15}, Case{16, 1, 1}, Case{31, 2, 1}}) {
        SCOPED_TRACE(c.records);
        Fill(c.records);
        EXPECT_EQ(PageLine(), QStringLiteral("Page 1 of %1").arg(c.lastPage + 1));
        for (int page = 0; page < c.lastPage; ++page)
            Press("NextPg");
        Press("NextPg"); // beyond the last page: nothing
        EXPECT_EQ(m_List.CurrentPage(), c.lastPage);
        for (int i = 0; i < consult::RecordDisplayer::kRows; ++i) {
            const bool filled = i < c.rowsOnLastPage;
            EXPECT_EQ(Row("RNo", i)->isVisible(), filled) << i;
            EXPECT_EQ(Row("RecName", i)->text().isEmpty(), !filled) << i;
            if (filled) {
                EXPECT_EQ(Row("RNo", i)->text(), QString::number(c.lastPage * 15 + i + 1));
            }
        }
        for (int page = 0; page <= c.lastPage; ++page)
            Press("PrevPg");
        EXPECT_EQ(PageLine(), QStringLiteral("Page 1 of %1").arg(c.lastPage + 1));
    }
}

TEST_F(RecordListTest, SelectionIsAnIndexIntoTheWholeList) {
    Fill(31);
    EXPECT_TRUE(Green(0));
    EXPECT_EQ(Row("RecScore", 0)->text(), QStringLiteral("100.00%"));
    EXPECT_EQ(Row("RecScore", 1)->text(), QStringLiteral("0.00%"));
    Press("NextPg");
    EXPECT_FALSE(Green(0));
    QTest::mouseClick(Row("RecName", 2), Qt::LeftButton);
    EXPECT_EQ(m_List.SelectedRec(), 17);
    EXPECT_EQ(Row("RNo", 2)->text(), QStringLiteral("18"));
    EXPECT_TRUE(Green(2));
    Press("PrevPg");
    for (int i = 0; i < consult::RecordDisplayer::kRows; ++i)
        EXPECT_FALSE(Green(i)) << i;
    Press("NextPg");
    Press("NextPg");
    QTest::mouseClick(Row("RecName", 5), Qt::LeftButton); // an empty row
    EXPECT_EQ(m_List.SelectedRec(), 17);

    Fill(31); // a new filling starts again at page 1 with the first record
    EXPECT_EQ(m_List.CurrentPage(), 0);
    EXPECT_EQ(m_List.SelectedRec(), 0);
}

// The rows after the last record are empty; a click there, the first of them included,
// selects nothing and leaves the selection, its green row and Explain where they were.
TEST_F(RecordListTest, AClickBelowTheLastRecordKeepsTheSelection) {
    std::shared_ptr<kb::CRecord> explained;
    m_List.SetExplainer(
        [&](const kb::QuestionArray&, const std::shared_ptr<kb::CRecord>& r) { explained = r; });
    for (const int records : {4, 16}) {
        SCOPED_TRACE(records);
        Fill(records);
        QTest::mouseClick(Row("RecName", 1), Qt::LeftButton);
        const bool twoPages = records > consult::RecordDisplayer::kRows;
        if (twoPages)
            Press("NextPg");
        for (int i = records % consult::RecordDisplayer::kRows; i < consult::RecordDisplayer::kRows;
             ++i) {
            QTest::mouseClick(Row("RecName", i), Qt::LeftButton);
            EXPECT_EQ(m_List.SelectedRec(), 1) << i;
            EXPECT_FALSE(Green(i)) << i;
        }
        if (twoPages)
            Press("PrevPg");
        EXPECT_TRUE(Green(1));
        Press("Explain");
        EXPECT_EQ(explained, m_Records[1]);
    }
}

// From the keyboard the rows are one Tab stop, as a list box is, and the movement keys
// select as a click does, turning the page with the selection.
TEST_F(RecordListTest, TheRowsAnswerTheKeyboard) {
    std::shared_ptr<kb::CRecord> explained;
    m_List.SetExplainer(
        [&](const kb::QuestionArray&, const std::shared_ptr<kb::CRecord>& r) { explained = r; });
    Fill(40);
    m_List.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_List));
    ASSERT_EQ(QApplication::focusWidget(), Row("RecName", 0)) << "the selected row has the focus";

    const struct {
        Qt::Key key;
        int selected;
    } steps[] = {{Qt::Key_Down, 1},      {Qt::Key_Down, 2},      {Qt::Key_PageDown, 17},
                 {Qt::Key_End, 39},      {Qt::Key_Down, 39},     {Qt::Key_PageUp, 24},
                 {Qt::Key_PageDown, 39}, {Qt::Key_Up, 38},       {Qt::Key_Home, 0},
                 {Qt::Key_Up, 0},        {Qt::Key_PageDown, 15}, {Qt::Key_PageUp, 0}};
    for (const auto& step : steps) {
        const QString key = QKeySequence(step.key).toString();
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_EQ(m_List.SelectedRec(), step.selected) << key.toStdString();
        EXPECT_EQ(m_List.CurrentPage(), step.selected / 15) << key.toStdString();
        EXPECT_TRUE(Green(step.selected % 15)) << key.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), Row("RecName", step.selected % 15))
            << key.toStdString();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("PrevPg"))
        << "Tab leaves the rows at once";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Row("RecName", 2)) << "and comes back to the selection";

    // Explain and Describe act on the row chosen by the keys, Space or Enter pressing them.
    for (const Qt::Key press : {Qt::Key_Space, Qt::Key_Return}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab); // to Close
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab); // to Explain
        ASSERT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Explain"));
        explained.reset();
        QTest::keyClick(QApplication::focusWidget(), press);
        EXPECT_EQ(explained, m_Records[2]) << QKeySequence(press).toString().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Row("RecName", 2));
    }

    // Paged away from the selection, Tab reaches the page's first row; a key moves on from
    // the selection, as a list box scrolled away does.
    Press("NextPg");
    QTest::keyClick(Get<QWidget>(&m_List, QStringLiteral("PrevPg")), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Row("RecName", 0));
    EXPECT_EQ(m_List.SelectedRec(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(m_List.SelectedRec(), 3);
    EXPECT_EQ(m_List.CurrentPage(), 0);

    // Rows without a record take no focus; with no record at all the keys do nothing.
    Fill(3);
    for (int i = 0; i < consult::RecordDisplayer::kRows; ++i)
        EXPECT_EQ(Row("RecName", i)->focusPolicy() == Qt::NoFocus, i >= 3) << i;
    Fill(0);
    QTest::keyClick(Row("RecName", 0), Qt::Key_End);
    EXPECT_EQ(m_List.SelectedRec(), 0);
    EXPECT_EQ(PageLine(), QStringLiteral("Page 1 of 1"));
}

TEST_F(RecordListTest, WithoutConfidenceThereIsNoScoreAndNoExplain) {
    bool explained = false;
    m_List.SetExplainer(
        [&](const kb::QuestionArray&, const std::shared_ptr<kb::CRecord>&) { explained = true; });
    Fill(3, false);
    EXPECT_TRUE(Get<QLabel>(&m_List, QStringLiteral("ConfLabel"))->isHidden());
    EXPECT_TRUE(Row("RecScore", 0)->isHidden());
    EXPECT_TRUE(Get<QWidget>(&m_List, QStringLiteral("Explain"))->isHidden());
    EXPECT_EQ(m_List.windowTitle(), QStringLiteral("Corvane (Records)"));
    EXPECT_FALSE(explained);
}

TEST_F(RecordListTest, ExplainHandsTheSelectedRecordToTheExplainer) {
    std::shared_ptr<kb::CRecord> explained;
    m_List.SetExplainer(
        [&](const kb::QuestionArray&, const std::shared_ptr<kb::CRecord>& r) { explained = r; });
    Fill(0);
    Press("Explain");
    Press("Describe");
    EXPECT_EQ(explained, nullptr);
    EXPECT_TRUE(m_Script.OpenedPages().isEmpty());
    Fill(4);
    QTest::mouseClick(Row("RecName", 3), Qt::LeftButton);
    Press("Explain");
    EXPECT_EQ(explained, m_Records[3]);
}

TEST_F(RecordListTest, DescribeOpensThePageFromTheProgramFolderWhenItIsThere) {
    Fill(2);
    m_Records[0]->SetDescription("cat.htm");
    m_Records[1]->SetDescription("https://example.invalid/dog");
    WriteProgramFile(QStringLiteral("cat.htm"), "<p>cat</p>");
    Press("Describe");
    QTest::mouseClick(Row("RecName", 1), Qt::LeftButton);
    m_Script.QueueShellResult(false);
    Press("Describe");
    const QString inFolder = platform::InProgramFolder(QStringLiteral("cat.htm"));
    EXPECT_EQ(m_Script.OpenedPages(),
              QStringList({inFolder, QStringLiteral("https://example.invalid/dog")}));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    const auto& box = m_Script.MessageBoxes()[0];
    EXPECT_EQ(box.text, QStringLiteral("Cannot Display: https://example.invalid/dog"));
    EXPECT_EQ(box.title, QStringLiteral("Invalid"));
    EXPECT_EQ(box.icon, platform::Icon::Information);
    EXPECT_EQ(box.buttons, platform::Buttons::OK);

    m_Script.QueueShellResult(false);
    QTest::mouseClick(Row("RecName", 0), Qt::LeftButton);
    Press("Describe");
    EXPECT_EQ(m_Script.MessageTexts().last(), QStringLiteral("Cannot Display: ") + inFolder);
}

TEST_F(RecordListTest, DescribeFindsTheDefaultPageInAnyCaseAndPagesBesideTheSet) {
    Fill(2);
    m_Records[0]->SetDescription("NODESC.HTM");
    m_Records[1]->SetDescription("pages/dog.htm");
    WriteProgramFile(QStringLiteral("nodesc.htm"), "<p>no description</p>");
    QTemporaryDir kb;
    ASSERT_TRUE(QDir().mkpath(kb.filePath(QStringLiteral("pages"))));
    QFile dog(kb.filePath(QStringLiteral("pages/dog.htm")));
    ASSERT_TRUE(dog.open(QIODevice::WriteOnly));
    platform::SetQuestionSetFile(kb.filePath(QStringLiteral("pets.qst")));

    Press("Describe");
    QTest::mouseClick(Row("RecName", 1), Qt::LeftButton);
    Press("Describe");
    EXPECT_EQ(m_Script.OpenedPages(), QStringList({Path(QStringLiteral("nodesc.htm")),
                                                   kb.filePath(QStringLiteral("pages/dog.htm"))}));
    for (const QString& opened : m_Script.OpenedPages())
        EXPECT_TRUE(QFileInfo(opened).isFile()) << opened.toStdString();
    EXPECT_TRUE(m_Script.MessageBoxes().empty());
    platform::SetQuestionSetFile({});
}

// A data file from a stranger may hold a name or a page of megabytes. The list shows what
// fits in a row, cut with an ellipsis, and never lays out the rest; a page that cannot be
// opened is named by its start and its end.
TEST_F(RecordListTest, VeryLongNamesAndPagesAreShownCut) {
    Fill(3);
    std::string spaced;
    while (spaced.size() < (2u << 20))
        spaced += "LONG NAME ";
    m_Records[1]->SetName(spaced);
    m_Records[2]->SetName(std::string(2u << 20, 'W'));
    m_List.UpdateDisplay();
    EXPECT_EQ(Row("RecName", 0)->text(), QStringLiteral("REC 1"));
    for (int i : {1, 2}) {
        QLabel* name = Row("RecName", i);
        EXPECT_TRUE(name->text().endsWith(QChar(0x2026))) << i;
        EXPECT_LE(name->fontMetrics().horizontalAdvance(name->text()), name->width()) << i;
    }
    EXPECT_TRUE(Row("RecName", 1)->text().startsWith(QStringLiteral("LONG NAME LONG")));

    const std::string page = "https://example.invalid/" + std::string(2u << 20, 'x') + "/dog.htm";
    m_Records[0]->SetDescription(page);
    m_Script.QueueShellResult(false);
    Press("Describe");
    ASSERT_EQ(m_Script.MessageTexts().size(), 1);
    const QString text = m_Script.MessageTexts().front();
    EXPECT_LE(text.size(), platform::kMessageLineLimit);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot Display: https://example.invalid/xxx")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("xxx/dog.htm")));
}
