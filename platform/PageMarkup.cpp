#include "platform/PageMarkup.h"

#include <QHash>
#include <QStringView>

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

// What laying a page out costs, in nanoseconds, measured on the page window: the markup's
// part only, since the text itself costs as much shown either way.
constexpr double kPerDepth = 30;        // each element, for each element around it
constexpr double kPerElement = 12'000;  // each element, inside n tables 2^n times
constexpr double kPerCell = 50'000;     // each table cell, likewise
constexpr double kPerListItem = 70;     // each list item, for each item before it in its list
constexpr double kPerCharInTable = 600; // each character inside tables, 2^n - 1 times
constexpr double kBudget = 400e6;
// Deeper than this, no page is laid out, whatever the estimate says.
constexpr std::size_t kMaxDepth = 1000;
constexpr int kMaxTableExponent = 60;

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u':' || c == u'_';
}

bool IsAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool OneOf(const QString& name, std::initializer_list<QLatin1StringView> names) {
    return std::any_of(names.begin(), names.end(),
                       [&name](QLatin1StringView n) { return name == n; });
}

bool IsVoid(const QString& name) {
    return OneOf(name,
                 {QLatin1StringView("br"), QLatin1StringView("img"), QLatin1StringView("hr"),
                  QLatin1StringView("meta"), QLatin1StringView("link"), QLatin1StringView("input"),
                  QLatin1StringView("area"), QLatin1StringView("base"), QLatin1StringView("col"),
                  QLatin1StringView("embed"), QLatin1StringView("param"),
                  QLatin1StringView("source"), QLatin1StringView("track"), QLatin1StringView("wbr"),
                  QLatin1StringView("frame"), QLatin1StringView("basefont"),
                  QLatin1StringView("isindex"), QLatin1StringView("keygen")});
}

bool IsList(const QString& name) {
    return OneOf(name, {QLatin1StringView("ul"), QLatin1StringView("ol"), QLatin1StringView("menu"),
                        QLatin1StringView("dir")});
}

bool IsCell(const QString& name) {
    return name == QLatin1StringView("td") || name == QLatin1StringView("th");
}

bool IsRowGroup(const QString& name) {
    return OneOf(
        name, {QLatin1StringView("thead"), QLatin1StringView("tbody"), QLatin1StringView("tfoot")});
}

// Elements whose content is no markup and not shown: passed over whole.
bool IsRawText(const QString& name) {
    return OneOf(name, {QLatin1StringView("script"), QLatin1StringView("style"),
                        QLatin1StringView("title")});
}

} // namespace

// A page's tokens: runs of text and tags, comments and declarations passed over, the
// content of scripts, style sheets and the title passed over. Every character is looked
// at a bounded number of times, whatever the markup.
class PageMarkup::Tokens {
public:
    enum class Kind { Text, Open, Close, End };
    struct Token {
        Kind kind = Kind::End;
        QStringView text;    // Text
        QString name;        // Open and Close, in lower case
        bool closes = false; // Open: written as "<name ... />"
    };

    explicit Tokens(const QString& html) : m_Html(html) {}

