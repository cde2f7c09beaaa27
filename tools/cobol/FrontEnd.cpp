#include "FrontEnd.h"

#include "DataDivisionParser.h"
#include "IException.h"
#include "ImplicitBlocks.h"
#include "InstallPaths.h"
#include "Layout.h"
#include "PathNames.h"
#include "Preprocessor.h"
#include "ProcedureParser.h"
#include "RegularFile.h"
#include "SyntaxTree.h"
#include "TokenCursor.h"
#include "TokenRoles.h"

#include <fstream>
#include <sstream>

namespace cobol {

using namespace std::string_view_literals;

std::vector<std::string> FrontEnd::splitSearchPath(std::string_view value)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(':', start);
        if (end == std::string_view::npos)
            end = value.size();
        if (end > start)
            parts.emplace_back(value.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string FrontEnd::systemCopybookDirectory()
{
    return PathNames::join(InstallPaths::dataDirectory(), "copybooks");
}

FrontEnd::Result FrontEnd::parseFile(const std::string &path) const
{
    // Only a regular file is read: a FIFO named as the source would block for ever.
    const RegularFile::Result source = RegularFile::read(path);
    if (!source)
        ITHROW(IAccessError("The COBOL source " + path + " " + source.problem + "."));
    return parseText(path, source.text);
}

FrontEnd::Result FrontEnd::parseText(const std::string &path, std::string_view text) const
{
    Result result;
    AnalysisData &data = result.data;
    data.sourcePath = path;
    data.dialect = m_options.dialect.name;

    Preprocessor::Options ppOptions;
    ppOptions.includeDirectories = m_options.includeDirectories;
    ppOptions.cobcpyDirectories = m_options.cobcpyDirectories;
    ppOptions.systemDirectories = m_options.systemCopybookDirectories;
    ppOptions.format = m_options.format;
    Preprocessor preprocessor(ppOptions, data.includes, data.diagnostics);
    if (m_options.keepTokens)
        preprocessor.setRemarkSink(&data.remarks);
    std::vector<LexToken> tokens = preprocessor.run(path, text);
    data.freeFormat = preprocessor.finalFormat() == SourceFormat::Free;
    result.expansionLimitReached = preprocessor.expansionLimitReached();

    // The blocks a translator would add follow the program's own tokens; they are read as data
    // entries of their section after the program's entries.
    const std::size_t programTokens = tokens.size();
    struct Implicit
    {
        std::size_t begin;
        std::size_t end;
        StorageArea area;
    };
    std::vector<Implicit> implicit;
    for (const ImplicitBlocks::Block &block : ImplicitBlocks::needed(tokens, programTokens)) {
        std::vector<LexToken> member
            = preprocessor.implicitMember(block.member,
                                          ImplicitBlocks::place(tokens, programTokens, block.area));
        const std::size_t begin = tokens.size();
        for (LexToken &token : member)
            tokens.push_back(std::move(token));
        if (tokens.size() > begin)
            implicit.push_back({begin, tokens.size(), block.area});
    }

    std::unordered_map<std::string, std::uint32_t> fileRecords;
    std::vector<DataDivisionExec> dataDivisionExec;
    auto parseData = [&](TokenCursor &cursor) {
        std::vector<DataEntryInfo> info;
        DataDivisionParser parser(data, info);
        for (const Implicit &range : implicit)
            parser.addImplicit(range.begin, range.end, range.area);
        parser.parse(cursor);
        fileRecords = parser.fileRecords();
        dataDivisionExec = parser.execBlocks();
        Layout(data, info, m_options.dialect).run();
    };
    // Division headers of the first program; a nested or following program ends it.
    std::size_t identification = programTokens, dataDivision = programTokens,
                procedure = programTokens, end = programTokens;
    for (std::size_t i = 0; i + 1 < programTokens; ++i) {
        const LexToken &t = tokens[i];
        if (!tokens[i + 1].is("DIVISION")) {
            if (t.is("END") && tokens[i + 1].is("PROGRAM") && procedure < programTokens) {
                end = i;
                break;
            }
            if (t.is("PROGRAM-ID") && data.programName.empty()) {
                std::size_t k = i + 1;
                if (k < tokens.size() && tokens[k].text() == "."sv)
                    ++k;
                if (k < tokens.size()) {
                    const LexToken &name = tokens[k];
                    data.programName = name.kind == TokenKind::Literal && name.text().size() >= 2
                                           ? name.text().substr(1, name.text().size() - 2)
                                           : name.upper();
                }
            }
            continue;
        }
        auto addDivision = [&](const std::string &name) {
            ProgramNode node;
            node.id = static_cast<std::uint32_t>(data.nodes.size() + 1);
            node.kind = ProgramNode::Kind::Division;
            node.name = name;
            node.place = t.place;
            node.firstToken = static_cast<std::uint32_t>(i + 1);
            data.nodes.push_back(node);
        };
        if ((t.is("IDENTIFICATION") || t.is("ID")) && identification == programTokens) {
            identification = i;
            addDivision("IDENTIFICATION");
        } else if ((t.is("IDENTIFICATION") || t.is("ID")) && procedure < programTokens) {
            end = i;
            break;
        } else if (t.is("ENVIRONMENT") && dataDivision == programTokens) {
            addDivision("ENVIRONMENT");
        } else if (t.is("DATA") && dataDivision == programTokens) {
            dataDivision = i;
            addDivision("DATA");
            // The data division ends at the procedure division (or the end of the text).
            std::size_t stop = programTokens;
            for (std::size_t k = i + 2; k + 1 < programTokens; ++k)
                if (tokens[k].is("PROCEDURE") && tokens[k + 1].is("DIVISION")) {
                    stop = k;
                    break;
                }
            TokenCursor cursor(tokens, i + 2, stop);
            if (cursor.isPeriod())
                cursor.next();
            parseData(cursor);
        } else if (t.is("PROCEDURE") && procedure == programTokens) {
            procedure = i;
            addDivision("PROCEDURE");
        }
    }
    if (data.programName.empty()) {
        data.diagnostics.push_back(
            {Diagnostic::Severity::Error,
             {0, 1, 1},
             "Expected PROGRAM-ID in the identification division of " + path + ", found none."});
        data.programName = PathNames::baseName(path);
    }
    if (dataDivision == programTokens && !implicit.empty()) {
        TokenCursor none(tokens, programTokens, programTokens);
        parseData(none);
    }
    if (identification == programTokens)
        data.diagnostics.push_back(
            {Diagnostic::Severity::Error,
             {0, 1, 1},
             "Expected IDENTIFICATION DIVISION in " + path + ", found none."});
    ProcedureParser procedureParser(data, fileRecords);
    procedureParser.dataDivisionExec(tokens, dataDivisionExec);
    if (procedure < programTokens) {
        TokenCursor cursor(tokens, procedure, end);
        procedureParser.parse(cursor);
    }
    // The analysis data's tokens are made from the lexer's with their roles, in one pass.
    if (m_options.keepTokens)
        TokenRoles::assign(data, tokens);
    // The lexer's tokens are done with: their memory serves the syntax tree and the writer
    // instead of fresh pages.
    std::vector<LexToken>().swap(tokens);
    if (m_options.keepTokens) {
        SyntaxTree::record(data);
        data.structureKnown = true;
    }
    result.recognised = identification < programTokens && procedure < programTokens;
    if (procedure == programTokens)
        data.diagnostics.push_back({Diagnostic::Severity::Error,
                                    {0, 1, 1},
                                    "Expected PROCEDURE DIVISION in " + path + ", found none."});
    for (const Diagnostic &d : data.diagnostics)
        if (d.severity == Diagnostic::Severity::Error)
            ++result.errorCount;
    return result;
}

} // namespace cobol
