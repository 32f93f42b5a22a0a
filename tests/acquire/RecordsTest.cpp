#include "DroskFixture.h"

#include "kb/DataFileReader.h"

#include <QDir>

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

std::vector<QSpec> Animals() {
    return {{"Size?", 0, {"Small", "Large"}}, {"Colours?", 1, {"Red", "Green"}}};
}

} // namespace

// New, Load and Delete keep the records, the count and the name list in step.

TEST_F(DroskTest, NewRecordsFillSlotZeroThenAppendAndNamesMayRepeat) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    NewRecord(QStringLiteral("cat"), "CancelBtn");
    EXPECT_EQ(NameBox()->count(), 0);
    NewRecord(QStringLiteral("cat"));
    Check(1)->click();
    NewRecord(QStringLiteral("dog"));
    NewRecord(QStringLiteral("cat"));
    EXPECT_EQ(ListNames(), QStringList({"CAT", "DOG", "CAT"}));
    EXPECT_EQ(NameBox()->currentText(), QStringLiteral("CAT"));
    EXPECT_EQ(NameBox()->currentIndex(), 2);
    EXPECT_EQ(m_Main->Records().size(), 3u);
    // The new record is chosen at question 1 with neutral responses.
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_FALSE(Check(1)->isChecked());
    EXPECT_EQ(Held(2, 1), kNeutral);

    // Load and Delete by a repeated name act on the first record of that name.
    LoadRecord(QStringLiteral("CAT"));
    EXPECT_TRUE(Check(1)->isChecked());
    DeleteRecord(QStringLiteral("CAT"), Answer::Yes);
    EXPECT_EQ(ListNames(), QStringList({"DOG", "CAT"}));
    EXPECT_EQ(Held(1, 1), kNeutral);
    EXPECT_EQ(Messages(), QStringList({"Delete Record : CAT"}));
}

TEST_F(DroskTest, RecordNameHoldingAClosingBracketIsRefused) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    QString kept;
    WithDialog("NewRecord", [&kept](QDialog* dialog) {
        auto* box = testsupport::Control<QLineEdit>(dialog, "RecordName");
        testsupport::TypeKeys(box, QStringLiteral("cat]x"));
        auto* ok = testsupport::Control<QPushButton>(dialog, "OKBtn");
        QTest::mouseClick(ok, Qt::LeftButton); // refused: the dialog stays with the text
        kept = box->text();
        box->clear();
        testsupport::TypeKeys(box, QStringLiteral("[cat"));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(kept, QStringLiteral("CAT]X"));
    EXPECT_EQ(Messages(), QStringList({"A record name cannot contain \"]\""}));
    EXPECT_EQ(ListNames(), QStringList({"[CAT"}));
    Click("SaveRecord");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_TRUE(ReadFile(QStringLiteral("a.dat")).startsWith("[[CAT]\r\n"));
}

TEST_F(DroskTest, LoadAndDeleteRefuseEmptyAndUnknownNames) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    LoadRecord(QString());
    DeleteRecord(QString(), Answer::Yes);
    LoadRecord(QStringLiteral("CAT")); // no record at all yet
    NewRecord(QStringLiteral("cat"));
    Check(0)->click();
    LoadRecord(QStringLiteral("Cat")); // names compare exactly
    DeleteRecord(QStringLiteral("cat"), Answer::Yes);

    const struct {
        const char* text;
        Icon icon;
        const char* title;
    } expected[] = {{"Select or Create a Record First", Icon::Exclamation, "Error"},
                    {"Select a Record to delete First", Icon::Exclamation, "Error"},
                    {"Couldn't Load 'CAT'", Icon::Information, "Drosk"},
                    {"Couldn't Load 'Cat'", Icon::Information, "Drosk"},
                    {"Couldn't Delete 'cat'", Icon::Information, "Drosk"}};
    ASSERT_EQ(m_Script.MessageBoxes().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& box = m_Script.MessageBoxes()[i];
        EXPECT_EQ(box.text, QString::fromLatin1(expected[i].text));
        EXPECT_EQ(box.icon, expected[i].icon) << i;
        EXPECT_EQ(box.title, QString::fromLatin1(expected[i].title));
        EXPECT_EQ(box.buttons, Buttons::OK);
    }
    // The Yes queued for the refused deletion was never asked for; the record is whole.
    EXPECT_EQ(ListNames(), QStringList({"CAT"}));
    EXPECT_TRUE(Check(0)->isChecked());
}

