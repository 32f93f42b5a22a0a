#include "platform/PageMarkup.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

bool LaysOutQuickly(const QString& html) {
    return platform::PageMarkup::LaysOutQuickly(html);
}
QString PageText(const QString& html) {
    return platform::PageMarkup::PageText(html);
}

} // namespace

namespace {

QString Nested(const QString& open, const QString& close, int levels,
               const QString& inner = QStringLiteral("x")) {
    return open.repeated(levels) + inner + close.repeated(levels);
}

QString Repeated(const QString& piece, int times, const QString& before = {},
                 const QString& after = {}) {
    return before + piece.repeated(times) + after;
}

} // namespace

// Markup that would keep the page window laying it out for seconds or minutes, or
// overflow the stack, is told apart from a page's size; pages as people write them are not.
TEST(PageMarkup, MarkupTooDeepOrHeavyIsToldFromOrdinaryPages) {
    const QString table = QStringLiteral("<table><tr><td>");
    const QString tableEnd = QStringLiteral("</td></tr></table>");
    const struct {
        const char* what;
        QString html;
    } heavy[] = {
        {"22 nested tables", Nested(table, tableEnd, 22)},
        {"20 000 nested tables", Nested(table, tableEnd, 20000)},
        {"14 nested tables", Nested(table, tableEnd, 14)},
        {"100 000 nested divisions",
         Nested(QStringLiteral("<div>"), QStringLiteral("</div>"), 100000)},
        {"100 000 divisions never closed", Repeated(QStringLiteral("<div>x"), 100000)},
        {"50 000 nested lists",
         Nested(QStringLiteral("<ul><li>"), QStringLiteral("</li></ul>"), 50000)},
        {"a list of 50 000 items",
         Repeated(QStringLiteral("<li>item"), 50000, QStringLiteral("<ul>"))},
        {"40 000 cells without a table", Repeated(QStringLiteral("<td>x"), 40000)},
        {"a table of 40 000 rows", Repeated(QStringLiteral("<tr><td>a</td><td>b</td></tr>"), 40000,
                                            QStringLiteral("<table>"), QStringLiteral("</table>"))},
        {"100 000 bold never closed", Repeated(QStringLiteral("<b>x"), 100000)},
        {"a long text in six nested tables",
         Nested(table, tableEnd, 6, QStringLiteral("words ").repeated(20000))},
    };
    for (const auto& page : heavy) {
        EXPECT_FALSE(LaysOutQuickly(page.html)) << page.what;
    }

    const struct {
        const char* what;
        QString html;
    } ordinary[] = {
        {"a layout of four nested tables",
         Nested(QStringLiteral("<table><tr><td>menu</td><td>"), tableEnd, 4,
                QStringLiteral("<p>Some text.</p>").repeated(200))},
        {"a list of 1000 items never closed",
         Repeated(QStringLiteral("<li>item"), 1000, QStringLiteral("<ol>"))},
        {"a table of 500 rows",
         Repeated(QStringLiteral("<tr><td>a<td>b"), 500, QStringLiteral("<table>"))},
        {"5000 paragraphs never closed", Repeated(QStringLiteral("<p>Some words."), 5000)},
        {"lines broken XHTML style", Repeated(QStringLiteral("a line<br/><span/>"), 10000)},
        {"a megabyte of words", QStringLiteral("word ").repeated(200000)},
        {"markup inside a script or comment",
         QStringLiteral("<script>") + QStringLiteral("<div>").repeated(50000) +
             QStringLiteral("</script><!--") + QStringLiteral("<table>").repeated(5000) +
             QStringLiteral("-->text")},
        {"end tags without their start", Repeated(QStringLiteral("</div></table>x"), 50000)},
    };
    for (const auto& page : ordinary) {
        EXPECT_TRUE(LaysOutQuickly(page.html)) << page.what;
    }
    // The pages shipped with the programs and the sample knowledge base.
    for (const QString& folder : {QStringLiteral(CORVANE_TEST_DATA "/../../help"),
                                  QStringLiteral(CORVANE_TEST_DATA "/../../examples")}) {
        const QStringList pages = QDir(folder).entryList({QStringLiteral("*.htm")});
        ASSERT_FALSE(pages.isEmpty()) << folder.toStdString();
        for (const QString& name : pages) {
            QFile file(QDir(folder).filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_TRUE(LaysOutQuickly(QString::fromUtf8(file.readAll()))) << name.toStdString();
        }
    }
}

// A page shown as its text reads as a page would: words and lines, not markup.
TEST(PageMarkup, TheTextOfAPage) {
    EXPECT_EQ(PageText(QStringLiteral(
                  "<html><head><title>Dogs</title><style>p { color: red }</style>"
                  "<script>if (a < b) x();</script></head><body><h1>Dogs &amp; cats</h1>"
                  "<!-- not shown --><p>A dog\r\n  barks.<p>It&#39;s &lt;loud&gt;&nbsp;&#x263A;"
                  "<table><tr><td>one<td>two</table><pre>a  b\n c</pre>&bogus; 3 < 4</body>")),
              QStringLiteral("Dogs & cats\nA dog barks.\nIt's <loud>\u00a0\u263a\none\ttwo\n"
                             "a  b\n c\n&bogus; 3 < 4\n"));
    // A run of text of any length can be broken, and control characters are blanks.
    QString text = PageText(QStringLiteral("<div>").repeated(100000) + QString(1000, u'w') +
                            QChar(1) + QStringLiteral("end"));
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() || c == QChar(0x200B) ? 0 : run + 1;
        ASSERT_LE(run, 80);
    }
    EXPECT_TRUE(text.remove(QChar(0x200B)).endsWith(QString(1000, u'w') + QStringLiteral(" end")));
}
