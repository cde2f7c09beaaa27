#include "Converter.h"

#include "CodeTokenizer.h"
#include "ConversionLog.h"
#include "ConversionOptions.h"
#include "ConversionReport.h"
#include "DataDescriptions.h"
#include "DateFieldTable.h"
#include "ExecRegions.h"
#include "FindingsFile.h"
#include "IException.h"
#include "InstallPaths.h"
#include "LineLayout.h"
#include "OperandParser.h"
#include "PathNames.h"
#include "ProcedureRewriter.h"
#include "SourceFile.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vyquext {

namespace {

constexpr int readFailure = 12;
constexpr int severeFailure = 16;

std::string lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

/// The file of copybook `name` in one of `directories`, or empty.
std::string findCopybook(const std::string &name, const std::vector<std::string> &directories)
{
    const std::vector<std::string> extensions
        = {"", ".cpy", ".CPY", ".cbl", ".CBL", ".cob", ".COB"};
    for (const std::string &directory : directories) {
        for (const std::string &candidate : {name, lower(name)}) {
            for (const std::string &extension : extensions) {
                const std::string path = PathNames::join(directory, candidate + extension);
                std::error_code error;
                if (fs::is_regular_file(path, error))
                    return path;
            }
        }
    }
    return {};
}

/// Writes `text` to `path` through a temporary file beside it; nothing is left on failure.
bool writeAtomically(const std::string &path, const std::string &text, std::string &problem)
{
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        problem = "The converted file " + path + " cannot be created.";
        return false;
    }
    const std::string temporary(name.data());
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count <= 0)
            break;
        written += static_cast<std::size_t>(count);
    }
    const bool complete = written == text.size() && ::fsync(descriptor) == 0;
    ::close(descriptor);
    if (!complete || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        problem = "The converted file " + path + " cannot be written.";
        return false;
    }
    // mkstemp creates the file for its owner only; a converted source is as readable as others.
    std::error_code error;
    fs::permissions(path,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                        | fs::perms::others_read,
                    error);
    return true;
}

/// Takes back every change that would touch a line an EXEC block stands on: the blocks are the
/// precompiler's and are never rewritten, not even moved to other columns.
void keepExecBlocks(const ExecRegions &regions, ConversionLog &log)
{
    for (const Edit &edit : log.edits) {
        Change &change = log.changes[edit.change];
        if (change.undone || !regions.touchesLine(edit.line))
            continue;
        change.undone = true;
        log.addRemark(Remark::Severity::Warning,
                      change.line,
                      change.what + " \"" + change.oldText + "\"",
                      "the statement shares its line with an EXEC block, which is never "
                      "rewritten: window it by hand, or put the block on lines of its own");
    }
}

void accountForFindings(const FindingsFile &findings,
                        const DateFieldTable &table,
                        const std::string &sourcePath,
                        const std::vector<Token> &tokens,
                        const ExecRegions &regions,
                        ConversionLog &log)
{
    for (const auto &[name, field] : table.fields()) {
        if (field.shape != DateShape::Unsupported && field.shape != DateShape::Conflict)
            continue;
        log.addRemark(field.shape == DateShape::Conflict ? Remark::Severity::Error
                      : field.centuryDate                ? Remark::Severity::Note
                                                         : Remark::Severity::Warning,
                      field.line,
                      "date field " + name,
                      field.reason,
                      field.inCopybook ? field.file : std::string());
    }
    for (const SiteFinding &site : findings.sites) {
        const bool inSource = site.file.empty() || site.file == sourcePath
                              || PathNames::fileName(site.file) == PathNames::fileName(sourcePath);
        if (site.type == SiteFinding::Type::Conflict) {
            log.addRemark(Remark::Severity::Error,
                          site.line,
                          "conflict on " + site.subject,
                          site.reason.empty() ? "year and non-year uses meet" : site.reason,
                          inSource ? std::string() : site.file);
            continue;
        }
        const ExecRegions::Region *block = inSource ? regions.holdingLine(site.line) : nullptr;
        if (block && !log.mentionsLine(site.line)) {
            const std::string language = block->first + 1 < tokens.size()
                                             ? tokens[block->first + 1].upper
                                             : std::string();
            log.addRemark(Remark::Severity::Warning,
                          site.line,
                          "EXEC " + language + " block of lines "
                              + std::to_string(block->firstLine + 1) + "-"
                              + std::to_string(block->lastLine + 1)
                              + (site.subject.empty() ? std::string() : " (" + site.subject + ")"),
                          "two-digit years meet inside the command, and EXEC blocks are never "
                          "rewritten: window the host variable before the block, or the "
                          "comparison in the command itself"
                              + (site.reason.empty() ? std::string() : " (" + site.reason + ")"));
        } else if (!inSource) {
            log.addRemark(Remark::Severity::Warning,
                          site.line,
                          "statement in copybook text",
                          "copybooks are shared and not rewritten; window it where it is used"
                              + (site.reason.empty() ? std::string() : " (" + site.reason + ")"),
                          site.file);
        } else if (!log.mentionsLine(site.line)) {
            log.addRemark(Remark::Severity::Warning,
                          site.line,
                          "statement marked for windowing"
                              + (site.subject.empty() ? std::string() : " (" + site.subject + ")"),
                          "no rewrite rule of this tool applies to it"
                              + (site.reason.empty() ? std::string() : ": " + site.reason));
        }
    }
}

} // namespace

