// cobol-adt: a developer's tool. Parses a COBOL source with the front end and writes the analysis
// data to standard output as text (or only counts and the time taken with --stats), so the front
// end can be inspected and timed without GnuCOBOL; `--dump file.adt` writes an analysis data file
// of either form as text, `--read file.adt` times reading it.
#include "FrontEnd.h"
#include "IException.h"

#include <chrono>
#include <cstdlib>
#include <iostream>

int main(int argc, char **argv)
{
    cobol::FrontEnd::Options options;
    std::string source;
    std::string readBack;
    std::string dump;
    bool stats = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--stats")
            stats = true;
        else if (arg == "--read" && i + 1 < argc)
            readBack = argv[++i];
        else if (arg == "--dump" && i + 1 < argc)
            dump = argv[++i];
        else if (arg.rfind("-I", 0) == 0 || arg.rfind("-i", 0) == 0)
            options.includeDirectories.push_back(arg.substr(2));
        else if (arg.rfind("-std=", 0) == 0 && cobol::Dialect::byName(arg.substr(5)))
            options.dialect = *cobol::Dialect::byName(arg.substr(5));
        else if (arg == "-free")
            options.format = cobol::SourceFormat::Free;
        else
            source = arg;
    }
    if (!dump.empty()) {
        try {
            cobol::AnalysisData::readFile(dump).write(std::cout);
            return 0;
        } catch (const IException &error) {
            std::cerr << "cobol-adt: " << error.text() << "\n";
            return 12;
        }
    }
    if (!readBack.empty()) {
        // Times reading an existing .adt file.
        try {
            const auto start = std::chrono::steady_clock::now();
            const cobol::AnalysisData data = cobol::AnalysisData::readFile(readBack);
            const auto seconds
                = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::cout << "read " << data.tokens.size() << " tokens, " << data.statements.size()
                      << " statements in " << seconds << " s\n";
            return 0;
        } catch (const IException &error) {
            std::cerr << "cobol-adt: " << error.text() << "\n";
            return 12;
        }
    }
    if (source.empty()) {
        std::cerr << "usage: cobol-adt [--stats] [-I<dir>] [-std=<dialect>] [-free] <source>\n"
                     "       cobol-adt --dump <file.adt>\n"
                     "       cobol-adt --read <file.adt>\n";
        return 12;
    }
    if (const char *cobcpy = std::getenv("COBCPY"))
        options.cobcpyDirectories = cobol::FrontEnd::splitSearchPath(cobcpy);
    options.systemCopybookDirectories = {cobol::FrontEnd::systemCopybookDirectory()};
    try {
        const auto start = std::chrono::steady_clock::now();
        const cobol::FrontEnd::Result result = cobol::FrontEnd(options).parseFile(source);
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                                 .count();
        if (stats) {
            const auto &d = result.data;
            std::cout << "tokens " << d.tokens.size() << ", items " << d.items.size()
                      << ", statements " << d.statements.size() << ", includes "
                      << d.includes.size() << ", diagnostics " << d.diagnostics.size() << ", "
                      << seconds << " s\n";
        } else {
            result.data.write(std::cout);
        }
        return result.recognised ? 0 : 12;
    } catch (const IException &error) {
        std::cerr << "cobol-adt: " << error.text() << "\n";
        return 12;
    }
}
