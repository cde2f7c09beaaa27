#include "CicsCommandParser.h"

#include "CicsCommandTable.h"
#include "ExecArgumentReader.h"

#include <cctype>

namespace cobol {

void CicsCommandParser::argument(Statement &statement,
                                 const std::string &option,
                                 CicsCommandTable::Argument kind,
                                 std::size_t first,
                                 std::size_t last) const
{
    OperandRole role = OperandRole::Argument;
    switch (kind) {
    case CicsCommandTable::Argument::Label:
        for (std::size_t k = first; k < last; ++k) {
            const LexToken &label = m_reader.token(k);
            if (label.kind != TokenKind::Word)
                continue;
            Operand op;
            op.role = OperandRole::Procedure;
            op.kind = OperandKind::Literal;
            op.text = label.upper();
            op.place = label.place;
            op.option = option;
            statement.operands.push_back(std::move(op));
        }
        return;
    case CicsCommandTable::Argument::Source:
    case CicsCommandTable::Argument::Name:
    case CicsCommandTable::Argument::OptionalSource:
        role = OperandRole::Source;
        break;
    case CicsCommandTable::Argument::Target:
        role = OperandRole::Target;
        break;
    case CicsCommandTable::Argument::Both:
        role = OperandRole::Both;
        break;
    case CicsCommandTable::Argument::Flag:
    case CicsCommandTable::Argument::Unknown:
        role = OperandRole::Argument;
        break;
    }
    for (Operand &op : m_reader.operands(first, last, role, option))
        statement.operands.push_back(std::move(op));
}

void CicsCommandParser::parse(Statement &statement) const
{
    const ExecBlock &block = m_reader.block();
    std::size_t i = block.bodyBegin;
    const LexToken &first = m_reader.token(i);
    if (first.kind != TokenKind::Word) {
        m_reader.diagnose(Diagnostic::Severity::Error,
                          m_reader.tokens()[block.begin].place,
                          "Expected a CICS command after EXEC CICS, found "
                              + (first.text().empty() ? std::string("nothing")
                                                      : quoted(first.text()))
                              + ".");
        statement.detail = "CICS";
        return;
    }
    const LexToken &second = m_reader.token(i + 1);
    int words = 0;
    const std::string command(CicsCommandTable::command(first.upper(),
                                                        second.kind == TokenKind::Word
                                                            ? std::string_view(second.upper())
                                                            : std::string_view(),
                                                        words));
    const bool known = !command.empty();
    if (!known)
        m_reader.diagnose(Diagnostic::Severity::Warning,
                          first.place,
                          "Unknown CICS command " + std::string(first.upper())
                              + ": its arguments are kept, but what it reads and writes is not "
                                "known.");
    statement.detail = "CICS " + (known ? command : std::string(first.upper()));
    ++i;
    // A second command word with an argument is also the first option (SEND MAP('M1')).
    if (words == 2 && !m_reader.isPunct(i + 1, "("))
        ++i;

    bool mapOnly = false;
    while (i < block.bodyEnd) {
        const LexToken &word = m_reader.token(i);
        if (word.kind != TokenKind::Word) {
            m_reader.diagnose(Diagnostic::Severity::Warning,
                              word.place,
                              "Expected an option of CICS "
                                  + (known ? command : std::string(first.upper())) + ", found \""
                                  + std::string(word.text()) + "\".");
            ++i;
            continue;
        }
        const std::string option(word.upper());
        std::size_t argFirst = 0, argLast = 0;
        const bool hasArgument = m_reader.isPunct(i + 1, "(");
        if (hasArgument) {
            const std::size_t close = m_reader.closing(i + 1);
            argFirst = i + 2;
            argLast = close;
            i = close + 1;
        } else {
            ++i;
        }
        CicsCommandTable::Argument kind = known ? CicsCommandTable::argument(command, option)
                                                : CicsCommandTable::Argument::Unknown;
        if (known && kind == CicsCommandTable::Argument::Unknown)
            m_reader.diagnose(Diagnostic::Severity::Information,
                              word.place,
                              "The option " + option + " is not known for CICS " + command
                                  + "; its argument is kept with an unknown direction.");
        if (!hasArgument) {
            mapOnly = mapOnly || option == "MAPONLY";
            continue;
        }
        argument(statement, option, kind, argFirst, argLast);
    }
    if ((command == "SEND MAP" && !mapOnly) || command == "RECEIVE MAP")
        implicitMapArea(statement, command);
}

void CicsCommandParser::implicitMapArea(Statement &statement, const std::string &command) const
{
    const bool send = command == "SEND MAP";
    const Operand *map = nullptr;
    for (const Operand &op : statement.operands) {
        if (op.option == "MAP" && op.kind == OperandKind::Literal)
            map = &op;
        if ((send && op.option == "FROM") || (!send && (op.option == "INTO" || op.option == "SET")))
            return;
    }
    if (!map || map->text.size() < 3)
        return;
    std::string name = map->text.substr(1, map->text.size() - 2);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    for (char &c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    name += send ? "O" : "I";
    const std::uint32_t item = m_reader.symbols().resolve(name, {});
    if (item == 0)
        return;
    Operand area;
    area.role = send ? OperandRole::Source : OperandRole::Target;
    area.kind = OperandKind::Item;
    area.item = item;
    area.text = name;
    area.place = map->place;
    area.option = send ? "FROM" : "INTO";
    statement.operands.push_back(std::move(area));
}

} // namespace cobol
