#include "ProfileFile.h"

#include <algorithm>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

bool hasControl(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), isControl);
}

bool isQuoted(std::string_view value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

bool isComment(std::string_view content)
{
    return content.starts_with(';') || content.starts_with('#');
}

/// Position of the first byte that does not belong to well-formed UTF-8, or npos.
std::size_t invalidUtf8(std::string_view text)
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

} // namespace

std::optional<ProfileFile> ProfileFile::parse(std::string_view text, std::string &problem)
{
    if (text.size() > maxFileSize) {
        problem = "the file has " + std::to_string(text.size()) + " bytes, more than the "
                  + std::to_string(maxFileSize) + " a profile may have";
        return std::nullopt;
    }
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);

    ProfileFile file;
    std::string application;
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
        if (raw.size() > maxLineLength) {
            problem = where + "the line has " + std::to_string(raw.size())
                      + " characters, more than the " + std::to_string(maxLineLength) + " allowed";
            return std::nullopt;
        }
        if (const auto bad = std::find_if(raw.begin(), raw.end(), isControl); bad != raw.end()) {
            problem = where + "control character "
                      + std::to_string(static_cast<unsigned char>(*bad))
                      + " found where text was expected (is this a binary file?)";
            return std::nullopt;
        }
        if (const std::size_t bad = invalidUtf8(raw); bad != std::string_view::npos) {
            problem = where + "byte " + std::to_string(bad + 1)
                      + " is not part of UTF-8 text (is this a binary file?)";
            return std::nullopt;
        }

        Line line;
        line.text = std::string(raw);
        const std::string_view content = trimmed(raw);
        if (content.starts_with('[')) {
            if (!content.ends_with(']')) {
                problem = where + "a section header \"" + std::string(content)
                          + "\" without its closing \"]\"";
                return std::nullopt;
            }
            line.kind = Line::Kind::Section;
            application = std::string(trimmed(content.substr(1, content.size() - 2)));
            line.application = application;
            inSection = true;
        } else if (const std::size_t equals = content.find('=');
                   inSection && equals != std::string_view::npos && !isComment(content)) {
            const std::string_view key = trimmed(content.substr(0, equals));
            std::string_view value = trimmed(content.substr(equals + 1));
            if (isQuoted(value))
                value = value.substr(1, value.size() - 2);
            if (!key.empty()) {
                line.kind = Line::Kind::Setting;
                line.application = application;
                line.key = std::string(key);
                line.value = std::string(value);
            }
        }
        file.m_lines.push_back(std::move(line));
    }
    return file;
}

std::optional<std::string> ProfileFile::value(std::string_view application,
                                              std::string_view key) const
{
    for (const Line &line : m_lines) {
        if (line.kind == Line::Kind::Setting && line.application == application && line.key == key)
            return line.value;
    }
    return std::nullopt;
}

std::string ProfileFile::settingLine(std::string_view key, std::string_view value)
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

std::vector<ProfileFile::Line>::iterator ProfileFile::sectionEnd(std::vector<Line>::iterator header)
{
    return std::find_if(header + 1, m_lines.end(), [](const Line &line) {
        return line.kind == Line::Kind::Section;
    });
}

std::string ProfileFile::setValue(std::string_view application,
                                  std::string_view key,
                                  std::string_view value)
{
    if (application.empty() || key.empty())
        return "the application name and the key must not be empty";
    if (trimmed(application) != application || trimmed(key) != key)
        return "an application name or key cannot start or end with a blank";
    if (hasControl(application) || hasControl(key) || hasControl(value))
        return "line breaks and control characters cannot be stored in a profile";
    if (invalidUtf8(application) != std::string_view::npos
        || invalidUtf8(key) != std::string_view::npos
        || invalidUtf8(value) != std::string_view::npos)
        return "only UTF-8 text can be stored in a profile";
    if (key.find('=') != std::string_view::npos || key.starts_with('[') || isComment(key))
        return "a key cannot contain \"=\" nor start with \"[\", \";\" or \"#\"";

    std::string text = settingLine(key, value);
    if (text.size() > maxLineLength || application.size() + 2 > maxLineLength)
        return "the value would need a line longer than " + std::to_string(maxLineLength)
               + " characters";

    for (Line &line : m_lines) {
        if (line.kind == Line::Kind::Setting && line.application == application
            && line.key == key) {
            line.text = std::move(text);
            line.value = std::string(value);
            return {};
        }
    }

    Line setting;
    setting.kind = Line::Kind::Setting;
    setting.text = std::move(text);
    setting.application = std::string(application);
    setting.key = std::string(key);
    setting.value = std::string(value);

    // After the last setting of the application's first section, so that comments and blank
    // lines that introduce the next section stay with it.
    const auto section = std::find_if(m_lines.begin(), m_lines.end(), [&](const Line &line) {
        return line.kind == Line::Kind::Section && line.application == application;
    });
    if (section != m_lines.end()) {
        auto insertAfter = section;
        for (auto it = section + 1; it != m_lines.end() && it->kind != Line::Kind::Section; ++it) {
            if (it->kind == Line::Kind::Setting)
                insertAfter = it;
        }
        m_lines.insert(insertAfter + 1, std::move(setting));
        return {};
    }

    if (!m_lines.empty() && !trimmed(m_lines.back().text).empty())
        m_lines.push_back(Line{});
    Line header;
    header.kind = Line::Kind::Section;
    header.text = "[" + std::string(application) + "]";
    header.application = std::string(application);
    m_lines.push_back(std::move(header));
    m_lines.push_back(std::move(setting));
    return {};
}

bool ProfileFile::removeKey(std::string_view application, std::string_view key)
{
    const auto before = m_lines.size();
    std::erase_if(m_lines, [&](const Line &line) {
        return line.kind == Line::Kind::Setting && line.application == application
               && line.key == key;
    });
    if (m_lines.size() == before)
        return false;

    // Drop sections of the application that hold nothing but blank lines now.
    for (auto header = m_lines.begin(); header != m_lines.end();) {
        if (header->kind != Line::Kind::Section || header->application != application) {
            ++header;
            continue;
        }
        const auto end = sectionEnd(header);
        const bool empty = std::all_of(header + 1, end, [](const Line &line) {
            return trimmed(line.text).empty();
        });
        header = empty ? m_lines.erase(header, end) : end;
    }
    return true;
}

bool ProfileFile::removeApplication(std::string_view application)
{
    bool removed = false;
    for (auto header = m_lines.begin(); header != m_lines.end();) {
        if (header->kind == Line::Kind::Section && header->application == application) {
            header = m_lines.erase(header, sectionEnd(header));
            removed = true;
        } else {
            ++header;
        }
    }
    return removed;
}

std::vector<std::string> ProfileFile::applicationNames() const
{
    std::vector<std::string> names;
    for (const Line &line : m_lines) {
        if (line.kind == Line::Kind::Section
            && std::find(names.begin(), names.end(), line.application) == names.end())
            names.push_back(line.application);
    }
    return names;
}

std::vector<std::string> ProfileFile::keyNames(std::string_view application) const
{
    std::vector<std::string> names;
    for (const Line &line : m_lines) {
        if (line.kind == Line::Kind::Setting && line.application == application
            && std::find(names.begin(), names.end(), line.key) == names.end())
            names.push_back(line.key);
    }
    return names;
}

std::string ProfileFile::text() const
{
    std::string result;
    for (const Line &line : m_lines) {
        result += line.text;
        result += '\n';
    }
    return result;
}
