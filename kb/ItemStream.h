#pragma once

#include "kb/FileDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kb {

// Reads the items of a file by the rules of ItemReader, piece by piece, so that reading a
// file of any size holds no more than one piece and one item. An item longer than a bound
// either stops the stream (nothing is read beyond it) or is passed over unread, as the
// stream was made to do.
class ItemStream {
public:
    enum class Status {
        Item,       // the next item is in hand
        End,        // every item was read
        TooLong,    // an item passes the bound (Overlong::Stop)
        Skipped,    // an item past the bound was passed over (Overlong::Skip)
        Unreadable, // the file could not be read
    };
    enum class Overlong { Stop, Skip };

    // maxItemBytes bounds an item's bytes from its start to its comma or line end, leading
    // blanks, quotes and what follows a closing quote included.
    explicit ItemStream(std::size_t maxItemBytes, std::size_t pieceSize = std::size_t{64} << 10,
                        Overlong overlong = Overlong::Stop);
    ~ItemStream();
    ItemStream(const ItemStream&) = delete;
    ItemStream& operator=(const ItemStream&) = delete;

    // Opens a regular file, without waiting on a named pipe. False when it cannot.
    bool Open(const std::string& path);
    // Reads the regular file open on fd from its start, leaving fd's own offset alone; the
    // caller keeps fd open while the stream is used and closes it. False when it cannot.
    bool Attach(int fd);
    // Back to the first item of the file opened.
    bool Rewind();
    // The item stays valid until the next call. After End, TooLong or Unreadable, stop;
    // after Skipped the stream goes on with the next item.
    Status Next(std::string_view& item);
    // After Item: whether text other than blanks after the item's closing quote was left
    // out of it.
    bool DroppedText() const { return m_Dropped; }
    // After Item or Skipped: whether a comma ended the item, so its line goes on.
    bool LineGoesOn() const { return m_AfterComma; }
    // Hands every byte the stream moves past to tap, in the file's order, each once a pass:
    // an item's bytes from its start up to the next item's (its comma or line end included)
    // before Next returns it, and those of an item passed over as they are read.
    void SetTap(std::function<void(std::string_view)> tap) { m_Tap = std::move(tap); }
    // The bytes taken from the file since it was opened, over every pass.
    std::uint64_t BytesRead() const { return m_BytesRead; }

private:
    bool Use(int fd, std::int64_t size);
    void Close();
    bool Fill();
    Status PassOver();
    void SkipHole();
    // Moves the start of the next item to pos, handing the bytes before it to the tap.
    void MoveTo(std::size_t pos);

    std::size_t m_MaxItemBytes;
    std::size_t m_PieceSize;
    Overlong m_Overlong;
    int m_Fd = -1;              // the descriptor read, opened here or lent by the caller
    FileDescriptor m_Owned;     // the one opened here
    std::uint64_t m_Offset = 0; // where the next read starts in the file
    std::string m_Buffer;
    std::size_t m_Pos = 0;    // start of the next item in the buffer
    std::size_t m_Filled = 0; // bytes of the buffer that hold file bytes
    bool m_AtEnd = false;     // the file has nothing more after the buffer
    bool m_AfterComma = false;
    bool m_Dropped = false;
    std::uint64_t m_BytesRead = 0;
    std::function<void(std::string_view)> m_Tap;
};

} // namespace kb