// The name box takes the name as typed: no completion from the list puts another
// record's name in its place.
TEST_F(DroskTest, TypedNameIsUsedAsTyped) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    NewRecord(QStringLiteral("catfish"));
    NewRecord(QStringLiteral("cat"));
    Check(1)->click(); // CAT chooses Large
    NameBox()->setEditText(QString());
    // Offscreen windows never gain focus; a line edit offers completion only while it has it.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(NameBox()->lineEdit(), &focusIn);
    QTest::keyClicks(NameBox(), QStringLiteral("CA"));
    EXPECT_EQ(NameBox()->currentText(), QStringLiteral("CA"));
    Click("LoadRecord");
    QTest::keyClicks(NameBox(), QStringLiteral("T"));
    EXPECT_EQ(NameBox()->currentText(), QStringLiteral("CAT"));
    Click("LoadRecord");
    EXPECT_TRUE(Check(1)->isChecked()); // CAT, not CATFISH
    EXPECT_EQ(Messages(), QStringList({"Couldn't Load 'CA'"}));
}

// A record is found by its whole name or its place in the list, never by a cut copy of its
// name. Two names alike in their first 32767 characters, the most a text box holds: each
// list item loads and deletes its own record (a name too long for the files is passed
// over on loading, and said).
TEST_F(DroskTest, EachListItemLoadsAndDeletesItsOwnRecord) {
    const QByteArray name(32767, 'X');
    const Levels small = {10, -10, -10, -10, -10, -10, -10, -10, -10};
    const Levels large = {-10, 10, -10, -10, -10, -10, -10, -10, -10};
    WriteFile(QStringLiteral("a.dat"), "[" + name + "]\r\n" + QuestionLine(1, small) + "\r\n[" +
                                           name + "TAIL]\r\n" + QuestionLine(1, large) + "\r\n[" +
                                           name + "X]\r\n" + QuestionLine(1, large));
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    const int items = NameBox()->count();
    ASSERT_EQ(static_cast<std::size_t>(items), m_Main->Records().size());
    for (int i = items - 1; i >= 0; --i) {
        SCOPED_TRACE(i);
        Choose(i);
        Click("LoadRecord");
        EXPECT_EQ(Check(0)->isChecked(), Held(i, 1) == small) << "another record's answers";
        EXPECT_EQ(Check(1)->isChecked(), Held(i, 1) == large) << "another record's answers";
    }
    for (int i = items - 1; i >= 0; --i) {
        const std::string kept = i > 0 ? m_Main->Records()[0]->GetName() : std::string();
        Choose(i);
        m_Script.QueueAnswer(Answer::Yes);
        Click("DeleteRecord");
        ASSERT_EQ(NameBox()->count(), i);
        if (i > 0) {
            EXPECT_EQ(m_Main->Records()[0]->GetName(), kept) << "deleted the wrong record";
        }
    }
    EXPECT_TRUE(Messages().first().startsWith(QStringLiteral("Part of the data file")));
    EXPECT_FALSE(Messages().join(u'\n').contains(QStringLiteral("Couldn't")));
}

