#include "FrontEnd.h"

#include "DataDivisionParser.h"
#include "IException.h"
#include "Layout.h"
#include "PathNames.h"
#include "Preprocessor.h"
#include "ProcedureParser.h"
#include "TokenCursor.h"
#include "TokenRoles.h"

#include <fstream>
#include <sstream>

namespace cobol {

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

FrontEnd::Result FrontEnd::parseFile(const std::string &path) const
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        ITHROW(IAccessError("Cannot open the COBOL source " + path + "."));
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        ITHROW(IAccessError("Cannot read the COBOL source " + path + "."));
    return parseText(path, buffer.str());
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
    ppOptions.format = m_options.format;
    Preprocessor preprocessor(ppOptions, data.includes, data.diagnostics);
    const std::vector<LexToken> tokens = preprocessor.run(path, text);
    data.freeFormat = preprocessor.finalFormat() == SourceFormat::Free;

    if (m_options.keepTokens) {
        data.tokens.reserve(tokens.size());
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            const LexToken &t = tokens[i];
            data.tokens.push_back(
                {static_cast<std::uint32_t>(i + 1), t.kind, t.text, t.place, t.length, t.replaced});
        }
    }

    std::unordered_map<std::string, std::uint32_t> fileRecords;
    // Division headers of the first program; a nested or following program ends it.
    std::size_t identification = tokens.size(), dataDivision = tokens.size(),
                procedure = tokens.size(), end = tokens.size();
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        const LexToken &t = tokens[i];
        if (!tokens[i + 1].is("DIVISION")) {
            if (t.is("END") && tokens[i + 1].is("PROGRAM") && procedure < tokens.size()) {
                end = i;
                break;
            }
            if (t.is("PROGRAM-ID") && data.programName.empty()) {
                std::size_t k = i + 1;
                if (k < tokens.size() && tokens[k].text == ".")
                    ++k;
                if (k < tokens.size()) {
                    const LexToken &name = tokens[k];
                    data.programName = name.kind == TokenKind::Literal && name.text.size() >= 2
                                           ? name.text.substr(1, name.text.size() - 2)
                                           : name.upper;
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
        if ((t.is("IDENTIFICATION") || t.is("ID")) && identification == tokens.size()) {
            identification = i;
            addDivision("IDENTIFICATION");
        } else if ((t.is("IDENTIFICATION") || t.is("ID")) && procedure < tokens.size()) {
            end = i;
            break;
        } else if (t.is("ENVIRONMENT") && dataDivision == tokens.size()) {
            addDivision("ENVIRONMENT");
        } else if (t.is("DATA") && dataDivision == tokens.size()) {
            dataDivision = i;
            addDivision("DATA");
            // The data division ends at the procedure division (or the end of the text).
            std::size_t stop = tokens.size();
            for (std::size_t k = i + 2; k + 1 < tokens.size(); ++k)
                if (tokens[k].is("PROCEDURE") && tokens[k + 1].is("DIVISION")) {
                    stop = k;
                    break;
                }
            TokenCursor cursor(tokens, i + 2, stop);
            if (cursor.isPeriod())
                cursor.next();
            std::vector<DataEntryInfo> info;
            DataDivisionParser parser(data, info);
            parser.parse(cursor);
            fileRecords = parser.fileRecords();
            Layout(data, info, m_options.dialect).run();
        } else if (t.is("PROCEDURE") && procedure == tokens.size()) {
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
    if (identification == tokens.size())
        data.diagnostics.push_back(
            {Diagnostic::Severity::Error,
             {0, 1, 1},
             "Expected IDENTIFICATION DIVISION in " + path + ", found none."});
    if (procedure < tokens.size()) {
        TokenCursor cursor(tokens, procedure, end);
        ProcedureParser(data, fileRecords).parse(cursor);
    }
    if (m_options.keepTokens)
        TokenRoles::assign(data, tokens);
    result.recognised = identification < tokens.size() && procedure < tokens.size();
    if (procedure == tokens.size())
        data.diagnostics.push_back({Diagnostic::Severity::Error,
                                    {0, 1, 1},
                                    "Expected PROCEDURE DIVISION in " + path + ", found none."});
    for (const Diagnostic &d : data.diagnostics)
        if (d.severity == Diagnostic::Severity::Error)
            ++result.errorCount;
    return result;
}

} // namespace cobol
