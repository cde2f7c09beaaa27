#include "SeedBlocks.h"

#include <sstream>

SeedBlocks SeedBlocks::parse(const std::string &text)
{
    SeedBlocks blocks;
    std::istringstream in(text);
    std::vector<Run> *current = nullptr;
    for (std::string line; std::getline(in, line);) {
        const std::string opening = "<SEED> <INCLUDE> ";
        if (line.starts_with(opening)) {
            std::vector<std::vector<Run>> &list = blocks.m_blocks[line.substr(opening.size())];
            list.emplace_back();
            current = &list.back();
            continue;
        }
        if (line.starts_with("</SEED>")) {
            current = nullptr;
            continue;
        }
        if (!current)
            continue;
        std::istringstream words(line);
        std::string tag;
        std::string indexWord;
        std::string lengthWord;
        Run run;
        if (words >> tag >> indexWord >> run.index >> lengthWord >> run.length && tag.size() > 2
            && tag.front() == '<' && tag.back() == '>') {
            run.tag = tag.substr(1, tag.size() - 2);
            current->push_back(run);
        }
    }
    return blocks;
}

std::optional<std::string> SeedBlocks::kindAt(const std::string &copybook,
                                              const std::string &qualifier,
                                              unsigned byte) const
{
    const auto found = m_blocks.find(copybook + " " + qualifier);
    if (found == m_blocks.end() || found->second.empty())
        return std::nullopt;
    for (const Run &run : found->second.back())
        if (byte >= run.index && byte < run.index + run.length)
            return run.tag;
    return std::nullopt;
}

int SeedBlocks::blockCount(const std::string &copybook, const std::string &qualifier) const
{
    const auto found = m_blocks.find(copybook + " " + qualifier);
    return found == m_blocks.end() ? 0 : int(found->second.size());
}

std::string SeedBlocks::describe(const std::string &copybook, const std::string &qualifier) const
{
    const auto found = m_blocks.find(copybook + " " + qualifier);
    if (found == m_blocks.end() || found->second.empty())
        return "(no block)";
    std::string text;
    for (const Run &run : found->second.back())
        text += run.tag + " " + std::to_string(run.index) + " " + std::to_string(run.length) + "; ";
    return text;
}
