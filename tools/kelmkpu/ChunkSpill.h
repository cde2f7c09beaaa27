#pragma once

#include "DbImpactFacts.h"
#include "DbWriter.h"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kelmkpu {

/// Keeps a unit's packed lines, tokens and syntax nodes (megabytes for a large program) in an
/// unnamed temporary file while the analysis runs, instead of in memory, and reads them back
/// for the database write. The file lies in `TMPDIR` (else /tmp) and has no name, so it goes
/// when the spill goes (or the process ends).
class ChunkSpill final
{
public:
    /// Below this many bytes the chunks stay in memory: a file would cost a small unit's run
    /// more than the memory it frees is worth.
    static constexpr std::size_t defaultMinimumBytes = 1 << 20;

    explicit ChunkSpill(std::size_t minimumBytes = defaultMinimumBytes)
        : m_minimumBytes(minimumBytes)
    {}

    /// Moves the bytes of `chunks` to a temporary file, leaving their counts. False, with
    /// `chunks` as they were, when they are fewer than the minimum bytes or no temporary file
    /// can be written: they then stay in memory.
    bool spill(DbWriter::Chunks &chunks);
    /// Adds `facts`, packed (DbImpactFacts::encode, with `accesses` and `flows`), to the file
    /// of an earlier `spill`, for `restore` to put in `target`. False when there is no such
    /// file or it cannot be written: nothing is then kept for `target`.
    bool spill(const DbImpactFacts &facts,
               std::string &target,
               const DbImpactFacts::PackedRecords *accesses = nullptr,
               const DbImpactFacts::PackedRecords *flows = nullptr);
    /// Puts the bytes spilled back into `chunks` and the targets of the packed facts (nothing
    /// to do when none were spilled). False with the reason on `error` when the file cannot
    /// be read.
    bool restore(DbWriter::Chunks &chunks, std::string &error);
    /// As `restore` for the packed facts; the chunks stay in the file, and `chunks.load` reads
    /// each back when the database write needs it (DbWriter::Chunks::load), so that one chunk
    /// at a time is in memory. The spill must outlive the write.
    bool restoreFactsOnly(DbWriter::Chunks &chunks, std::string &error);

    /// An unnamed file opened for reading and writing in `TMPDIR` (else /tmp); null when none
    /// can be made there.
    static std::FILE *openUnnamedFile();

private:
    struct Closer
    {
        void operator()(std::FILE *file) const noexcept { std::fclose(file); }
    };
    std::size_t m_minimumBytes;
    std::unique_ptr<std::FILE, Closer> m_file;
    /// Reads `size` bytes at `offset` of the file into `data`.
    bool read(std::size_t offset, std::size_t size, std::string &data, std::string &error);
    /// Puts the packed facts in their targets, reading from `offset` on.
    bool restoreFacts(std::size_t offset, std::string &error);

    std::vector<std::size_t> m_sizes; ///< per chunk, lines then tokens then nodes
    std::size_t m_listStart[3] = {};  ///< the index in m_sizes of each list's first chunk
    std::vector<std::pair<std::string *, std::size_t>> m_extras; ///< after the chunks
};

} // namespace kelmkpu
