#include "CompilerDriver.h"

#include "ChildProcess.h"
#include "Dialect.h"
#include "FrontEnd.h"
#include "IException.h"
#include "PathNames.h"
#include "RegularFile.h"
#include "SyntaxChecker.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <ostream>

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(std::tolower(c));
    });
    return text;
}

bool isSlashOption(const std::string &arg)
{
    // "/" also starts absolute paths: only the forms below are options.
    const std::string lower = lowerCase(arg);
    if (lower == "/c" || lower.rfind("/std=", 0) == 0)
        return true;
    if (lower.size() > 2 && lower[1] == 'q')
        return std::all_of(lower.begin() + 2, lower.end(), [](unsigned char c) {
            return std::isalnum(c) || c == '-';
        });
    return false;
}

/// The errors of the front end and the line that says the source could not be analysed.
void reportNotAnalysed(const cobol::FrontEnd::Result &result,
                       const std::string &source,
                       std::ostream &err)
{
    for (const cobol::Diagnostic &d : result.data.diagnostics)
        if (d.severity == cobol::Diagnostic::Severity::Error)
            err << "zmc2: " << result.data.fileOf(d.place.include) << ":" << d.place.line
                << ": error: " << d.message << "\n";
    err << "zmc2: error: " << source << " could not be analysed as a COBOL program.\n";
}

/// The front end's warnings, as printed after GnuCOBOL's output (the first hundred).
std::vector<std::string> frontEndNotes(const cobol::AnalysisData &data)
{
    std::vector<std::string> notes;
    for (const cobol::Diagnostic &d : data.diagnostics) {
        if (d.severity == cobol::Diagnostic::Severity::Information || notes.size() >= 100)
            continue;
        notes.push_back("zmc2: " + data.fileOf(d.place.include) + ":" + std::to_string(d.place.line)
                        + ":" + std::to_string(d.place.column) + ": warning: " + d.message);
    }
    return notes;
}

/// Frees the front end's result and gives the memory back to the system, so that the program
/// does not unmap it when it ends, after the check it waits for.
void release(cobol::FrontEnd::Result &result)
{
    result = cobol::FrontEnd::Result();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

CompilerDriver::Arguments CompilerDriver::parseArguments(const std::vector<std::string> &args)
{
    Arguments parsed;
    std::vector<std::string> sources;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool dashOption = arg.size() > 1 && arg[0] == '-';
        if (!dashOption && !isSlashOption(arg)) {
            if (!arg.empty())
                sources.push_back(arg);
            continue;
        }
        const std::string body = arg.substr(1);
        const std::string lower = lowerCase(body);
        if (lower == "c") {
            parsed.compileOnly = true;
        } else if (dashOption && (lower == "free" || lower == "fixed")) {
            parsed.freeFormat = lower == "free";
        } else if (lower.rfind("std=", 0) == 0) {
            parsed.dialect = body.substr(4);
        } else if (lower.rfind("q", 0) == 0 && lower.size() > 1) {
            if (lower == "qanalyze")
                parsed.analyze = true;
            else
                parsed.ignored.push_back(arg);
        } else if (dashOption && (body[0] == 'i' || body[0] == 'I')) {
            std::string dir = body.substr(1);
            if (dir.empty() && i + 1 < args.size())
                dir = args[++i];
            if (dir.empty())
                parsed.error = "The option -i needs a directory.";
            else
                parsed.includeDirectories.push_back(dir);
        } else {
            parsed.ignored.push_back(arg);
        }
    }
    if (sources.empty() && parsed.error.empty())
        parsed.error = "No COBOL source was given.";
    else if (sources.size() > 1 && parsed.error.empty())
        parsed.error = "Only one COBOL source can be checked at a time; found "
                       + std::to_string(sources.size()) + ".";
    else if (!sources.empty())
        parsed.source = sources.front();
    return parsed;
}