int Converter::run(const std::vector<std::string> &arguments, std::ostream &err)
{
    if (arguments.size() != 2 || (arguments[0] != "/h" && arguments[0] != "/H")
        || arguments[1].empty()) {
        err << "vyquext: expected the arguments \"/h <source>\"\n";
        return severeFailure;
    }
    std::error_code error;
    std::string sourcePath = fs::absolute(arguments[1], error).lexically_normal().string();
    if (error)
        sourcePath = arguments[1];
    const std::string reportPath = PathNames::join(PathNames::directory(sourcePath),
                                                   PathNames::baseName(sourcePath) + ".crs");

    if (reportPath == sourcePath) {
        err << "vyquext: the report " << reportPath << " would replace the source.\n";
        return severeFailure;
    }

    ConversionReport report;
    report.sourcePath = sourcePath;
    std::string writtenCvt; // set once the converted file is in place
    auto finish = [&](int code, const std::string &failure) {
        report.returnCode = code;
        report.failure = failure;
        if (!failure.empty())
            err << "vyquext: " << failure << "\n";
        if (!report.writeFile(reportPath)) {
            err << "vyquext: the report " << reportPath << " cannot be written.\n";
            // A run without its report failed: leave no converted file that looks complete.
            if (!writtenCvt.empty())
                std::remove(writtenCvt.c_str());
            if (code < severeFailure)
                code = severeFailure;
        }
        return code;
    };

    std::optional<ConversionOptions> options;
    try {
        options = ConversionOptions::forSource(sourcePath);
    } catch (const IException &exception) {
        return finish(readFailure, exception.text());
    }
    report.options = &*options;

    SourceFile source;
    FindingsFile findings;
    try {
        source = SourceFile::load(options->input);
        findings = FindingsFile::load(options->xcaPath);
    } catch (const IException &exception) {
        return finish(readFailure, exception.text());
    }
    source.format = SourceFile::detectFormat(source.lines, options->freeFormat);
    report.format = source.format == SourceFormat::Fixed ? "fixed" : "free";

    std::vector<std::string> directories{PathNames::directory(options->input)};
    for (const FieldFinding &finding : findings.fields)
        if (finding.file.find('/') != std::string::npos)
            directories.push_back(PathNames::directory(finding.file));
    // Last the installation's system members (SQLCA, DFHAID ...), as the compile pass has them.
    directories.push_back(PathNames::join(InstallPaths::dataDirectory(), "copybooks"));
    const ConversionResult result = convert(source, findings, options->pivot, directories);

    report.fields = &result.fields;
    report.log = &result.log;
    std::string problem;
    if (!writeAtomically(options->cvtPath, result.text, problem))
        return finish(severeFailure, problem);
    writtenCvt = options->cvtPath;
    return finish(result.log.returnCode(), {});
}

ConversionResult Converter::convert(const SourceFile &source,
                                    const FindingsFile &findings,
                                    int pivot,
                                    const std::vector<std::string> &copyDirectories)
{
    ConversionResult result;
    const std::vector<Token> tokens = CodeTokenizer::tokenize(source);
    result.data.scan(tokens, source);
    std::set<std::string> scanned;
    std::set<std::string> scannedFiles;
    ConversionLog &log = result.log;
    for (std::size_t i = 0; i < result.data.copyStatements().size(); ++i) {
        const CopyStatement copy = result.data.copyStatements()[i];
        const std::string path = findCopybook(copy.copybook, copyDirectories);
        if (path.empty()) {
            log.addRemark(Remark::Severity::Note,
                          copy.line,
                          "COPY " + copy.copybook,
                          "copybook not found beside the source: its items are known only from "
                          "the findings");
            continue;
        }
        std::string key = path;
        for (const Replacement &replacement : copy.replacements)
            key += "\x1f" + replacement.from + "\x1e" + replacement.to;
        if (!scanned.insert(key).second)
            continue;
        scannedFiles.insert(path);
        if (copy.replacingUnsupported)
            log.addRemark(Remark::Severity::Note,
                          copy.line,
                          "COPY " + copy.copybook,
                          "REPLACING pairs of several words are not applied when reading the "
                          "copybook's data descriptions");
        try {
            SourceFile copybook = SourceFile::load(path);
            copybook.format = source.format;
            std::vector<Token> copyTokens = CodeTokenizer::tokenize(copybook);
            DataDescriptions::applyReplacing(copyTokens, copy);
            result.data.scan(copyTokens, copybook);
        } catch (const IException &exception) {
            log.addRemark(Remark::Severity::Note,
                          copy.line,
                          "COPY " + copy.copybook,
                          exception.text());
        }
    }

    // Members no COPY of the source names but the findings do: what EXEC SQL INCLUDE brought in
    // from elsewhere, and the blocks a translator adds (DFHEIBLK).
    for (const FieldFinding &finding : findings.fields) {
        std::error_code error;
        if (finding.file.empty() || finding.file == source.path || scannedFiles.count(finding.file)
            || !fs::is_regular_file(finding.file, error))
            continue;
        scannedFiles.insert(finding.file);
        try {
            SourceFile member = SourceFile::load(finding.file);
            member.format = source.format;
            result.data.scan(CodeTokenizer::tokenize(member), member);
        } catch (const IException &exception) {
            log.addRemark(Remark::Severity::Note, 0, finding.file, exception.text());
        }
    }

    result.fields.build(findings, result.data, source.path);
    OperandParser parser(tokens, source, result.fields, result.data, pivot);
    ProcedureRewriter rewriter(parser, log);
    if (!rewriter.run())
        log.addRemark(Remark::Severity::Note,
                      0,
                      "PROCEDURE DIVISION",
                      "not found: nothing to convert");
    const ExecRegions regions(tokens);
    keepExecBlocks(regions, log);
    accountForFindings(findings, result.fields, source.path, tokens, regions, log);
    result.text = LineLayout::apply(source, log);
    return result;
}

} // namespace vyquext
