#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kb {

// Reads the items of a file by the rules of ItemReader, piece by piece, so that reading a
// file of any size holds no more than one piece and one item. An item longer than a bound
// stops the stream: nothing is read beyond it.
class ItemStream {
public:
    enum class Status {
        Item,       // the next item is in hand
        End,        // every item was read
        TooLong,    // an item passes the bound
        Unreadable, // the file could not be read
    };

    // maxItemBytes bounds an item's bytes from its start to its comma or line end, leading
    // blanks, quotes and what follows a closing quote included.
    explicit ItemStream(std::size_t maxItemBytes, std::size_t pieceSize = std::size_t{64} << 10);
    ~ItemStream();
    ItemStream(const ItemStream&) = delete;
    ItemStream& operator=(const ItemStream&) = delete;

    // Opens a regular file, without waiting on a named pipe. False when it cannot.
    bool Open(const std::string& path);
    // Reads the regular file open at fd from its start; the stream reads a descriptor of
    // its own, so the caller keeps and closes fd.
    bool Open(int fd);
    // Back to the first item of the file opened.
    bool Rewind();
    // The item stays valid until the next call. After anything but Item, stop.
    Status Next(std::string_view& item);
    // The bytes taken from the file since it was opened, over every pass.
    std::uint64_t BytesRead() const { return m_BytesRead; }

private:
    bool Fill();

    std::size_t m_MaxItemBytes;
    std::size_t m_PieceSize;
    int m_Fd = -1;
    std::string m_Buffer;
    std::size_t m_Pos = 0;    // start of the next item in the buffer
    std::size_t m_Filled = 0; // bytes of the buffer that hold file bytes
    bool m_AtEnd = false;     // the file has nothing more after the buffer
    bool m_AfterComma = false;
    std::uint64_t m_BytesRead = 0;
};

} // namespace kb
