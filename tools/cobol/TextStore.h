#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {

/// Keeps texts at stable addresses for as long as it lives, so that tokens can be views: the
/// source files the lexer reads, and the texts it and the preprocessor make (upper-case words,
/// joined continuation lines, the results of REPLACING). Texts are never freed one by one; the
/// store hands out small texts from large blocks, so that making one costs no allocation.
class TextStore final
{
public:
    TextStore() = default;
    TextStore(const TextStore &) = delete;
    TextStore &operator=(const TextStore &) = delete;

    /// A copy of `text` that lives as long as the store.
    std::string_view copy(std::string_view text);
    /// `a` followed by `b`, kept in the store.
    std::string_view join(std::string_view a, std::string_view b);
    /// `text` with a-z in upper case; `text` itself when it has none.
    std::string_view upper(std::string_view text);
    /// Takes `text` over (a whole file, say) and keeps it where it is.
    std::string_view keep(std::string text);

private:
    /// Room for `size` bytes, from the current block or a new one.
    char *allocate(std::size_t size);

    static constexpr std::size_t blockSize = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_free = nullptr;
    std::size_t m_left = 0;
    std::vector<std::unique_ptr<std::string>> m_kept;
};

} // namespace cobol