    Token Next() {
        const qsizetype size = m_Html.size();
        while (m_Pos < size) {
            if (m_Html.at(m_Pos) != u'<') {
                return TextUntilTag(m_Pos);
            }
            const QStringView rest = QStringView(m_Html).mid(m_Pos);
            if (rest.startsWith(QLatin1StringView("<!--"))) {
                SkipPast(QStringLiteral("-->"), m_Pos + 4);
                continue;
            }
            qsizetype p = m_Pos + 1;
            if (p < size && (m_Html.at(p) == u'!' || m_Html.at(p) == u'?')) {
                SkipPast(QStringLiteral(">"), p);
                continue;
            }
            const bool closing = p < size && m_Html.at(p) == u'/';
            p += closing ? 1 : 0;
            if (p >= size || !IsAsciiLetter(m_Html.at(p))) {
                return TextUntilTag(m_Pos + 1, m_Pos); // a "<" that starts no tag is text
            }
            Token token;
            token.kind = closing ? Kind::Close : Kind::Open;
            const qsizetype nameAt = p;
            while (p < size && IsNameChar(m_Html.at(p))) {
                ++p;
            }
            token.name = m_Html.mid(nameAt, p - nameAt).toLower();
            // The attributes, up to the ">" that is not inside quotes.
            QChar quote;
            QChar last;
            while (p < size) {
                const QChar c = m_Html.at(p);
                if (!quote.isNull()) {
                    quote = c == quote ? QChar() : quote;
                } else if (c == u'"' || c == u'\'') {
                    quote = c;
                } else if (c == u'>') {
                    break;
                } else if (!c.isSpace()) {
                    last = c;
                }
                ++p;
            }
            token.closes = last == u'/';
            m_Pos = std::min(size, p + 1);
            if (token.kind == Kind::Open && !token.closes && IsRawText(token.name)) {
                SkipPast(QStringLiteral("</") + token.name, m_Pos);
                SkipPast(QStringLiteral(">"), m_Pos);
            }
            return token;
        }
        return {};
    }

private:
    Token TextUntilTag(qsizetype searchFrom, qsizetype start = -1) {
        start = start < 0 ? m_Pos : start;
        qsizetype end = m_Html.indexOf(u'<', searchFrom);
        end = end < 0 ? m_Html.size() : end;
        Token token;
        token.kind = Kind::Text;
        token.text = QStringView(m_Html).mid(start, end - start);
        m_Pos = end;
        return token;
    }

    void SkipPast(const QString& end, qsizetype from) {
        const qsizetype at = m_Html.indexOf(end, from, Qt::CaseInsensitive);
        m_Pos = at < 0 ? m_Html.size() : at + end.size();
    }

    const QString& m_Html;
    qsizetype m_Pos = 0;
};

// The elements open at a point of the page, as the page window nests them: a paragraph,
// list item or option ends where the next one of its kind begins, a cell or row goes into
// the row or table around it (one of its own is made when there is none), and an end tag
// closes the nearest element of its name and all inside it, or nothing.
class PageMarkup::OpenElements {
public:
    struct Element {
        QString name;
        int items = 0; // a list's items so far
    };

    std::size_t Depth() const { return m_Stack.size(); }
    int Tables() const { return Count(QStringLiteral("table")); }
    const QString& Top() const { return m_Stack.back().name; }
    bool Empty() const { return m_Stack.empty(); }
    int Count(const QString& name) const { return m_Counts.value(name); }

    // Opens name, closing first what it ends. The number of items its list had before
    // it, for a list item.
    int Open(const QString& name) {
        if (!m_Stack.empty() &&
            OneOf(name,
                  {QLatin1StringView("p"), QLatin1StringView("li"), QLatin1StringView("option"),
                   QLatin1StringView("dt"), QLatin1StringView("dd")}) &&
            (Top() == name ||
             ((name == QLatin1StringView("dt") || name == QLatin1StringView("dd")) &&
              (Top() == QLatin1StringView("dt") || Top() == QLatin1StringView("dd"))))) {
            Pop();
        }
        if (IsCell(name)) {
            if (Count(QStringLiteral("tr")) > 0) {
                CloseAbove({QLatin1StringView("tr")});
            } else {
                Push(QStringLiteral("table"));
                Push(QStringLiteral("tr"));
            }
        } else if (name == QLatin1StringView("tr") || IsRowGroup(name)) {
            const bool grouped =
                name == QLatin1StringView("tr") &&
                (Count(QStringLiteral("thead")) > 0 || Count(QStringLiteral("tbody")) > 0 ||
                 Count(QStringLiteral("tfoot")) > 0);
            if (Tables() > 0 || grouped) {
                CloseAbove(
                    name == QLatin1StringView("tr")
                        ? std::initializer_list<QLatin1StringView>{QLatin1StringView("table"),
                                                                   QLatin1StringView("thead"),
                                                                   QLatin1StringView("tbody"),
                                                                   QLatin1StringView("tfoot")}
                        : std::initializer_list<QLatin1StringView>{QLatin1StringView("table")});
            } else {
                Push(QStringLiteral("table"));
            }
        }
        int before = 0;
        if (name == QLatin1StringView("li")) {
            int& items = m_Lists.empty() ? m_LooseItems : m_Stack[m_Lists.back()].items;
            before = items++;
        }
        Push(name);
        return before;
    }

