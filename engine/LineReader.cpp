#include "LineReader.h"

bool LineReader::readLine(std::string &line)
{
    line.clear();
    if (atEnd())
        return false;
    std::streambuf *buffer = m_in.rdbuf();
    while (line.size() < maxLineLength) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            m_in.setstate(std::ios::eofbit);
            break;
        }
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
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
