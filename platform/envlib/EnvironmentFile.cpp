#include "EnvironmentFile.h"

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

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && c != '\t';
}

bool hasControl(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), isControl);
}

bool isQuoted(std::string_view value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

} // namespace

std::optional<EnvironmentFile> EnvironmentFile::parse(std::string_view text, std::string &problem)
{
    if (text.size() > maxFileSize) {
        problem = "the file has " + std::to_string(text.size()) + " bytes, more than the "
                  + std::to_string(maxFileSize) + " a settings file may have";
        return std::nullopt;
    }
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);

    EnvironmentFile file;
    std::string group;
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

        Line line;
        line.text = std::string(raw);
        const std::string_view content = trimmed(raw);
        if (content.starts_with('[')) {
            const std::size_t close = content.find(']');
            if (close == std::string_view::npos) {
                problem = where + "a section header \"" + std::string(content)
                          + "\" without its closing \"]\"";
                return std::nullopt;
            }
            line.kind = Line::Kind::Section;
            group = std::string(trimmed(content.substr(1, close - 1)));
            line.group = group;
            inSection = true;
        } else if (const std::size_t equals = content.find('=');
                   inSection && equals != std::string_view::npos && !content.starts_with(';')
                   && !content.starts_with('#')) {
            const std::string_view name = trimmed(content.substr(0, equals));
            std::string_view value = trimmed(content.substr(equals + 1));
            if (isQuoted(value))
                value = value.substr(1, value.size() - 2);
            if (!name.empty()) {
                line.kind = Line::Kind::Setting;
                line.group = group;
                line.name = std::string(name);
                line.value = std::string(value);
            }
        }
        file.m_lines.push_back(std::move(line));
    }
    return file;
}

std::optional<std::string> EnvironmentFile::value(std::string_view group,
                                                  std::string_view name) const
{
    for (const Line &line : m_lines) {
        if (line.kind == Line::Kind::Setting && sameName(line.group, group)
            && sameName(line.name, name))
            return line.value;
    }
    return std::nullopt;
}

std::vector<EnvironmentSetting> EnvironmentFile::settings() const
{
    std::vector<EnvironmentSetting> result;
    for (const Line &line : m_lines) {
        if (line.kind != Line::Kind::Setting)
            continue;
        const bool seen = std::any_of(result.begin(), result.end(), [&](const auto &s) {
            return sameName(s.group, line.group) && sameName(s.name, line.name);
        });
        if (!seen)
            result.push_back({line.group, line.name, line.value});
    }
    return result;
}

std::string EnvironmentFile::settingLine(std::string_view name, std::string_view value)
{
    const bool needsQuotes = !value.empty()
                             && (isBlank(value.front()) || isBlank(value.back())
                                 || isQuoted(value));
    std::string line(name);
    line += '=';
    if (needsQuotes)
        line += '"';
    line += value;
    if (needsQuotes)
        line += '"';
    return line;
}

std::string EnvironmentFile::setValue(std::string_view group,
                                      std::string_view name,
                                      std::string_view value)
{
    if (trimmed(group).empty() || trimmed(name).empty())
        return "the group and the setting name must not be empty";
    if (hasControl(group) || hasControl(name) || hasControl(value))
        return "line breaks and control characters cannot be stored in a settings file";
    if (group.find(']') != std::string_view::npos)
        return "a group name cannot contain \"]\"";
    if (name.find('=') != std::string_view::npos || trimmed(name).starts_with('[')
        || trimmed(name).starts_with(';') || trimmed(name).starts_with('#'))
        return "a setting name cannot contain \"=\" nor start with \"[\", \";\" or \"#\"";
    group = trimmed(group);
    name = trimmed(name);

    const auto tooLong = [](const std::string &line) { return line.size() > maxLineLength; };
    const std::string lengthProblem = "the setting would need a line longer than "
                                      + std::to_string(maxLineLength) + " characters";

    for (Line &line : m_lines) {
        if (line.kind == Line::Kind::Setting && sameName(line.group, group)
            && sameName(line.name, name)) {
            std::string text = settingLine(line.name, value);
            if (tooLong(text))
                return lengthProblem;
            line.text = std::move(text);
            line.value = std::string(value);
            return {};
        }
    }

    Line setting;
    setting.kind = Line::Kind::Setting;
    setting.text = settingLine(name, value);
    setting.group = std::string(group);
    setting.name = std::string(name);
    setting.value = std::string(value);
    if (tooLong(setting.text))
        return lengthProblem;

    // Add after the last setting of the group's first section, so that comments and blank lines
    // that introduce the next section stay with it.
    const auto section = std::find_if(m_lines.begin(), m_lines.end(), [&](const Line &line) {
        return line.kind == Line::Kind::Section && sameName(line.group, group);
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
    header.text = "[" + std::string(group) + "]";
    header.group = std::string(group);
    m_lines.push_back(std::move(header));
    m_lines.push_back(std::move(setting));
    return {};
}

std::string EnvironmentFile::text() const
{
    std::string result;
    for (const Line &line : m_lines) {
        result += line.text;
        result += '\n';
    }
    return result;
}