// Long names are shown abridged, so the list opens at once; two that differ only where the
// list leaves out are still two records, picked by their place. A name typed is taken
// whole: a cut copy of a name names no record.
TEST_F(DroskTest, LongNamesAreAbridgedAndPickedByTheirPlace) {
    const QByteArray start(20000, 'A');
    const QByteArray end(10000, 'Z');
    const Levels small = {10, -10, -10, -10, -10, -10, -10, -10, -10};
    const Levels large = {-10, 10, -10, -10, -10, -10, -10, -10, -10};
    WriteFile(QStringLiteral("a.dat"), "[" + start + "1" + end + "]\r\n" + QuestionLine(1, small) +
                                           "[" + start + "2" + end + "]\r\n" +
                                           QuestionLine(1, large) + "[SHORT]\r\n");
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    ASSERT_EQ(NameBox()->count(), 3);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_LE(NameBox()->itemText(0).size(), 100);
    EXPECT_EQ(NameBox()->itemText(0), NameBox()->itemText(1));
    EXPECT_TRUE(NameBox()->itemText(0).startsWith(QStringLiteral("AAAA")));
    EXPECT_TRUE(NameBox()->itemText(0).endsWith(QStringLiteral("ZZZZ")));
    EXPECT_EQ(NameBox()->itemText(2), QStringLiteral("SHORT"));

    Choose(1);
    Click("LoadRecord");
    EXPECT_TRUE(Check(1)->isChecked());
    Choose(0);
    Click("LoadRecord");
    EXPECT_TRUE(Check(0)->isChecked());

    // Picked, then the text edited: the text as typed is looked for.
    Choose(1);
    QTest::keyClick(NameBox()->lineEdit(), Qt::Key_End);
    QTest::keyClicks(NameBox()->lineEdit(), QStringLiteral("Q"));
    Click("LoadRecord");
    EXPECT_TRUE(Messages().last().startsWith(QStringLiteral("Couldn't Load '")));

    Pick(QString::fromLatin1(start + "2" + end));
    Click("LoadRecord");
    EXPECT_TRUE(Check(1)->isChecked()) << "the whole name typed";
    const auto shown = Messages().size();
    Pick(QString::fromLatin1(start + "2" + end.left(5000)));
    Click("LoadRecord");
    ASSERT_EQ(Messages().size(), shown + 1);

    Choose(1);
    m_Script.QueueAnswer(Answer::Yes);
    Click("DeleteRecord");
    EXPECT_TRUE(
        m_Script.MessageBoxes().back().text.startsWith(QStringLiteral("Delete Record : AAAA")));
    ASSERT_EQ(m_Main->Records().size(), 2u);
    EXPECT_EQ(m_Main->Records()[0]->GetName(), (start + "1" + end).toStdString());
    EXPECT_EQ(m_Main->Records()[1]->GetName(), "SHORT");
}

TEST_F(DroskTest, DeletingAsksAndLeavesNoRecordChosen) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    NewRecord(QStringLiteral("cat"));
    NewRecord(QStringLiteral("dog"));
    Click("NextBtn");
    Step(0, 1);

    DeleteRecord(QStringLiteral("CAT"), Answer::No);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    const auto& ask = m_Script.MessageBoxes()[0];
    EXPECT_EQ(ask.text, QStringLiteral("Delete Record : CAT"));
    EXPECT_EQ(ask.buttons, Buttons::YesNo);
    EXPECT_EQ(ask.icon, Icon::None);
    EXPECT_EQ(ask.title, QStringLiteral("Confirm"));
    EXPECT_EQ(ListNames(), QStringList({"CAT", "DOG"}));
    EXPECT_EQ(Ind(0)->text(), QStringLiteral("Perhaps"));
    EXPECT_TRUE(Slider(0)->isEnabled());

    // Deleting a record other than the one chosen still leaves none chosen.
    DeleteRecord(QStringLiteral("CAT"), Answer::Yes);
    EXPECT_EQ(ListNames(), QStringList({"DOG"}));
    EXPECT_EQ(NameBox()->currentText(), QStringLiteral("CAT"));
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(Ind(0)->text(), QStringLiteral("Neutral"));
    EXPECT_EQ(Label("m_Options(0)")->text(), QString());
    EXPECT_FALSE(Slider(0)->isEnabled());
    EXPECT_FALSE(Slider(2)->isVisible());
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    Click("DescribeRecord");
    EXPECT_EQ(Messages().last(), QStringLiteral("Select or Create a Record to Describe"));
    EXPECT_EQ(m_Script.MessageBoxes().back().icon, Icon::Exclamation);
    EXPECT_EQ(m_Script.MessageBoxes().back().title, QStringLiteral("Drosk"));

    // The dog kept its answer; deleting it leaves the empty slot and an empty base.
    LoadRecord(QStringLiteral("DOG"));
    EXPECT_EQ(Held(0, 2)[0], 5);
    DeleteRecord(QStringLiteral("DOG"), Answer::Yes);
    EXPECT_EQ(NameBox()->count(), 0);
    ASSERT_EQ(m_Main->Records().size(), 1u);
    EXPECT_EQ(m_Main->Records()[0], nullptr);
    Item("ViewRecordsMenu")->trigger();
    EXPECT_EQ(Messages().last(), QStringLiteral("This database is currently empty"));
    EXPECT_EQ(m_Script.MessageBoxes().back().title, QStringLiteral("Info"));
    EXPECT_EQ(m_Script.MessageBoxes().back().icon, Icon::Information);
    NewRecord(QStringLiteral("emu"));
    EXPECT_EQ(ListNames(), QStringList({"EMU"}));
    EXPECT_EQ(m_Main->Records().size(), 1u);
}

