// An input stream over bytes someone else owns, with full seeking, so a file
// read into memory once can be parsed by stream-based readers without a copy.
//
//   std::vector<char> bytes = ...;
//   ply::memory_stream in(bytes.data(), bytes.size());
#pragma once

#include <cstddef>
#include <istream>
#include <streambuf>

namespace ply {

class memory_buffer : public std::streambuf {
public:
    memory_buffer(const char* begin, const char* end);
    memory_buffer(const char* begin, size_t length) : memory_buffer(begin, begin + length) {}

protected:
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type pos, std::ios_base::openmode which) override;
};

class memory_stream : public std::istream {
public:
    memory_stream(const char* begin, const char* end);
    memory_stream(const char* begin, size_t length) : memory_stream(begin, begin + length) {}

private:
    memory_buffer buffer_;
};

} // namespace ply
