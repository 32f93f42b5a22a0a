#include "consult/Explanation.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// Questions long enough in number and wording to need both scroll bars; records made
// afterwards are sized for them.
kb::QuestionArray LongSet(int count) {
    kb::g_NumQuestions = static_cast<std::int16_t>(count);
    kb::QuestionArray questions;
    for (int q = 0; q < count; ++q) {
        auto question = std::make_shared<kb::CQuestion>();
        question->SetUserQ("Question " + std::to_string(q + 1) + " with a wording " +
                           std::string(90, 'w'));
        question->AddOption("Small");
        question->AddOption("Large");
        question->SetAnswered(q % 2 == 0);
        questions.push_back(question);
    }
    return questions;
}

std::shared_ptr<kb::CRecord> Named(const std::string& name) {
    auto record = std::make_shared<kb::CRecord>();
    record->SetName(name);
    return record;
}

} // namespace

// Whoever explains one record after another reads each from its first line: the list must
// not keep the place the reader had scrolled to in the last one, whether the window stayed
// open or was closed with Exit in between.
TEST(ExplanationRefill, OpensEachRecordAtItsFirstLine) {
    const kb::QuestionArray questions = LongSet(40);
    consult::Explanation window;
    auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
    ASSERT_NE(list, nullptr);

    window.Initialise(nullptr, questions, Named("FIRST"));
    window.show();
    QCoreApplication::processEvents();
    ASSERT_GT(list->verticalScrollBar()->maximum(), 0);
    ASSERT_GT(list->horizontalScrollBar()->maximum(), 0);

    const auto scrollToEnd = [list] {
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
        list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
        QCoreApplication::processEvents();
        ASSERT_GT(list->verticalScrollBar()->value(), 0);
    };
    const auto expectFirstLine = [list, &window](const char* how) {
        QCoreApplication::processEvents();
        EXPECT_EQ(list->verticalScrollBar()->value(), 0) << how;
        EXPECT_EQ(list->horizontalScrollBar()->value(), 0) << how;
        EXPECT_EQ(list->indexAt(QPoint(2, 2)).row(), 0) << how;
        EXPECT_TRUE(window.isVisible()) << how;
    };

    scrollToEnd();
    window.Initialise(nullptr, questions, Named("SECOND"));
    expectFirstLine("refilled while open");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Selected Record = SECOND"));

    scrollToEnd();
    window.hide();
    window.Initialise(nullptr, questions, Named("THIRD"));
    window.show();
    expectFirstLine("refilled while hidden");
}

// A name of megabytes is abridged in the caption as in a message box: its start and its
// end around an ellipsis.
TEST(ExplanationRefill, ALongNameIsAbridgedInTheCaption) {
    const kb::QuestionArray questions = LongSet(2);
    consult::Explanation window;
    const std::string name = "START" + std::string(std::size_t{4} << 20, 'N') + "END";
    window.Initialise(nullptr, questions, Named(name));
    const QString title = window.windowTitle();
    EXPECT_LE(title.size(), 450);
    EXPECT_TRUE(title.startsWith(QStringLiteral("Selected Record = STARTNNN")));
    EXPECT_TRUE(title.endsWith(QStringLiteral("NNN") + QStringLiteral("END")));
    EXPECT_TRUE(title.contains(QChar(0x2026)));
}
