#pragma once

#include <string>
#include <vector>

namespace vyquext {

enum class SourceFormat { Fixed, Free };

/// A COBOL source held as lines, with what is needed to write it back unchanged: the line end of
/// the file and whether its last line was ended. Tabs are expanded (stops every 8 columns, as the
/// compiler does) in `lines`; `original` keeps the text as read, for lines nobody edits.
class SourceFile final
{
public:
    std::string path;
    std::vector<std::string> lines;    ///< tab-expanded, without line end
    std::vector<std::string> original; ///< as read, without line end
    SourceFormat format = SourceFormat::Fixed;
    bool crlf = false;        ///< the file's lines end in "\r\n"
    bool finalNewline = true; ///< the last line had a line end

    /// Reads `path`. Throws IAccessError naming the file when it cannot be read.
    static SourceFile load(const std::string &path);
    /// Splits `text` (used by `load` and by tests).
    static SourceFile fromText(const std::string &text, const std::string &path);

    /// Fixed, unless a ">>SOURCE FORMAT FREE" / "$SET SOURCEFORMAT"FREE"" directive appears in
    /// the first lines, or `freeByDefault` asks for free format and no directive says fixed.
    static SourceFormat detectFormat(const std::vector<std::string> &lines, bool freeByDefault);

    /// `text` with tabs expanded to the next multiple of 8 columns.
    static std::string expandTabs(const std::string &text);
};

} // namespace vyquext
