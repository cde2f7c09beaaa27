#pragma once

#include "DbUnitData.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// Records program units in an analysis database: the writer side that kelmkpu uses.
///
/// Each `record` call is one short write transaction that replaces the unit with the same source
/// file (keeping its number in the execution unit) or adds it, so readers see either the old
/// unit or the new one, never half of either; a failure or a killed process leaves the old unit
/// as it was. The file is created when missing (WAL mode). Several processes may record units in
/// the same file at the same time: a writer waits for another's lock (up to
/// `busyTimeoutMs`) instead of failing.
class DbConnection;

class DbWriter final
{
public:
    /// A unit's large lists (tokens, syntax nodes, expanded source) packed for writing, so that
    /// a caller can pack them while it still works on the rest (marks, for one).
    struct Chunks
    {
        struct Chunk
        {
            std::size_t count = 0;
            std::string data;
        };
        std::vector<Chunk> lines;
        std::vector<Chunk> tokens;
        std::vector<Chunk> nodes;
        std::size_t lineCount = 0;
        std::size_t tokenCount = 0;
        std::size_t nodeCount = 0;
        /// The first inconsistency of the records packed (DbUnitPacker); empty when none.
        std::string error;
        /// For a caller that keeps the chunks' bytes elsewhere (a file) until the write: when
        /// set, a chunk whose `data` is empty is read through it just before it is written and
        /// dropped after, so that the bytes of one chunk at a time are in memory.
        /// `load(list, index, data, error)` fills `data` with the bytes of chunk `index` of
        /// `lines` (list 0), `tokens` (1) or `nodes` (2); false with `error` set when it cannot.
        std::function<bool(int list, std::size_t index, std::string &data, std::string &error)>
            load;
    };

    /// Packs the tokens, syntax nodes and lines of `unit`.
    static Chunks encode(const DbUnitData &unit);

    static constexpr int busyTimeoutMs = 120000;

    /// Records `unit` in the database `fileName` of the execution unit `euName` (the
    /// execution unit takes that name), waiting up to `waitMs` for other writers. Throws KelMsgException naming the file and the unit when
    /// the unit is inconsistent or the file cannot be written, is locked past the wait, is not an
    /// analysis database or has a newer schema.
    /// `chunks`, when given, hold the unit's tokens, nodes and lines: `encode(unit)`, or packed
    /// by a DbUnitPacker while `unit` holds none of them.
    /// A unit not yet in the file takes the unit number `number` when it is above 0 and no
    /// unit has it, else the number after the highest ever given; a unit recorded again keeps
    /// its number.
    static void record(const std::string &fileName,
                       const std::string &euName,
                       const DbUnitData &unit,
                       int waitMs = busyTimeoutMs,
                       const Chunks *chunks = nullptr,
                       std::int64_t number = 0);

    /// What changes when a unit is recorded again from the records it was recorded from: the
    /// analysis's part.
    struct Refresh
    {
        std::string sourceFile; ///< the unit's identity
        std::string originKey;  ///< what its records must have been made from
        /// What `marks` and `copybookItems` are made from: when the unit holds marks and
        /// layouts made from the same, they are not written again.
        std::string findingsKey;
        DbPuState state = DbPuState::analyzed;
        std::int64_t timeStamp = 0;
        std::vector<DbMarkRecord> marks;
        std::vector<DbCopybookItemRecord> copybookItems;
    };
    /// Brings the unit whose source file is `refresh.sourceFile` up to date in one write
    /// transaction, when its origin's key is still `refresh.originKey`: its state and time
    /// stamp, its marks and the layouts of its copybooks (unless their findings key is the
    /// same as before); the execution unit takes the name
    /// `euName`. Everything else stays as it was. False, with nothing written, when the unit is
    /// gone or was recorded since from something else: the caller then records it whole. Throws
    /// as `record` does.
    static bool refresh(const std::string &fileName,
                        const std::string &euName,
                        const Refresh &refresh,
                        int waitMs = busyTimeoutMs);

    /// A unit recorded before with an origin (DbUnitData::origin), found through a connection
    /// that stays open to bring the unit up to date: one connection, and one reading of the
    /// schema, for both (a small unit's run is a few milliseconds, and opening a database is a
    /// good part of one).
    class RecordedUnit final
    {
    public:
        ~RecordedUnit();
        RecordedUnit(const RecordedUnit &) = delete;
        RecordedUnit &operator=(const RecordedUnit &) = delete;

        const DbUnitOrigin &origin() const { return m_origin; }
        /// DbWriter::refresh through this connection.
        bool refresh(const std::string &euName, const Refresh &refresh);

    private:
        friend class DbWriter;
        RecordedUnit() = default;
        std::unique_ptr<DbConnection> m_connection;
        DbUnitOrigin m_origin;
    };
    /// The unit whose source file is `sourceFile` as recorded in `fileName`, read without
    /// changing what the file holds; null when there is no such file, unit or origin, or the
    /// file cannot be read (a writer then records the unit whole, and reports what is wrong).
    static std::unique_ptr<RecordedUnit> recordedUnit(const std::string &fileName,
                                                      const std::string &sourceFile,
                                                      int waitMs = busyTimeoutMs) noexcept;

    /// Removes the unit whose source file is `sourceFile`; false when there was none.
    static bool remove(const std::string &fileName, const std::string &sourceFile);

private:
    static bool refreshThrough(DbConnection &connection,
                               const std::string &euName,
                               const Refresh &refresh);
};
