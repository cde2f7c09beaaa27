#include "IniLines.h"

#include <algorithm>

namespace {

/// UTF-8's byte order mark: read past, and written back when the file had it, so that a line
/// that happens to start with another one reads the same after a save.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

bool isQuoted(std::string_view value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view IniLines::trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IniLines::isComment(std::string_view content)
{
    return content.starts_with(';') || content.starts_with('#');
}

bool IniLines::isControl(char c) const
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || (m_rules.deleteIsControl && byte == 0x7F);
}

bool IniLines::hasControl(std::string_view text) const
{
    return std::any_of(text.begin(), text.end(), [this](char c) { return isControl(c); });
}

std::size_t IniLines::invalidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned minimum = 0;
        unsigned codePoint = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, minimum = 0x80, codePoint = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, minimum = 0x800, codePoint = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, minimum = 0x10000, codePoint = lead & 0x07;
        } else {
            return i;
        }
        if (i + length > text.size())
            return i;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return i;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < minimum || codePoint > 0x10FFFF
            || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return i;
        i += length;
    }
    return std::string_view::npos;
}

std::optional<IniLines> IniLines::parse(std::string_view text,
                                        const Rules &rules,
                                        std::string &problem)
{
    if (text.size() > rules.maxFileSize) {
        problem = "the file has " + std::to_string(text.size()) + " bytes, more than the "
                  + std::to_string(rules.maxFileSize) + " " + std::string(rules.fileKind)
                  + " may have";
        return std::nullopt;
    }
    IniLines file(rules);
    if (text.starts_with(byteOrderMark)) {
        text.remove_prefix(byteOrderMark.size());
        file.m_byteOrderMark = true;
    }
    std::string section;
    bool inSection = false;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (raw.ends_with('\r'))
            raw.remove_suffix(1);

        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (raw.size() > rules.maxLineLength) {
            problem = where + "the line has " + std::to_string(raw.size())
                      + " characters, more than the " + std::to_string(rules.maxLineLength)
                      + " allowed";
            return std::nullopt;
        }
        const auto control = std::find_if(raw.begin(), raw.end(), [&file](char c) {
            return file.isControl(c);
        });
        if (control != raw.end()) {
            problem = where + "control character "
                      + std::to_string(static_cast<unsigned char>(*control))
                      + " found where text was expected (is this a binary file?)";
            return std::nullopt;
        }
        if (const std::size_t bad = rules.utf8Only ? invalidUtf8(raw) : std::string_view::npos;
            bad != std::string_view::npos) {
            problem = where + "byte " + std::to_string(bad + 1)
                      + " is not part of UTF-8 text (is this a binary file?)";
            return std::nullopt;
        }

        Line line;
        line.text = std::string(raw);
        const std::string_view content = trimmed(raw);
        if (content.starts_with('[')) {
            const std::size_t close = rules.headerEndsAtLineEnd
                                          ? (content.ends_with(']') ? content.size() - 1
                                                                    : std::string_view::npos)
                                          : content.find(']');
            if (close == std::string_view::npos) {
                problem = where + "a section header \"" + std::string(content)
                          + "\" without its closing \"]\"";
                return std::nullopt;
            }
            line.kind = Line::Kind::Section;
            section = std::string(trimmed(content.substr(1, close - 1)));
            line.section = section;
            inSection = true;
        } else if (const std::size_t equals = content.find('=');
                   inSection && equals != std::string_view::npos && !isComment(content)) {
            const std::string_view key = trimmed(content.substr(0, equals));
            std::string_view value = trimmed(content.substr(equals + 1));
            if (isQuoted(value))
                value = value.substr(1, value.size() - 2);
            if (!key.empty()) {
                line.kind = Line::Kind::Setting;
                line.section = section;
                line.key = std::string(key);
                line.value = std::string(value);
            }
        }
        file.m_lines.push_back(std::move(line));
    }
    return file;
}

bool IniLines::sameName(std::string_view a, std::string_view b) const
{
    if (!m_rules.caselessNames)
        return a == b;
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

const IniLines::Line *IniLines::setting(std::string_view section, std::string_view key) const
{
    const auto found = std::find_if(m_lines.begin(), m_lines.end(), [&](const Line &line) {
        return line.kind == Line::Kind::Setting && sameName(line.section, section)
               && sameName(line.key, key);
    });
    return found == m_lines.end() ? nullptr : &*found;
}

std::string IniLines::settingLine(std::string_view key, std::string_view value)
{
    const bool needsQuotes = !value.empty()
                             && (isBlank(value.front()) || isBlank(value.back())
                                 || isQuoted(value));
    std::string line(key);
    line += '=';
    if (needsQuotes)
        line += '"';
    line += value;
    if (needsQuotes)
        line += '"';
    return line;
}

bool IniLines::set(std::string_view section, std::string_view key, std::string_view value)
{
    if (const Line *found = setting(section, key)) {
        std::string text = settingLine(found->key, value);
        if (text.size() > m_rules.maxLineLength)
            return false;
        Line &line = m_lines[static_cast<std::size_t>(found - m_lines.data())];
        line.text = std::move(text);
        line.value = std::string(value);
        return true;
    }

    Line setting;
    setting.kind = Line::Kind::Setting;
    setting.text = settingLine(key, value);
    setting.section = std::string(section);
    setting.key = std::string(key);
    setting.value = std::string(value);
    if (setting.text.size() > m_rules.maxLineLength || section.size() + 2 > m_rules.maxLineLength)
        return false;

    // After the last setting of the section's first occurrence, so that comments and blank lines
    // that introduce the next section stay with it.
    const auto header = std::find_if(m_lines.begin(), m_lines.end(), [&](const Line &line) {
        return line.kind == Line::Kind::Section && sameName(line.section, section);
    });
    if (header != m_lines.end()) {
        auto insertAfter = header;
        for (auto it = header + 1; it != m_lines.end() && it->kind != Line::Kind::Section; ++it) {
            if (it->kind == Line::Kind::Setting)
                insertAfter = it;
        }
        m_lines.insert(insertAfter + 1, std::move(setting));
        return true;
    }

    if (!m_lines.empty() && !trimmed(m_lines.back().text).empty())
        m_lines.push_back(Line{});
    Line newHeader;
    newHeader.kind = Line::Kind::Section;
    newHeader.text = "[" + std::string(section) + "]";
    newHeader.section = std::string(section);
    m_lines.push_back(std::move(newHeader));
    m_lines.push_back(std::move(setting));
    return true;
}

std::string IniLines::text() const
{
    std::string result(m_byteOrderMark ? byteOrderMark : std::string_view());
    for (const Line &line : m_lines) {
        result += line.text;
        result += '\n';
    }
    return result;
}
