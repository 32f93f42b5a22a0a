#pragma once

// How long a page's markup takes to lay out, judged from the markup alone, and the page's
// text without it. The page window lays out a page whole before it shows anything, and
// some markup costs far more than its size: each level of nested tables doubles the time,
// deep nesting of any element and long lists grow with the square of their size, and
// twenty thousand nested tables overflow the stack. Such a page is shown as its text.

#include <QString>

namespace platform {

class PageMarkup {
public:
    // Whether the page is laid out within about half a second on an ordinary machine and
    // nests no deeper than the window can take. The estimate follows the markup as the
    // page window reads it (elements a tag ends without saying so, cells and rows that open
    // their own tables), in one pass over the page.
    static bool LaysOutQuickly(const QString& html);

    // The page's text as plain text: no tags, comments, scripts or style sheets; entities
    // written out; blanks run together except in preformatted text; a line end where a
    // block ends and a tab between cells; control characters as blanks; and a zero-width
    // space at least every 80 characters of text without a blank, so no line takes long
    // to lay out.
    static QString PageText(const QString& html);

private:
    class Tokens;       // the tags and text of a page
    class OpenElements; // the elements open at a point of it
    class TextOut;      // its text as it is written out
};

} // namespace platform
