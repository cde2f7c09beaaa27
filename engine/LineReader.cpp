#include "LineReader.h"

bool LineReader::readLine(std::string &line)
{
    line.clear();
    if (atEnd())
        return false;
    std::streambuf *buffer = m_in.rdbuf();
    bool endOfLine = false;
    while (line.size() < maxLineLength) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            m_in.setstate(std::ios::eofbit);
            endOfLine = true;
            break;
        }
        if (c == '\n') {
            endOfLine = true;
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    if (!endOfLine)
        consumeLineEndAfterFullBuffer();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

void LineReader::consumeLineEndAfterFullBuffer()
{
    // A line of exactly the maximum length is a whole line: its end belongs to it and must not
    // come back as an empty line on the next read. "\r\n" counts as one line end.
    std::streambuf *buffer = m_in.rdbuf();
    const int next = buffer->sgetc();
    if (next == '\n') {
        buffer->sbumpc();
    } else if (next == '\r') {
        buffer->sbumpc();
        if (buffer->sgetc() == '\n')
            buffer->sbumpc();
        else
            buffer->sungetc();
    }
}

bool LineReader::atEnd()
{
    if (!m_in.good())
        return true;
    if (m_in.rdbuf()->sgetc() == std::char_traits<char>::eof()) {
        m_in.setstate(std::ios::eofbit);
        return true;
    }
    return false;
}
