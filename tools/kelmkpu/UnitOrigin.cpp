#include "UnitOrigin.h"

#include "AdtCodec.h"
#include "AdtFile.h"
#include "AnalysisData.h"
#include "ContentDigest.h"
#include "DbSchema.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>

namespace kelmkpu {

namespace {

constexpr std::uint8_t builderDataFormat = 1;

void putNumbers(cobol::adt::ByteWriter &out, const std::vector<std::uint32_t> &numbers)
{
    // Tokens rise through a unit almost everywhere: differences take a byte or two.
    out.number(numbers.size());
    std::int64_t previous = 0;
    for (const std::uint32_t n : numbers) {
        out.signedNumber(static_cast<std::int64_t>(n) - previous);
        previous = n;
    }
}

bool getNumbers(cobol::adt::ByteReader &in, std::vector<std::uint32_t> &numbers)
{
    const std::uint64_t count = in.number();
    // Every number takes a byte at least: a damaged count must not reserve gigabytes.
    if (in.failed() || count > in.left())
        return false;
    numbers.resize(static_cast<std::size_t>(count));
    std::int64_t previous = 0;
    for (std::uint32_t &n : numbers) {
        previous += in.signedNumber();
        if (previous < 0 || previous > UINT32_MAX)
            return false;
        n = static_cast<std::uint32_t>(previous);
    }
    return !in.failed();
}

} // namespace

std::string UnitOrigin::key(const cobol::AdtFile &file,
                            const std::string &sourceFile,
                            const std::string &expandedSourceFile)
{
    const std::string content = file.contentDigest();
    if (content.empty())
        return {};
    cobol::ContentDigest digest;
    digest.add(recordFormat).add(static_cast<std::uint64_t>(DbSchema::version));
    digest.add(content).add(sourceFile).add(expandedSourceFile);
    const cobol::AnalysisData &data = file.data();
    const std::size_t includes = std::max<std::size_t>(1, data.includes.size());
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < includes; ++i) {
        const std::string &path = data.fileOf(static_cast<std::uint32_t>(i));
        if (!seen.insert(path).second)
            continue;
        struct stat s
        {};
        if (::stat(path.c_str(), &s) != 0 || !S_ISREG(s.st_mode))
            return {};
        digest.add(path)
            .add(static_cast<std::uint64_t>(s.st_size))
            .add(static_cast<std::uint64_t>(s.st_mtim.tv_sec) * 1000000000u
                 + static_cast<std::uint64_t>(s.st_mtim.tv_nsec))
            .add(static_cast<std::uint64_t>(s.st_ctim.tv_sec) * 1000000000u
                 + static_cast<std::uint64_t>(s.st_ctim.tv_nsec))
            .add(static_cast<std::uint64_t>(s.st_dev))
            .add(static_cast<std::uint64_t>(s.st_ino));
    }
    return digest.hex();
}

std::string UnitOrigin::findingsKey(const std::vector<DbMarkRecord> &marks,
                                    const std::vector<DbCopybookItemRecord> &copybookItems)
{
    cobol::ContentDigest digest;
    digest.add(marks.size());
    for (const DbMarkRecord &m : marks)
        digest.add(m.kind).add(m.token).add(m.symbol).add(m.text);
    digest.add(copybookItems.size());
    for (const DbCopybookItemRecord &c : copybookItems) {
        digest.add(c.copybook).add(c.qualifier).add(c.level).add(c.name).add(c.parent);
        digest.add(c.base).add(c.offset).add(c.length).add(c.occursMax).add(c.usage);
        digest.add(c.picture).add(c.line).add(c.varies ? 1u : 0u).add(c.synchronized ? 1u : 0u);
        digest.add(c.dateText);
    }
    return digest.hex();
}

std::optional<UnitOrigin::FileStamp> UnitOrigin::stamp(const std::string &path)
{
    struct stat s
    {};
    if (::stat(path.c_str(), &s) != 0 || !S_ISREG(s.st_mode))
        return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(s.st_size),
                     static_cast<std::int64_t>(s.st_mtim.tv_sec) * 1000000000
                         + static_cast<std::int64_t>(s.st_mtim.tv_nsec)};
}

std::string UnitOrigin::pack(const BuilderData &data)
{
    std::string bytes;
    {
        cobol::adt::ByteWriter out(bytes);
        out.byte(builderDataFormat);
        out.number(data.expandedSource.size);
        out.signedNumber(data.expandedSource.modified);
        putNumbers(out, data.declaringTokens);
        putNumbers(out, data.statementTokens);
    }
    return bytes;
}

std::optional<UnitOrigin::BuilderData> UnitOrigin::unpack(std::string_view bytes)
{
    cobol::adt::ByteReader in(bytes);
    BuilderData data;
    if (in.byte() != builderDataFormat)
        return std::nullopt;
    data.expandedSource.size = in.number();
    data.expandedSource.modified = in.signedNumber();
    if (!getNumbers(in, data.declaringTokens) || !getNumbers(in, data.statementTokens)
        || !in.atEnd())
        return std::nullopt;
    return data;
}

} // namespace kelmkpu
