#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace cobol {

/// A text for fields that are empty in nearly every object that has them (the EXEC details and
/// the function name of an operand): one pointer wide, null when empty, so that the hundreds of
/// thousands of objects a large program has cost a quarter of what four std::string members
/// would. It reads like a std::string: it converts to `const std::string &` and to
/// `std::string_view`, compares with texts and joins with `+`.
class CompactText final
{
public:
    CompactText() = default;
    CompactText(std::string_view text) { assign(text); }
    CompactText(const std::string &text) { assign(text); }
    CompactText(const char *text) { assign(text); }
    CompactText(const CompactText &other) { assign(other.view()); }
    CompactText(CompactText &&other) noexcept = default;
    ~CompactText() = default;

    CompactText &operator=(const CompactText &other)
    {
        if (this != &other)
            assign(other.view());
        return *this;
    }
    CompactText &operator=(CompactText &&other) noexcept = default;
    CompactText &operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }
    CompactText &operator=(const std::string &text)
    {
        assign(text);
        return *this;
    }
    CompactText &operator=(const char *text)
    {
        assign(text);
        return *this;
    }

    /// The text; a shared empty string when there is none.
    const std::string &str() const { return m_text ? *m_text : empty_(); }
    std::string_view view() const
    {
        return m_text ? std::string_view(*m_text) : std::string_view();
    }
    operator const std::string &() const { return str(); }
    operator std::string_view() const { return view(); }

    bool empty() const { return !m_text; }
    std::size_t size() const { return m_text ? m_text->size() : 0; }
    const char *data() const { return str().data(); }
    const char *c_str() const { return str().c_str(); }
    std::string substr(std::size_t position, std::size_t count = std::string::npos) const
    {
        return str().substr(position, count);
    }
    bool starts_with(std::string_view prefix) const { return view().starts_with(prefix); }
    bool ends_with(std::string_view suffix) const { return view().ends_with(suffix); }
    std::size_t find(std::string_view text, std::size_t position = 0) const
    {
        return view().find(text, position);
    }
    char operator[](std::size_t index) const { return str()[index]; }
    void clear() { m_text.reset(); }

    friend bool operator==(const CompactText &a, const CompactText &b)
    {
        return a.view() == b.view();
    }
    friend bool operator==(const CompactText &a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const CompactText &a, const std::string &b) { return a.view() == b; }
    friend bool operator==(const CompactText &a, const char *b) { return a.view() == b; }
    friend auto operator<=>(const CompactText &a, const CompactText &b)
    {
        return a.view() <=> b.view();
    }
    friend auto operator<=>(const CompactText &a, std::string_view b) { return a.view() <=> b; }

    friend std::string operator+(const CompactText &a, std::string_view b)
    {
        std::string out(a.view());
        out.append(b);
        return out;
    }
    friend std::string operator+(const CompactText &a, const CompactText &b)
    {
        return a + b.view();
    }
    friend std::string operator+(const CompactText &a, const char *b)
    {
        return a + std::string_view(b);
    }
    friend std::string operator+(const CompactText &a, const std::string &b)
    {
        return a + std::string_view(b);
    }
    friend std::string operator+(std::string a, const CompactText &b)
    {
        a.append(b.view());
        return a;
    }
    friend std::string operator+(const char *a, const CompactText &b) { return std::string(a) + b; }

private:
    static const std::string &empty_()
    {
        static const std::string none;
        return none;
    }
    void assign(std::string_view text)
    {
        if (text.empty())
            m_text.reset();
        else if (m_text)
            m_text->assign(text);
        else
            m_text = std::make_unique<std::string>(text);
    }

    std::unique_ptr<std::string> m_text;
};

} // namespace cobol
