#include "EnvironmentFile.h"

#include <algorithm>

namespace {

constexpr IniLines::Rules environmentRules{
    .maxFileSize = EnvironmentFile::maxFileSize,
    .maxLineLength = EnvironmentFile::maxLineLength,
    .fileKind = "a settings file",
    .utf8Only = false,
    .deleteIsControl = false,
    .headerEndsAtLineEnd = false,
    .caselessNames = true,
};

} // namespace

EnvironmentFile::EnvironmentFile()
    : m_lines(environmentRules)
{}

std::optional<EnvironmentFile> EnvironmentFile::parse(std::string_view text, std::string &problem)
{
    auto lines = IniLines::parse(text, environmentRules, problem);
    if (!lines)
        return std::nullopt;
    return EnvironmentFile(std::move(*lines));
}

std::optional<std::string> EnvironmentFile::value(std::string_view group,
                                                  std::string_view name) const
{
    if (const IniLines::Line *line = m_lines.setting(group, name))
        return line->value;
    return std::nullopt;
}

std::vector<EnvironmentSetting> EnvironmentFile::settings() const
{
    std::vector<EnvironmentSetting> result;
    for (const IniLines::Line &line : m_lines.lines()) {
        if (line.kind != IniLines::Line::Kind::Setting)
            continue;
        const bool seen = std::any_of(result.begin(), result.end(), [&](const auto &s) {
            return m_lines.sameName(s.group, line.section) && m_lines.sameName(s.name, line.key);
        });
        if (!seen)
            result.push_back({line.section, line.key, line.value});
    }
    return result;
}

std::string EnvironmentFile::setValue(std::string_view group,
                                      std::string_view name,
                                      std::string_view value)
{
    group = IniLines::trimmed(group);
    name = IniLines::trimmed(name);
    if (group.empty() || name.empty())
        return "the group and the setting name must not be empty";
    if (m_lines.hasControl(group) || m_lines.hasControl(name) || m_lines.hasControl(value))
        return "line breaks and control characters cannot be stored in a settings file";
    if (group.find(']') != std::string_view::npos)
        return "a group name cannot contain \"]\"";
    if (name.find('=') != std::string_view::npos || name.starts_with('[')
        || IniLines::isComment(name))
        return "a setting name cannot contain \"=\" nor start with \"[\", \";\" or \"#\"";
    if (!m_lines.set(group, name, value))
        return "the setting would need a line longer than " + std::to_string(maxLineLength)
               + " characters";
    return {};
}

std::string EnvironmentFile::text() const
{
    return m_lines.text();
}
