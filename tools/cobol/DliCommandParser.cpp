#include "DliCommandParser.h"

#include "ExecArgumentReader.h"

#include <map>
#include <set>

namespace cobol {

namespace {

struct Spelling
{
    const char *words;
    const char *command;
};

// The long spellings first, so that "GET NEXT IN PARENT" is not read as "GET NEXT".
constexpr Spelling spellings[] = {
    {"GET HOLD NEXT IN PARENT", "GHNP"},
    {"GET HOLD UNIQUE", "GHU"},
    {"GET HOLD NEXT", "GHN"},
    {"GET NEXT IN PARENT", "GNP"},
    {"GET UNIQUE", "GU"},
    {"GET NEXT", "GN"},
    {"INSERT", "ISRT"},
    {"REPLACE", "REPL"},
    {"DELETE", "DLET"},
    {"SCHEDULE", "SCHD"},
    {"TERMINATE", "TERM"},
    {"CHECKPOINT", "CHKP"},
};

const std::set<std::string, std::less<>> &commands()
{
    static const std::set<std::string, std::less<>> words
        = {"GU",   "GN",   "GNP",     "GHU",    "GHN", "GHNP", "ISRT",  "REPL",    "DLET", "SCHD",
           "TERM", "CHKP", "SYMCHKP", "XRST",   "LOG", "STAT", "QUERY", "REFRESH", "ROLL", "ROLB",
           "ROLS", "SETS", "SETU",    "ACCEPT", "DEQ", "LOAD", "POS",   "RETRIEVE"};
    return words;
}

/// What an option's argument is: S read, T written, B read and written.
char argumentOf(const std::string &option)
{
    static const std::map<std::string, char, std::less<>> options
        = {{"INTO", 'T'},      {"FROM", 'S'},        {"KEYFEEDBACK", 'T'}, {"FEEDBACKLEN", 'S'},
           {"SEGLENGTH", 'S'}, {"FIELDLENGTH", 'S'}, {"OFFSET", 'S'},      {"KEYLENGTH", 'S'},
           {"KEYS", 'S'},      {"PCB", 'S'},         {"PSB", 'S'},         {"ID", 'S'},
           {"MOVENEXT", 'S'},  {"LENGTH", 'S'},      {"VARIABLE", 'S'},    {"AREA1", 'B'},
           {"AREA2", 'B'},     {"AREA3", 'B'},       {"AREA4", 'B'},       {"AREA5", 'B'},
           {"AREA6", 'B'},     {"AREA7", 'B'},       {"LENGTH1", 'S'},     {"LENGTH2", 'S'},
           {"LENGTH3", 'S'},   {"LENGTH4", 'S'},     {"LENGTH5", 'S'},     {"LENGTH6", 'S'},
           {"LENGTH7", 'S'},   {"MAXLENGTH", 'S'},   {"TOKEN", 'S'},       {"STATUSCODE", 'T'},
           {"LOCKCLASS", 'S'}};
    const auto it = options.find(option);
    return it == options.end() ? '?' : it->second;
}

} // namespace

void DliCommandParser::where(Statement &statement,
                             std::size_t first,
                             std::size_t last,
                             const std::string &segment) const
{
    // WHERE(field op data-area [AND|OR|& ...]): the field is the segment's, the value the
    // program's.
    std::string field;
    std::size_t valueFirst = first;
    auto flush = [&](std::size_t end) {
        if (valueFirst >= end || field.empty())
            return;
        for (Operand &op : m_reader.operands(valueFirst, end, OperandRole::Source, "WHERE")) {
            op.column = segment.empty() ? field : segment + "." + field;
            statement.operands.push_back(std::move(op));
        }
    };
    for (std::size_t i = first; i < last; ++i) {
        const LexToken &t = m_reader.token(i);
        const bool relation = (t.kind == TokenKind::Punctuation
                               && (t.text() == "=" || t.text() == "<" || t.text() == ">"
                                   || t.text() == "<=" || t.text() == ">=" || t.text() == "<>"))
                              || (t.kind == TokenKind::Word
                                  && (t.upper() == "EQ" || t.upper() == "NE" || t.upper() == "GT"
                                      || t.upper() == "GE" || t.upper() == "LT"
                                      || t.upper() == "LE"));
        const bool connector = (t.kind == TokenKind::Word
                                && (t.upper() == "AND" || t.upper() == "OR"))
                               || (t.kind == TokenKind::Punctuation && t.text() == "&")
                               || (t.kind == TokenKind::Other && t.text() == "|");
        if (relation && i > first) {
            field = m_reader.token(i - 1).upper();
            valueFirst = i + 1;
        } else if (connector) {
            flush(i);
            field.clear();
        }
    }
    flush(last);
}

std::string DliCommandParser::command(std::size_t &i) const
{
    const ExecBlock &block = m_reader.block();
    std::string command;
    for (const Spelling &spelling : spellings) {
        std::size_t k = i;
        bool match = true;
        std::string words = spelling.words;
        for (std::size_t start = 0; match && start < words.size();) {
            std::size_t end = words.find(' ', start);
            if (end == std::string::npos)
                end = words.size();
            match = m_reader.isWord(k++, std::string_view(words).substr(start, end - start));
            start = end + 1;
        }
        if (match) {
            command = spelling.command;
            i = k;
            break;
        }
    }
    const LexToken &first = m_reader.token(block.bodyBegin);
    if (command.empty() && first.kind == TokenKind::Word) {
        command = first.upper();
        ++i;
        if (!commands().count(command))
            m_reader.diagnose(Diagnostic::Severity::Warning,
                              first.place,
                              "Unknown DL/I command " + command
                                  + ": its arguments are kept, but what it reads and writes is "
                                    "not known.");
    }
    if (command.empty())
        m_reader.diagnose(Diagnostic::Severity::Error,
                          m_reader.tokens()[block.begin].place,
                          "Expected a DL/I command after EXEC DLI, found "
                              + (first.text().empty() ? std::string("nothing")
                                                      : quoted(first.text()))
                              + ".");
    return command;
}

void DliCommandParser::parse(Statement &statement) const
{
    const ExecBlock &block = m_reader.block();
    std::size_t i = block.bodyBegin;
    const std::string command = this->command(i);
    if (command.empty()) {
        statement.detail = "DLI";
        return;
    }
    statement.detail = "DLI " + command;
    const bool known = commands().count(command) != 0;
    std::string segment;
    while (i < block.bodyEnd) {
        const LexToken &word = m_reader.token(i);
        if (word.kind != TokenKind::Word) {
            ++i;
            continue;
        }
        const std::string option(word.upper());
        if (!m_reader.isPunct(i + 1, "(")) {
            ++i; // USING, FIRST, LAST, CURRENT, LOCKED, SETPARENT, ... take no argument
            continue;
        }
        const std::size_t close = m_reader.closing(i + 1);
        const std::size_t argFirst = i + 2;
        i = close + 1;
        if (option == "SEGMENT" || option == "PSB") {
            // SEGMENT(name) and PSB(name) name a segment or a PSB; SEGMENT((area)) reads the
            // name from a data area.
            if (m_reader.isPunct(argFirst, "(")) {
                if (option == "SEGMENT")
                    segment.clear();
                for (Operand &op : m_reader.operands(argFirst + 1,
                                                     m_reader.closing(argFirst),
                                                     OperandRole::Source,
                                                     option))
                    statement.operands.push_back(std::move(op));
                continue;
            }
            const LexToken &name = m_reader.token(argFirst);
            if (option == "SEGMENT")
                segment = name.upper();
            Operand op;
            op.role = OperandRole::Source;
            op.kind = OperandKind::Literal;
            op.text = name.upper();
            op.place = name.place;
            op.option = option;
            statement.operands.push_back(std::move(op));
            continue;
        }
        if (option == "WHERE") {
            where(statement, argFirst, close, segment);
            continue;
        }
        const char code = known ? argumentOf(option) : '?';
        const OperandRole role = code == 'S'   ? OperandRole::Source
                                 : code == 'T' ? OperandRole::Target
                                 : code == 'B' ? OperandRole::Both
                                               : OperandRole::Argument;
        for (Operand &op : m_reader.operands(argFirst, close, role, option)) {
            if (option == "INTO" || option == "FROM")
                op.column = segment;
            statement.operands.push_back(std::move(op));
        }
    }
}

} // namespace cobol