// Describe: the current record's page, never one the data file would misread.

TEST_F(DroskTest, DescribeSetsTheCurrentRecordsPage) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    NewRecord(QStringLiteral("cat"));
    NewRecord(QStringLiteral("dog"));
    Pick(QStringLiteral("CAT")); // the name box does not matter: DOG is current
    Describe({QStringLiteral("dog.htm")});
    Describe({QStringLiteral("other.htm")}, "CancelBtn");
    Describe({QStringLiteral("[x] page"), QStringLiteral("[x page")});
    EXPECT_EQ(seenPages, QStringList({"nodesc.htm", "dog.htm", "dog.htm", "[x] page"}));
    EXPECT_EQ(Messages(), QStringList({"A description page cannot contain both \"[\" and \"]\""}));
    EXPECT_EQ(m_Main->Records()[1]->GetDescription(), "[x page");
    EXPECT_EQ(m_Main->Records()[0]->GetDescription(), "nodesc.htm");
}

// Save: the data file beside the question set, written whole or reported.

TEST_F(DroskTest, SaveWritesEveryRecordAndNamesTheFile) {
    MakeMain();
    Load(WriteSet(QStringLiteral("pets.qst"), Animals()));
    NewRecord(QStringLiteral("cat"));
    Check(1)->click();
    Click("NextBtn");
    Step(0, 1);
    Step(1, -2);
    Describe({QStringLiteral("cat.htm")});
    NewRecord(QStringLiteral("dog"));
    Item("SaveRecordsMenu")->trigger();
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(ReadFile(QStringLiteral("pets.dat")),
              "[CAT]\r\n" + QuestionLine(1, {-10, 10, -10, -10, -10, -10, -10, -10, -10}) +
                  QuestionLine(2, {5, -10, 0, 0, 0, 0, 0, 0, 0}) +
                  "RecordDescription=cat.htm\r\n\r\n"
                  "[DOG]\r\n" +
                  QuestionLine(1, kNeutral) + QuestionLine(2, kNeutral) +
                  "RecordDescription=nodesc.htm\r\n\r\n");
    // The notice named the data file by its full path.
    auto* notice = m_Main->findChild<QDialog*>(QStringLiteral("SavedMsg"));
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isVisible());
    bool named = false;
    for (QLabel* label : notice->findChildren<QLabel*>())
        named = named || label->text() == Path(QStringLiteral("pets.dat"));
    EXPECT_TRUE(named);
}

TEST_F(DroskTest, FailedSaveIsReportedAndTheRecordsStay) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    ASSERT_TRUE(QDir(m_Folder.path()).mkpath(QStringLiteral("a.dat/inside")));
    NewRecord(QStringLiteral("cat"));
    Check(0)->click();
    m_Script.QueueAnswer(Answer::Yes); // the folder appeared since loading: save all the same
    Click("SaveRecord");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 2u);
    const auto& box = m_Script.MessageBoxes()[1];
    EXPECT_EQ(box.text, QStringLiteral("Cannot Save Records To ") + Path(QStringLiteral("a.dat")) +
                            QStringLiteral("\nIs a directory."));
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.title, QStringLiteral("Drosk"));
    EXPECT_EQ(m_Main->findChild<QDialog*>(QStringLiteral("SavedMsg")), nullptr);
    EXPECT_EQ(ListNames(), QStringList({"CAT"}));
    EXPECT_EQ(Held(0, 1)[0], 10);
    EXPECT_TRUE(Check(0)->isChecked());
}

