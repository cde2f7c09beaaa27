#pragma once

#include "DateKind.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kelmkpu {

/// One run of a seed block: `length` bytes from the 1-based byte `index` of a copybook's own
/// layout carry `kind`.
struct SeedRun
{
    DateKind kind = DateKind::UsedAsYear;
    std::uint32_t index = 0;
    std::uint32_t length = 0;
};

/// The seed blocks of a seed file, grouped per (copybook, include qualifier). The file holds the
/// user's own blocks followed by the blocks the engine generated from earlier analyses, all in the
/// same form:
///
///     <SEED> <INCLUDE> DATEREC QUAL
///       <always-year> <index> 17 <length> 2
///     </SEED>
///
/// Lines outside blocks are ignored. Later blocks for the same copybook and qualifier add their
/// runs to the earlier ones; the analysis joins them byte by byte.
class SeedFile final
{
public:
    using Key = std::pair<std::string, std::string>; ///< copybook name, include qualifier

    /// Reads `path`. Returns false with `error` set ("cannot open ...") when the file cannot be
    /// read; malformed lines are not errors but warnings (see warnings()).
    bool read(const std::string &path, std::string &error);

    /// Parses seed text; `origin` names the text in warnings.
    void parse(std::istream &in, const std::string &origin);

    /// The runs for one include, in file order; null when the seed file has none.
    const std::vector<SeedRun> *runsFor(const std::string &copybook,
                                        const std::string &qualifier) const;

    const std::map<Key, std::vector<SeedRun>> &blocks() const { return m_blocks; }

    /// Lines that were not understood, each naming the origin, the line, what was expected and
    /// what was found.
    const std::vector<std::string> &warnings() const { return m_warnings; }

private:
    /// `where` names the file and line, for a warning.
    void parseRunLine(const std::string &line,
                      const std::function<std::string()> &where,
                      std::vector<SeedRun> &runs);

    std::map<Key, std::vector<SeedRun>> m_blocks;
    std::vector<std::string> m_warnings;
};

} // namespace kelmkpu