    void Close(const QString& name) {
        if (Count(name) == 0) {
            return;
        }
        while (Top() != name) {
            Pop();
        }
        Pop();
    }

private:
    void Push(const QString& name) {
        if (IsList(name)) {
            m_Lists.push_back(m_Stack.size());
        }
        m_Stack.push_back({name, 0});
        ++m_Counts[name];
    }
    void Pop() {
        if (!m_Lists.empty() && m_Lists.back() + 1 == m_Stack.size()) {
            m_Lists.pop_back();
        }
        --m_Counts[m_Stack.back().name];
        m_Stack.pop_back();
    }
    // Closes what is inside the nearest element of one of names.
    void CloseAbove(std::initializer_list<QLatin1StringView> names) {
        while (!m_Stack.empty() && !OneOf(Top(), names)) {
            Pop();
        }
    }

    std::vector<Element> m_Stack;
    std::vector<std::size_t> m_Lists; // where the lists stand in m_Stack
    QHash<QString, int> m_Counts;
    int m_LooseItems = 0; // list items outside any list
};

namespace {

bool IsBlock(const QString& name) {
    return OneOf(
        name,
        {QLatin1StringView("p"),      QLatin1StringView("div"),     QLatin1StringView("br"),
         QLatin1StringView("li"),     QLatin1StringView("tr"),      QLatin1StringView("table"),
         QLatin1StringView("ul"),     QLatin1StringView("ol"),      QLatin1StringView("dl"),
         QLatin1StringView("dt"),     QLatin1StringView("dd"),      QLatin1StringView("blockquote"),
         QLatin1StringView("pre"),    QLatin1StringView("hr"),      QLatin1StringView("h1"),
         QLatin1StringView("h2"),     QLatin1StringView("h3"),      QLatin1StringView("h4"),
         QLatin1StringView("h5"),     QLatin1StringView("h6"),      QLatin1StringView("address"),
         QLatin1StringView("center"), QLatin1StringView("form"),    QLatin1StringView("caption"),
         QLatin1StringView("body"),   QLatin1StringView("section"), QLatin1StringView("article"),
         QLatin1StringView("header"), QLatin1StringView("footer"),  QLatin1StringView("nav"),
         QLatin1StringView("aside"),  QLatin1StringView("menu"),    QLatin1StringView("dir")});
}

// The character an entity stands for ("" when it is none this knows), and its length.
QString Entity(QStringView text, qsizetype& length) {
    length = 0;
    const qsizetype semi = text.left(34).indexOf(u';');
    if (semi < 2) {
        return {};
    }
    const QStringView name = text.mid(1, semi - 1);
    char32_t code = 0;
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X');
        const uint value = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return {};
        }
        code = value;
    } else {
        static const QHash<QString, char32_t> names = {
            {QStringLiteral("amp"), U'&'},     {QStringLiteral("lt"), U'<'},
            {QStringLiteral("gt"), U'>'},      {QStringLiteral("quot"), U'"'},
            {QStringLiteral("apos"), U'\''},   {QStringLiteral("nbsp"), 0xA0},
            {QStringLiteral("copy"), 0xA9},    {QStringLiteral("reg"), 0xAE},
            {QStringLiteral("trade"), 0x2122}, {QStringLiteral("hellip"), 0x2026},
            {QStringLiteral("mdash"), 0x2014}, {QStringLiteral("ndash"), 0x2013},
            {QStringLiteral("laquo"), 0xAB},   {QStringLiteral("raquo"), 0xBB},
            {QStringLiteral("eacute"), 0xE9},  {QStringLiteral("egrave"), 0xE8},
            {QStringLiteral("agrave"), 0xE0},  {QStringLiteral("ccedil"), 0xE7},
            {QStringLiteral("uuml"), 0xFC},    {QStringLiteral("ouml"), 0xF6},
            {QStringLiteral("auml"), 0xE4},    {QStringLiteral("szlig"), 0xDF},
            {QStringLiteral("euro"), 0x20AC},  {QStringLiteral("deg"), 0xB0},
        };
        const auto found = names.constFind(name.toString());
        if (found == names.constEnd()) {
            return {};
        }
        code = *found;
    }
    length = semi + 1;
    return QString::fromUcs4(&code, 1);
}

} // namespace

