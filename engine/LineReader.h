#pragma once

#include <cstddef>
#include <istream>
#include <string>

/// Reads text files the way the conversion formats define a line: at most `maxLineLength`
/// characters per read (a 1000-byte buffer with its terminating NUL). A longer line is not an
/// error: its first 999 characters are one read and the rest comes with the next read. A line of
/// exactly 999 characters is one read including its line end. A line ending in "\r\n" loses its
/// "\r", so files written on Windows read the same.
class LineReader final
{
public:
    static constexpr std::size_t maxLineLength = 999;

    explicit LineReader(std::istream &in)
        : m_in(in)
    {}

    /// Reads the next line into `line`; false at end of input (when no character could be read).
    bool readLine(std::string &line);

    /// True when no further line can be read: the stream is at end of file or unusable.
    bool atEnd();

private:
    void consumeLineEndAfterFullBuffer();

    std::istream &m_in;
};
