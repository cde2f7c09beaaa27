#pragma once

#include "DbUnitData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {
class AdtFile;
}

namespace kelmkpu {

/// What a program unit's records were made from, so that a later run on the same input can
/// keep them and write only what the analysis found (UnitRecorder::refreshable): the wizard's
/// analysis loop runs kelmkpu on each source again and again with other seeds, and the records
/// (expanded source, tokens, syntax nodes, symbols, tree, impact facts) come out the same every
/// time.
///
/// The key covers everything the records depend on: the analysis data (its content digest), the
/// source and copybook files the expanded source reads again (path, size, times, file id: an
/// edit, a copy or a change of permissions gives another key), where the unit and its expanded
/// source are recorded, and the form of the records this build makes (`recordFormat`).
class UnitOrigin final
{
public:
    /// Raise when what the builder records for the same input changes.
    static constexpr std::uint32_t recordFormat = 1;

    /// The key of the records made from `file` for the unit of `sourceFile` with its expanded
    /// source at `expandedSourceFile`. Empty when there can be none: the file's statements,
    /// tokens or syntax nodes have been released, or a file the expanded source reads cannot be
    /// looked at.
    static std::string key(const cobol::AdtFile &file,
                           const std::string &sourceFile,
                           const std::string &expandedSourceFile);

    /// The findings key of a unit's marks and copybook layouts (DbUnitOrigin::findingsKey):
    /// equal for equal records.
    static std::string findingsKey(const std::vector<DbMarkRecord> &marks,
                                   const std::vector<DbCopybookItemRecord> &copybookItems);

    /// A regular file's size and modification time (nanoseconds since 1970); none when the
    /// file is missing or no regular file.
    struct FileStamp
    {
        std::uint64_t size = 0;
        std::int64_t modified = 0;
        bool operator==(const FileStamp &) const = default;
    };
    static std::optional<FileStamp> stamp(const std::string &path);

    /// What the builder keeps with the key: the expanded source file as it was written, and the
    /// unit tokens the marks go on.
    struct BuilderData
    {
        FileStamp expandedSource;
        std::vector<std::uint32_t> declaringTokens; ///< index: symbol number (0 unused)
        std::vector<std::uint32_t> statementTokens; ///< index: the model's statement
    };
    static std::string pack(const BuilderData &data);
    /// None when `bytes` are not what `pack` makes.
    static std::optional<BuilderData> unpack(std::string_view bytes);
};

} // namespace kelmkpu
