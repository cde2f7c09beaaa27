#include "TextStore.h"

#include <algorithm>
#include <cstring>

namespace cobol {

char *TextStore::allocate(std::size_t size)
{
    if (size > m_left) {
        // A text larger than a block gets a block of its own; the current block goes on.
        if (size > blockSize / 4) {
            m_blocks.push_back(std::make_unique<char[]>(size));
            return m_blocks.back().get();
        }
        m_blocks.push_back(std::make_unique<char[]>(blockSize));
        m_free = m_blocks.back().get();
        m_left = blockSize;
    }
    char *at = m_free;
    m_free += size;
    m_left -= size;
    return at;
}

std::string_view TextStore::copy(std::string_view text)
{
    if (text.empty())
        return {};
    char *at = allocate(text.size());
    std::memcpy(at, text.data(), text.size());
    return {at, text.size()};
}

std::string_view TextStore::join(std::string_view a, std::string_view b)
{
    if (a.empty() || b.empty())
        return a.empty() ? b : a;
    char *at = allocate(a.size() + b.size());
    std::memcpy(at, a.data(), a.size());
    std::memcpy(at + a.size(), b.data(), b.size());
    return {at, a.size() + b.size()};
}

std::string_view TextStore::upper(std::string_view text)
{
    const auto lower = std::find_if(text.begin(), text.end(), [](char c) {
        return c >= 'a' && c <= 'z';
    });
    if (lower == text.end())
        return text;
    char *at = allocate(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        at[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return {at, text.size()};
}

std::string_view TextStore::keep(std::string text)
{
    m_kept.push_back(std::make_unique<std::string>(std::move(text)));
    return *m_kept.back();
}

} // namespace cobol
