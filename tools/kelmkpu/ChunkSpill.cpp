#include "ChunkSpill.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace kelmkpu {

namespace {

std::array<std::vector<DbWriter::Chunks::Chunk> *, 3> listsOf(DbWriter::Chunks &chunks)
{
    return {&chunks.lines, &chunks.tokens, &chunks.nodes};
}

} // namespace

std::FILE *ChunkSpill::openUnnamedFile()
{
    const char *tmpdir = std::getenv("TMPDIR");
    const std::string directory = tmpdir && *tmpdir ? tmpdir : "/tmp";
    int fd = -1;
#ifdef O_TMPFILE
    fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
#endif
    if (fd < 0) {
        // A file system without unnamed files: a named one, unlinked at once.
        std::string name = directory + "/kelmkpu-spill-XXXXXX";
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        ::unlink(name.c_str());
    }
    std::FILE *file = ::fdopen(fd, "w+b");
    if (!file)
        ::close(fd);
    return file;
}

bool ChunkSpill::spill(DbWriter::Chunks &chunks)
{
    std::size_t bytes = 0;
    for (std::vector<DbWriter::Chunks::Chunk> *list : listsOf(chunks))
        for (const DbWriter::Chunks::Chunk &chunk : *list)
            bytes += chunk.data.size();
    if (bytes < m_minimumBytes)
        return false;
    std::unique_ptr<std::FILE, Closer> file(openUnnamedFile());
    if (!file)
        return false;
    for (std::vector<DbWriter::Chunks::Chunk> *list : listsOf(chunks))
        for (const DbWriter::Chunks::Chunk &chunk : *list)
            if (std::fwrite(chunk.data.data(), 1, chunk.data.size(), file.get())
                != chunk.data.size())
                return false;
    if (std::fflush(file.get()) != 0)
        return false;
    // Written: the sizes stay, the bytes go.
    for (std::size_t list = 0; list < 3; ++list)
        m_listStart[list] = m_sizes.size() + (list ? listsOf(chunks)[0]->size() : 0)
                            + (list == 2 ? listsOf(chunks)[1]->size() : 0);
    for (std::vector<DbWriter::Chunks::Chunk> *list : listsOf(chunks))
        for (DbWriter::Chunks::Chunk &chunk : *list) {
            m_sizes.push_back(chunk.data.size());
            std::string().swap(chunk.data);
        }
    m_file = std::move(file);
    return true;
}

bool ChunkSpill::spill(const DbImpactFacts &facts,
                       std::string &target,
                       const DbImpactFacts::PackedRecords *accesses,
                       const DbImpactFacts::PackedRecords *flows)
{
    if (!m_file || std::fseek(m_file.get(), 0, SEEK_END) != 0)
        return false;
    std::size_t size = 0;
    bool written = true;
    facts.encode(
        [&](std::string_view bytes) {
            written = written
                      && std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) == bytes.size();
            size += bytes.size();
        },
        accesses,
        flows);
    if (!written || std::fflush(m_file.get()) != 0)
        return false; // the bytes written are never read: restore reads only what it knows of
    m_extras.emplace_back(&target, size);
    return true;
}

bool ChunkSpill::read(std::size_t offset, std::size_t size, std::string &data, std::string &error)
{
    data.resize(size);
    if (std::fseek(m_file.get(), static_cast<long>(offset), SEEK_SET) == 0
        && std::fread(data.data(), 1, size, m_file.get()) == size)
        return true;
    error = std::string("the unit's records cannot be read back from their temporary file: ")
            + (std::ferror(m_file.get()) ? std::strerror(errno) : "it is too short");
    return false;
}

bool ChunkSpill::restoreFacts(std::size_t offset, std::string &error)
{
    for (const auto &[target, size] : m_extras) {
        if (!read(offset, size, *target, error))
            return false;
        offset += size;
    }
    m_extras.clear();
    return true;
}

bool ChunkSpill::restore(DbWriter::Chunks &chunks, std::string &error)
{
    if (!m_file)
        return true;
    std::size_t next = 0;
    std::size_t offset = 0;
    for (std::vector<DbWriter::Chunks::Chunk> *list : listsOf(chunks))
        for (DbWriter::Chunks::Chunk &chunk : *list) {
            const std::size_t size = next < m_sizes.size() ? m_sizes[next++] : 0;
            if (!read(offset, size, chunk.data, error))
                return false;
            offset += size;
        }
    if (!restoreFacts(offset, error))
        return false;
    m_file.reset();
    m_sizes.clear();
    return true;
}

bool ChunkSpill::restoreFactsOnly(DbWriter::Chunks &chunks, std::string &error)
{
    if (!m_file)
        return true;
    std::vector<std::size_t> offsets(m_sizes.size() + 1, 0);
    for (std::size_t i = 0; i < m_sizes.size(); ++i)
        offsets[i + 1] = offsets[i] + m_sizes[i];
    if (!restoreFacts(offsets.back(), error))
        return false;
    chunks.load = [this, offsets = std::move(offsets)](int list,
                                                       std::size_t index,
                                                       std::string &data,
                                                       std::string &error) {
        const std::size_t end = list >= 0 && list < 2 ? m_listStart[list + 1] : m_sizes.size();
        const std::size_t at = list >= 0 && list <= 2 ? m_listStart[list] + index : end;
        if (at >= end || at + 1 >= offsets.size()) {
            error = "a chunk of the unit's records was never kept";
            return false;
        }
        return read(offsets[at], offsets[at + 1] - offsets[at], data, error);
    };
    return true;
}

} // namespace kelmkpu
