#pragma once

#include <cstddef>
#include <string_view>

namespace kb {

// Splits the raw bytes of a question set or data file into items, the way both readers
// read them: an item ends at a comma or at a line end (CR LF, LF or CR), blanks at its
// start are skipped, an empty line is one empty item, and an item that begins with a
// double quote runs to the closing quote (not part of the item; whatever follows it up
// to the next comma or line end is dropped). Trailing blanks are kept.
// Items are views into the bytes, which must outlive the reader.
class ItemReader {
public:
    explicit ItemReader(std::string_view bytes) : m_Bytes(bytes) {}

    // False at the end of the bytes.
    bool Next(std::string_view& item);
    // After Next: whether a comma ended the item, so the line goes on with another item.
    bool LineGoesOn() const { return m_AfterComma; }
    // After Next: where the next item starts, past the comma or line end that ended this one.
    std::size_t Position() const { return m_Pos; }
    // After Next: whether text other than blanks followed the item's closing quote, which
    // the item leaves out (a save would not write it again).
    bool DroppedText() const { return m_Dropped; }

    // Where the item that starts at pos lies.
    struct Cut {
        std::string_view item;
        std::size_t end = 0;     // its comma or line end, or the end of the bytes
        std::size_t next = 0;    // where the item after it starts
        bool afterComma = false; // a comma ended it, so one more item follows
        bool dropped = false;    // text other than blanks followed its closing quote
    };
    // Cuts the item that starts at pos (below bytes.size()). When more bytes may follow
    // (more), false while its end is not certain: it runs to the end of the bytes, or ends
    // at a CR there that may be the first half of a CR LF.
    static bool CutItem(std::string_view bytes, std::size_t pos, bool more, Cut& cut);
    // The position of the first comma or line end at or after pos, or bytes.size().
    static std::size_t FindItemEnd(std::string_view bytes, std::size_t pos);

private:
    std::string_view m_Bytes;
    std::size_t m_Pos = 0;
    bool m_AfterComma = false; // a comma just ended an item, so one more item follows
    bool m_Dropped = false;
};

} // namespace kb
