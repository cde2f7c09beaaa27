#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

/// The seed blocks of a seed file, as the engine writes them behind the user's own blocks:
/// "<SEED> <INCLUDE> name qualifier", one "<kind> <index> i <length> n" line per run, "</SEED>".
class SeedBlocks final
{
public:
    struct Run
    {
        std::string tag; ///< the kind tag without its angle brackets, e.g. "used-as-year"
        unsigned index = 0;
        unsigned length = 0;
    };

    /// Reads every block of `text`; lines outside blocks are ignored. Several blocks for the same
    /// include (the user's and the generated one) are kept in file order.
    static SeedBlocks parse(const std::string &text);

    /// The tag of the run that covers `byte` of the include "`copybook` `qualifier`", taken from
    /// the last block of that include; nothing when no run covers it.
    std::optional<std::string> kindAt(const std::string &copybook,
                                      const std::string &qualifier,
                                      unsigned byte) const;

    /// How many blocks name "`copybook` `qualifier`".
    int blockCount(const std::string &copybook, const std::string &qualifier) const;

    /// The runs of the last block of the include, "tag index length" each, for failure messages.
    std::string describe(const std::string &copybook, const std::string &qualifier) const;

private:
    std::map<std::string, std::vector<std::vector<Run>>> m_blocks;
};
