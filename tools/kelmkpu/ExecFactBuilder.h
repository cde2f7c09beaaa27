#pragma once

#include "ProgramModel.h"

#include <functional>
#include <map>
#include <string>

namespace cobol {
class AnalysisData;
struct Operand;
struct SourcePlace;
struct Statement;
} // namespace cobol

namespace kelmkpu {

/// Turns the EXEC CICS, EXEC SQL and EXEC DLI statements of the analysis data into the
/// analyser's facts (README.md, "EXEC blocks"):
///
/// - date evidence where a command says where the year is: the CICS FORMATTIME options
///   (YYMMDD, DDMMYYYY, YEAR, ... with DATESEP moving the year of the year-last forms), EIBDATE
///   (0CYYDDD packed: the year is the byte of the third and fourth digits) when the program uses
///   it, SQL host variables of DATE and TIMESTAMP columns and of CURRENT DATE / TIMESTAMP, and
///   the DCLGEN items of DECLARE TABLE's DATE and TIMESTAMP columns;
/// - non-year evidence on FORMATTIME's DAYOFMONTH, MONTHOFYEAR and DAYOFWEEK;
/// - data flow as a MOVE where the direction is known: an SQL column, a CICS file, queue, map or
///   container, a DL/I segment is a storage of its own (the DCLGEN item of a declared column)
///   that what a command writes from flows into and what it reads into flows out of; SQL
///   predicates and DL/I qualifications compare as a relational condition does; RETURN
///   TRANSID(EIBTRNID) COMMAREA(x) moves x into the next task's DFHCOMMAREA. Arguments whose
///   direction is not known give nothing.
class ExecFactBuilder final
{
public:
    using PosOf = std::function<SourcePos(const cobol::SourcePlace &)>;
    using OperandOf = std::function<Operand(const cobol::Operand &)>;
    /// Whether the statement's own tokens hold the upper-case word, in any letter case.
    using HasWord = std::function<bool(const cobol::Statement &, std::string_view)>;

    /// `data` gives the items and includes (its statements and tokens are not read).
    ExecFactBuilder(const cobol::AnalysisData &data,
                    ProgramModel &model,
                    PosOf pos,
                    OperandOf operand,
                    HasWord hasWord)
        : m_data(data)
        , m_model(model)
        , m_pos(std::move(pos))
        , m_operand(std::move(operand))
        , m_hasWord(std::move(hasWord))
    {}

    /// The facts of one statement of kind Exec.
    void add(const cobol::Statement &statement);
    /// The facts that hold for the whole program (EIBDATE); call once, after all statements.
    /// `used(item id)` says whether any statement names the item as an operand.
    void finish(const std::function<bool(std::uint32_t)> &used);

private:
    void cics(const cobol::Statement &statement, const std::string &command);
    void sql(const cobol::Statement &statement);
    void dli(const cobol::Statement &statement);
    void formatTime(const cobol::Statement &statement);
    void resourceFlows(const cobol::Statement &statement, const std::string &key);

    /// The model item standing for `key`, made (shaped like `like`) the first time.
    std::uint32_t resource(const std::string &key, const Operand &like);
    void yearAt(const cobol::Statement &statement,
                const cobol::Operand &operand,
                std::uint32_t first,
                std::uint32_t count,
                const std::string &text);
    void nonYear(const cobol::Statement &statement,
                 const cobol::Operand &operand,
                 const std::string &text);
    void move(const cobol::Statement &statement,
              const Operand &from,
              const Operand &to,
              const std::string &text);
    void compare(const cobol::Statement &statement,
                 const Operand &a,
                 const Operand &b,
                 const std::string &text);
    void note(const cobol::Statement &statement, const std::string &text);

    const cobol::AnalysisData &m_data;
    ProgramModel &m_model;
    PosOf m_pos;
    OperandOf m_operand;
    HasWord m_hasWord;
    std::map<std::string, std::uint32_t> m_resources; ///< key -> model item
    std::map<std::string, std::uint32_t> m_columns;   ///< "TABLE.COLUMN" -> DCLGEN model item
};

} // namespace kelmkpu
