// The spill file of a unit's packed records: it lies where TMPDIR says, leaves no name behind,
// and gives back exactly the bytes it took.
#include "ChunkSpill.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

using namespace kelmkpu;

namespace {

/// Sets TMPDIR for one scope and puts the old value back.
class TmpdirOverride
{
public:
    explicit TmpdirOverride(const std::string &value)
    {
        if (const char *old = std::getenv("TMPDIR"))
            m_old = old;
        ::setenv("TMPDIR", value.c_str(), 1);
    }
    ~TmpdirOverride()
    {
        if (m_old)
            ::setenv("TMPDIR", m_old->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> m_old;
};

DbWriter::Chunks sampleChunks()
{
    DbWriter::Chunks chunks;
    chunks.lines = {{2, "line one\nline two"}, {0, ""}};
    chunks.tokens = {{3, std::string(100000, '\x7f') + std::string(1, '\0') + "end"}};
    chunks.nodes = {{1, "node"}};
    return chunks;
}

std::vector<std::string> bytesOf(const DbWriter::Chunks &chunks)
{
    std::vector<std::string> bytes;
    for (const auto *list : {&chunks.lines, &chunks.tokens, &chunks.nodes})
        for (const DbWriter::Chunks::Chunk &chunk : *list)
            bytes.push_back(chunk.data);
    return bytes;
}

TEST(ChunkSpill, spillsIntoTmpdirWithoutANameAndRestoresTheSameBytes)
{
    TemporaryDirectory home;
    const struct
    {
        const char *label;
        std::string tmpdir;
        std::size_t minimumBytes;
        bool spilled;
    } cases[] = {
        {"TMPDIR names a directory", home.dir(), 0, true},
        {"TMPDIR names no directory: nothing spilled, not /tmp", home.file("missing"), 0, false},
        {"fewer bytes than the minimum stay in memory", home.dir(), 200000, false},
    };
    for (const auto &c : cases)
        for (const bool lazily : {false, true}) {
            const std::string label = std::string(c.label) + (lazily ? ", read back lazily" : "");
            TmpdirOverride tmpdir(c.tmpdir);
            DbWriter::Chunks chunks = sampleChunks();
            const std::vector<std::string> before = bytesOf(chunks);
            DbImpactFacts facts;
            facts.program = "SPILLED";
            facts.files = {"/src/A.cbl", "COPYA"};
            DbImpactFacts::PackedRecords accesses;
            accesses.add(DbImpactFacts::Access{0, {1, 300, 2}, DbImpactFacts::write});
            std::string packedFacts;

            ChunkSpill spill(c.minimumBytes);
            ASSERT_EQ(spill.spill(chunks), c.spilled) << label;
            EXPECT_EQ(spill.spill(facts, packedFacts, &accesses), c.spilled) << label;
            if (c.spilled) {
                EXPECT_TRUE(chunks.tokens[0].data.empty()) << label << ": the bytes left memory";
                EXPECT_TRUE(std::filesystem::is_empty(home.dir())) << label << ": no name left";
            }
            std::string error;
            ASSERT_TRUE(lazily ? spill.restoreFactsOnly(chunks, error)
                               : spill.restore(chunks, error))
                << label << ": " << error;
            EXPECT_EQ(packedFacts, c.spilled ? facts.encode(&accesses) : std::string()) << label;
            if (lazily && c.spilled) {
                // Each chunk read back on its own, as the database write asks for it; a chunk
                // never spilled is an error, not another chunk's bytes.
                ASSERT_TRUE(chunks.load) << label;
                EXPECT_TRUE(chunks.tokens[0].data.empty()) << label << ": not read back yet";
                std::size_t list = 0;
                for (auto *chunkList : {&chunks.lines, &chunks.tokens, &chunks.nodes}) {
                    for (std::size_t i = chunkList->size(); i-- > 0;)
                        ASSERT_TRUE(
                            chunks.load(static_cast<int>(list), i, (*chunkList)[i].data, error))
                            << label << ": " << error;
                    EXPECT_FALSE(
                        chunks.load(static_cast<int>(list), chunkList->size(), packedFacts, error))
                        << label;
                    ++list;
                }
            }
            EXPECT_EQ(bytesOf(chunks), before) << label;
        }
}

} // namespace
