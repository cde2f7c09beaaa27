#include "ProfileFile.h"

#include <algorithm>

namespace {

constexpr IniLines::Rules profileRules{
    .maxFileSize = ProfileFile::maxFileSize,
    .maxLineLength = ProfileFile::maxLineLength,
    .fileKind = "a profile",
    .utf8Only = true,
    .deleteIsControl = true,
    .headerEndsAtLineEnd = true,
    .caselessNames = false,
};

using Kind = IniLines::Line::Kind;

} // namespace

ProfileFile::ProfileFile()
    : m_lines(profileRules)
{}

std::optional<ProfileFile> ProfileFile::parse(std::string_view text, std::string &problem)
{
    auto lines = IniLines::parse(text, profileRules, problem);
    if (!lines)
        return std::nullopt;
    return ProfileFile(std::move(*lines));
}

std::optional<std::string> ProfileFile::value(std::string_view application,
                                              std::string_view key) const
{
    if (const Line *line = m_lines.setting(application, key))
        return line->value;
    return std::nullopt;
}

std::vector<ProfileFile::Line>::iterator ProfileFile::sectionEnd(std::vector<Line>::iterator header)
{
    return std::find_if(header + 1, m_lines.lines().end(), [](const Line &line) {
        return line.kind == Kind::Section;
    });
}

std::string ProfileFile::setValue(std::string_view application,
                                  std::string_view key,
                                  std::string_view value)
{
    if (application.empty() || key.empty())
        return "the application name and the key must not be empty";
    if (IniLines::trimmed(application) != application || IniLines::trimmed(key) != key)
        return "an application name or key cannot start or end with a blank";
    if (m_lines.hasControl(application) || m_lines.hasControl(key) || m_lines.hasControl(value))
        return "line breaks and control characters cannot be stored in a profile";
    if (IniLines::invalidUtf8(application) != std::string_view::npos
        || IniLines::invalidUtf8(key) != std::string_view::npos
        || IniLines::invalidUtf8(value) != std::string_view::npos)
        return "only UTF-8 text can be stored in a profile";
    if (key.find('=') != std::string_view::npos || key.starts_with('[') || IniLines::isComment(key))
        return "a key cannot contain \"=\" nor start with \"[\", \";\" or \"#\"";
    if (!m_lines.set(application, key, value))
        return "the value would need a line longer than " + std::to_string(maxLineLength)
               + " characters";
    return {};
}

bool ProfileFile::removeKey(std::string_view application, std::string_view key)
{
    std::vector<Line> &lines = m_lines.lines();
    const auto before = lines.size();
    std::erase_if(lines, [&](const Line &line) {
        return line.kind == Kind::Setting && line.section == application && line.key == key;
    });
    if (lines.size() == before)
        return false;

    // Drop sections of the application that hold nothing but blank lines now.
    for (auto header = lines.begin(); header != lines.end();) {
        if (header->kind != Kind::Section || header->section != application) {
            ++header;
            continue;
        }
        const auto end = sectionEnd(header);
        const bool empty = std::all_of(header + 1, end, [](const Line &line) {
            return IniLines::trimmed(line.text).empty();
        });
        header = empty ? lines.erase(header, end) : end;
    }
    return true;
}

bool ProfileFile::removeApplication(std::string_view application)
{
    std::vector<Line> &lines = m_lines.lines();
    bool removed = false;
    for (auto header = lines.begin(); header != lines.end();) {
        if (header->kind == Kind::Section && header->section == application) {
            header = lines.erase(header, sectionEnd(header));
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
    for (const Line &line : m_lines.lines()) {
        if (line.kind == Kind::Section
            && std::find(names.begin(), names.end(), line.section) == names.end())
            names.push_back(line.section);
    }
    return names;
}

std::vector<std::string> ProfileFile::keyNames(std::string_view application) const
{
    std::vector<std::string> names;
    for (const Line &line : m_lines.lines()) {
        if (line.kind == Kind::Setting && line.section == application
            && std::find(names.begin(), names.end(), line.key) == names.end())
            names.push_back(line.key);
    }
    return names;
}

std::string ProfileFile::text() const
{
    return m_lines.text();
}
