#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The lines of an INI text (`[section]` headers, `key=value` settings, comments), kept as they
/// stand so that a change writes back every other line untouched. The common ground of the
/// profile files and the settings files: each decides what it accepts through `Rules` and words
/// its own problems; this class splits, checks and classifies lines, finds settings and adds or
/// replaces them in place.
///
/// Blanks around section names, keys and values are ignored; a value in double quotes loses
/// them, so that leading and trailing blanks survive (settingLine adds the quotes when needed).
/// Lines starting with ";" or "#" are comments. Settings before the first header and lines that
/// are neither headers, settings nor comments are kept but carry nothing. When a section or key
/// occurs more than once, the first occurrence counts.
class IniLines final
{
public:
    /// What a kind of INI file accepts.
    struct Rules
    {
        std::size_t maxFileSize = 0;   ///< largest text accepted, in bytes
        std::size_t maxLineLength = 0; ///< longest line accepted, in bytes, without its end
        std::string_view fileKind;     ///< "a profile": how problems name the file
        bool utf8Only = false;         ///< refuse text that is not well-formed UTF-8
        bool deleteIsControl = false;  ///< refuse DEL (0x7F) as well as C0 controls
        /// A header's name runs to the "]" that ends the line (names may hold "]"); otherwise to
        /// the first "]" of the line.
        bool headerEndsAtLineEnd = false;
        bool caselessNames = false; ///< sections and keys match without regard to ASCII case
    };

    struct Line
    {
        enum class Kind { Other, Section, Setting };
        Kind kind = Kind::Other;
        std::string text;    ///< the line as it stands in the file
        std::string section; ///< Section: its name; Setting: the section it belongs to
        std::string key;     ///< Setting only
        std::string value;   ///< Setting only, quotes removed
    };

    /// Parses `text`. Returns the lines, or nothing and the first problem in `problem`
    /// ("line 3: a section header without its closing \"]\""): a text larger than the rules'
    /// maximum, a line longer than theirs, control characters other than tab and line ends,
    /// text that is not UTF-8 (when the rules ask for it), a header without its "]".
    static std::optional<IniLines> parse(std::string_view text,
                                         const Rules &rules,
                                         std::string &problem);

    /// An empty text read by `rules`.
    explicit IniLines(const Rules &rules)
        : m_rules(rules)
    {}

    /// The first setting `key` of section `section`; null when there is none.
    const Line *setting(std::string_view section, std::string_view key) const;

    /// Replaces the first setting `key` of `section` (keeping the spelling of its key) or adds
    /// it after the last setting of the section's first occurrence (a new section goes to the end
    /// of the file). False, and nothing changed, when a line would exceed the rules' maximum.
    /// The caller has checked that the names and the value can be stored at all.
    bool set(std::string_view section, std::string_view key, std::string_view value);

    /// The lines in file order, for callers that remove or list them.
    std::vector<Line> &lines() { return m_lines; }
    const std::vector<Line> &lines() const { return m_lines; }

    /// Whether two section names or keys match under the rules.
    bool sameName(std::string_view a, std::string_view b) const;

    /// The text, lines ended by "\n", after the byte order mark when the parsed text had one.
    std::string text() const;

    /// "key=value", the value quoted when blanks at its ends or quotes would otherwise be lost.
    static std::string settingLine(std::string_view key, std::string_view value);

    static bool isBlank(char c) { return c == ' ' || c == '\t'; }
    /// `text` without blanks at either end.
    static std::string_view trimmed(std::string_view text);
    /// Whether a line's content (trimmed) is a comment.
    static bool isComment(std::string_view content);
    /// Whether `text` holds a character the rules do not accept in a line.
    bool hasControl(std::string_view text) const;
    /// Position of the first byte that does not belong to well-formed UTF-8, or npos.
    static std::size_t invalidUtf8(std::string_view text);

private:
    bool isControl(char c) const;

    Rules m_rules;
    std::vector<Line> m_lines;
    bool m_byteOrderMark = false; ///< the text began with one (text() writes it back)
};
