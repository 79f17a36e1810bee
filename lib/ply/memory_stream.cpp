#include "memory_stream.h"

namespace ply {

// The get area never writes through these pointers: putback only moves gptr
// back over bytes that are already there.
memory_buffer::memory_buffer(const char* begin, const char* end)
{
    char* b = const_cast<char*>(begin);
    char* e = const_cast<char*>(end);
    setg(b, b, e);
}

memory_buffer::pos_type memory_buffer::seekoff(off_type off, std::ios_base::seekdir dir,
                                               std::ios_base::openmode which)
{
    if (!(which & std::ios_base::in))
        return pos_type(off_type(-1));
    off_type base = 0;
    if (dir == std::ios_base::cur)
        base = gptr() - eback();
    else if (dir == std::ios_base::end)
        base = egptr() - eback();
    off_type size = egptr() - eback();
    // Compare before adding so a huge offset cannot overflow.
    if ((off < 0 && -off > base) || (off > 0 && off > size - base))
        return pos_type(off_type(-1));
    setg(eback(), eback() + base + off, egptr());
    return pos_type(base + off);
}

memory_buffer::pos_type memory_buffer::seekpos(pos_type pos, std::ios_base::openmode which)
{
    return seekoff(off_type(pos), std::ios_base::beg, which);
}

memory_stream::memory_stream(const char* begin, const char* end)
    : std::istream(nullptr), buffer_(begin, end)
{
    rdbuf(&buffer_);
}

} // namespace ply