// Builds the text: blanks run together, one line end between blocks, a zero-width
// space where a run of text grows past kMaxRun.
class PageMarkup::TextOut {
public:
    static constexpr qsizetype kMaxRun = 80;

    void Add(QStringView text, bool keepBlanks) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            QChar c = text.at(i);
            if (c == u'&') {
                qsizetype length = 0;
                const QString character = Entity(text.mid(i), length);
                if (length > 0) {
                    for (const QChar d : character) {
                        Put(d, keepBlanks);
                    }
                    i += length - 1;
                    continue;
                }
            }
            Put(c, keepBlanks);
        }
    }
    void LineEnd() {
        m_Blank = false;
        if (m_Out.isEmpty() || m_Out.endsWith(u'\n')) {
            return;
        }
        m_Out += u'\n';
        m_Run = 0;
    }
    void Tab() {
        if (!m_Out.isEmpty() && !m_Out.endsWith(u'\n')) {
            m_Out += u'\t';
            m_Run = 0;
            m_Blank = false;
        }
    }
    QString Take() { return std::move(m_Out); }

private:
    void Put(QChar c, bool keepBlanks) {
        if (c == u'\r') {
            return;
        }
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n') {
            c = u' ';
        }
        if (c == u'\n' && keepBlanks) {
            m_Out += c;
            m_Run = 0;
            return;
        }
        // Only the blanks of markup run together; a no-break space stays.
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\f') {
            if (keepBlanks) {
                m_Out += c;
            } else {
                m_Blank = !m_Out.isEmpty() && !m_Out.endsWith(u'\n') && !m_Out.endsWith(u'\t');
            }
            m_Run = 0;
            return;
        }
        if (m_Blank) {
            m_Out += u' ';
            m_Blank = false;
        }
        if (++m_Run > kMaxRun && !c.isLowSurrogate()) {
            m_Out += QChar(0x200B);
            m_Run = 1;
        }
        m_Out += c;
    }

    QString m_Out;
    qsizetype m_Run = 0;
    bool m_Blank = false; // a blank waits to go before the next character
};

bool PageMarkup::LaysOutQuickly(const QString& html) {
    Tokens tokens(html);
    OpenElements open;
    double cost = 0;
    for (;;) {
        const Tokens::Token token = tokens.Next();
        if (token.kind == Tokens::Kind::End) {
            return true;
        }
        if (token.kind == Tokens::Kind::Close) {
            open.Close(token.name);
            continue;
        }
        const double inTables = std::ldexp(1.0, std::min(open.Tables(), kMaxTableExponent));
        if (token.kind == Tokens::Kind::Text) {
            cost += kPerCharInTable * (inTables - 1) * static_cast<double>(token.text.size());
        } else if (token.closes || IsVoid(token.name)) {
            cost += kPerElement * inTables;
        } else {
            const int itemsBefore = open.Open(token.name);
            const double tables = std::ldexp(1.0, std::min(open.Tables(), kMaxTableExponent));
            cost += kPerDepth * static_cast<double>(open.Depth()) + kPerElement * tables +
                    (IsCell(token.name) ? kPerCell * tables / 2 : 0) + kPerListItem * itemsBefore;
            if (open.Depth() > kMaxDepth) {
                return false;
            }
        }
        if (cost > kBudget) {
            return false;
        }
    }
}

QString PageMarkup::PageText(const QString& html) {
    Tokens tokens(html);
    TextOut out;
    int preformatted = 0;
    for (;;) {
        const Tokens::Token token = tokens.Next();
        switch (token.kind) {
        case Tokens::Kind::End:
            return out.Take();
        case Tokens::Kind::Text:
            out.Add(token.text, preformatted > 0);
            break;
        case Tokens::Kind::Open:
        case Tokens::Kind::Close:
            if (token.name == QLatin1StringView("pre") && !token.closes) {
                preformatted =
                    std::max(0, preformatted + (token.kind == Tokens::Kind::Open ? 1 : -1));
            }
            if (IsCell(token.name) && token.kind == Tokens::Kind::Open) {
                out.Tab();
            } else if (IsBlock(token.name)) {
                out.LineEnd();
            }
            break;
        }
    }
}

} // namespace platform