int CompilerDriver::run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const Arguments arguments = parseArguments(args);
    for (const std::string &word : arguments.ignored)
        err << "zmc2: warning: ignoring the unknown option " << word << "\n";
    if (!arguments.error.empty()) {
        err << "zmc2: error: " << arguments.error << "\n"
            << "usage: zmc2 [-c] -i<dir> [-std=<dialect>] [-free] [-qANALYZE] <source>\n";
        return cannotRun;
    }
    const char *outputEnv = std::getenv("CHRONEX_OUTPUT_DIR");
    const std::string outputDir = outputEnv && *outputEnv ? outputEnv : ".";
    const std::string adtPath = PathNames::join(outputDir,
                                                PathNames::baseName(arguments.source) + ".adt");
    auto finish = [&](int code) {
        if (arguments.analyze && code >= errors) {
            std::error_code removeError;
            std::filesystem::remove(adtPath, removeError);
        }
        return code;
    };

    const std::optional<cobol::Dialect> dialect = cobol::Dialect::byName(arguments.dialect);
    if (!dialect) {
        err << "zmc2: error: unknown dialect \"" << arguments.dialect
            << "\"; expected one of default, ibm, mvs, mf, cobol85, cobol2002, cobol2014, ...\n";
        return finish(cannotRun);
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(arguments.source, ec)) {
        err << "zmc2: error: the COBOL source " << arguments.source << " does not exist.\n";
        return finish(cannotRun);
    }

    cobol::FrontEnd::Options options;
    options.includeDirectories = arguments.includeDirectories;
    if (const char *cobcpy = std::getenv("COBCPY"))
        options.cobcpyDirectories = cobol::FrontEnd::splitSearchPath(cobcpy);
    options.systemCopybookDirectories = {cobol::FrontEnd::systemCopybookDirectory()};
    options.dialect = *dialect;
    options.format = arguments.freeFormat ? cobol::SourceFormat::Free : cobol::SourceFormat::Fixed;
    SyntaxChecker::Options check;
    check.source = arguments.source;
    check.dialect = dialect->name;
    check.freeFormat = arguments.freeFormat;
    check.includeDirectories = arguments.includeDirectories;
    check.cobcpyDirectories = options.cobcpyDirectories;
    check.systemDirectory = options.systemCopybookDirectories.front();

    // Only a regular file is read: a FIFO named as the source would block for ever.
    const RegularFile::Result source = RegularFile::read(arguments.source);
    if (!source) {
        err << "zmc2: error: The COBOL source " << arguments.source << " " << source.problem
            << ".\n";
        return finish(cannotRun);
    }
    // Our own front end reads the program first: its reading of the EXEC blocks drives their
    // translation for the check by GnuCOBOL. A source without them is checked as it stands, so
    // GnuCOBOL starts at once and checks it while the front end reads it, on another core; it
    // is stopped unheard when the front end finds something to translate after all (in a
    // copybook) or the program cannot be checked.
    std::unique_ptr<ChildProcess::Running> early;
    if (SyntaxChecker::mayNeedNoTranslation(source.text))
        early = ChildProcess::start(SyntaxChecker::plainCheck(check));
    cobol::FrontEnd::Result result;
    try {
        result = cobol::FrontEnd(options).parseText(arguments.source, source.text);
    } catch (const IException &error) {
        err << "zmc2: error: " << error.text() << "\n";
        return finish(cannotRun);
    }
    // A COPY expansion that would not end in reasonable time stops our front end at its limit;
    // GnuCOBOL has no such limit, so it is not asked (or no longer).
    if (result.expansionLimitReached) {
        early.reset();
        reportNotAnalysed(result, arguments.source, err);
        return finish(cannotRun);
    }

    // While GnuCOBOL checks a program that needs no translation (it started before the front
    // end read the program), the analysis data is written beside its place and the front end's
    // memory goes back to the system: only putting the file in place is left for after the
    // check, which is what the compile pass waits for.
    const bool recognised = result.recognised;
    const bool frontEndErrors = result.errorCount > 0;
    const std::vector<std::string> notes = frontEndNotes(result.data);
    std::unique_ptr<cobol::PendingAdtFile> pending;
    std::string writeError;
    if (early && arguments.analyze && recognised && !SyntaxChecker::needsTranslation(result.data)) {
        try {
            pending = std::make_unique<cobol::PendingAdtFile>(result.data, adtPath);
        } catch (const IException &error) {
            writeError = error.text();
        }
        release(result);
    }

    // The check by GnuCOBOL.
    std::string problem;
    const ChildProcess::Result checked = SyntaxChecker::run(check,
                                                            result.data,
                                                            problem,
                                                            std::move(early));
    if (!problem.empty()) {
        err << "zmc2: error: " << problem << "\n";
        return finish(cannotRun);
    }
    out << checked.output;
    if (!checked.output.empty() && checked.output.back() != '\n')
        out << '\n';
    int code = clean;
    switch (checked.outcome) {
    case ChildProcess::Outcome::NotStarted:
        err << "zmc2: error: cannot run cobc: " << checked.startError << "\n";
        return finish(cannotRun);
    case ChildProcess::Outcome::Signalled:
        err << "zmc2: error: cobc was ended by signal " << checked.signal << "\n";
        return finish(cannotRun);
    case ChildProcess::Outcome::Exited:
        if (checked.exitCode != 0)
            code = errors;
        else if (checked.output.find("warning:") != std::string::npos)
            code = warnings;
        break;
    }

    if (!recognised) {
        reportNotAnalysed(result, arguments.source, err);
        return finish(code == errors ? errors : cannotRun);
    }
    if (code < errors) {
        for (const std::string &note : notes)
            out << note << "\n";
        // What the analysis could not follow is worth a look, but GnuCOBOL had the last word
        // on whether the source is correct.
        if (frontEndErrors)
            code = std::max(code, warnings);
    }
    if (!arguments.analyze || code >= errors)
        return finish(code);
    try {
        if (pending)
            pending->commit();
        else if (writeError.empty())
            result.data.writeFile(adtPath);
    } catch (const IException &error) {
        writeError = error.text();
    }
    if (!writeError.empty()) {
        err << "zmc2: error: " << writeError << "\n";
        return finish(cannotRun);
    }
    return code;
}