TEST_F(DroskTest, SaveWithNoRecordLeftDeletesTheDataFileSilently) {
    WriteFile(QStringLiteral("a.dat"), "[CAT]\r\nRecordDescription=nodesc.htm\r\n\r\n");
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    DeleteRecord(QStringLiteral("CAT"), Answer::Yes);
    Click("SaveRecord");
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("a.dat"))));
    Click("SaveRecord"); // nothing to delete: nothing at all happens
    EXPECT_EQ(Messages(), QStringList({"Delete Record : CAT"}));
    EXPECT_EQ(m_Main->findChild<QDialog*>(QStringLiteral("SavedMsg")), nullptr);
}

// View: the records in array order, without scores.

TEST_F(DroskTest, ViewListsTheRecordsInOrder) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), Animals()));
    for (const char* name : {"cat", "dog", "emu"})
        NewRecord(QString::fromLatin1(name));
    Click("ViewRecordsBtn");
    consult::RecordDisplayer* list = m_Main->RecordList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->parentWidget(), nullptr);
    QStringList shown;
    for (int i = 0; i < 4; ++i)
        shown << Get<QLabel>(list, QStringLiteral("RecName(%1)").arg(i))->text();
    EXPECT_EQ(shown, QStringList({"CAT", "DOG", "EMU", ""}));
    EXPECT_FALSE(Get<QWidget>(list, QStringLiteral("ConfLabel"))->isVisible());
    EXPECT_FALSE(Get<QWidget>(list, QStringLiteral("Explain"))->isVisible());
}

// Wordings, options, names and paths come from files and typing: shown as written, never
// taken for markup.
TEST_F(DroskTest, TextsFromFilesShowAsWritten) {
    MakeMain();
    Load(WriteSet(QStringLiteral("<i>a.qst"),
                  {{"Pick <small>one</small>", 0, {"<i>Small</i>", "Large"}}}));
    NewRecord(QStringLiteral("<b>cat</b>"));
    Click("ViewRecordsBtn");
    Click("SaveRecord");
    ASSERT_NE(m_Main->RecordList(), nullptr);
    const struct {
        QLabel* label;
        const char* text;
    } rows[] = {
        {Label(QStringLiteral("theQuestion")), "Pick <small>one</small>"},
        {Label(QStringLiteral("m_Options(0)")), "<i>Small</i>"},
        {Get<QLabel>(m_Main->RecordList(), QStringLiteral("RecName(0)")), "<B>CAT</B>"},
        {Label(QStringLiteral("FilenameLabel")), nullptr},
    };
    for (const auto& row : rows) {
        ASSERT_NE(row.label, nullptr);
        if (row.text) {
            EXPECT_EQ(row.label->text(), QString::fromLatin1(row.text));
        }
        EXPECT_EQ(row.label->textFormat(), Qt::PlainText) << row.label->objectName().toStdString();
    }
}

// The data file counts records in 16 bits.

TEST_F(DroskTest, NoRecordBeyondTheMostADataFileHolds) {
    const QString set = WriteSet(QStringLiteral("full.qst"), {{"Q?", 0, {"A", "B"}}});
    QByteArray full;
    const int most = kb::DataFileReader::kMaxRecords;
    full.reserve(most * 24);
    for (int i = 0; i < most; ++i)
        full += "[R" + QByteArray::number(i) + "]\r\n";
    WriteFile(QStringLiteral("full.dat"), full);
    MakeMain();
    Load(set);
    ASSERT_EQ(NameBox()->count(), most);
    Click("NewRecord"); // refused before the name dialog opens
    EXPECT_EQ(Messages(),
              QStringList({"A data file holds at most 32767 records: delete a record before "
                           "creating another"}));
    EXPECT_EQ(NameBox()->count(), most);
    EXPECT_EQ(m_Main->findChild<QDialog*>(QStringLiteral("RecordDlg")), nullptr);
    DeleteRecord(QStringLiteral("R5"), Answer::Yes);
    NewRecord(QStringLiteral("last"));
    EXPECT_EQ(NameBox()->itemText(most - 1), QStringLiteral("LAST"));
}
