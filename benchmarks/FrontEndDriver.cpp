// toolchain-frontend: the part of zmc2 that runs after GnuCOBOL's check, alone, so that the
// toolchain benchmark can time it: the front end parses the source with its copybooks and writes
// the analysis data file, with the options zmc2 uses for -qANALYZE.
//
//   toolchain-frontend [-std=<dialect>] [-I<dir>]... <source> <adt file>
//
// Prints the seconds spent parsing and writing; exit status 0, or 12 when the source cannot be
// read or analysed, or the file cannot be written.
#include "FrontEnd.h"
#include "IException.h"
#include "ProcessHeap.h"

#include <chrono>
#include <cstdlib>
#include <iostream>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    // As zmc2 runs.
    ProcessHeap::keepFreedMemory();
    cobol::FrontEnd::Options options;
    options.keepTokens = true;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("-I")) {
            options.includeDirectories.push_back(argument.substr(2));
        } else if (argument.starts_with("-std=")) {
            const std::optional<cobol::Dialect> dialect = cobol::Dialect::byName(
                argument.substr(5));
            if (!dialect) {
                std::cerr << "toolchain-frontend: unknown dialect " << argument.substr(5) << "\n";
                return 12;
            }
            options.dialect = *dialect;
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2) {
        std::cerr
            << "usage: toolchain-frontend [-std=<dialect>] [-I<dir>]... <source> <adt file>\n";
        return 12;
    }
    if (const char *cobcpy = std::getenv("COBCPY"))
        options.cobcpyDirectories = cobol::FrontEnd::splitSearchPath(cobcpy);

    try {
        const auto parseStart = std::chrono::steady_clock::now();
        const cobol::FrontEnd::Result result = cobol::FrontEnd(options).parseFile(files[0]);
        const double parseSeconds = secondsSince(parseStart);
        if (!result.recognised) {
            std::cerr << "toolchain-frontend: " << files[0]
                      << " could not be analysed as a COBOL program.\n";
            return 12;
        }
        const auto writeStart = std::chrono::steady_clock::now();
        result.data.writeFile(files[1]);
        std::cout << "parse " << parseSeconds << " s, write " << secondsSince(writeStart) << " s, "
                  << result.data.tokens.size() << " tokens, " << result.data.statements.size()
                  << " statements" << std::endl;
        // The file is written, closed and renamed into place and the report is flushed: leave
        // without tearing down the data item by item, which would only hand memory back to a
        // process that is about to end.
        std::_Exit(std::cout ? 0 : 12);
    } catch (const IException &error) {
        std::cerr << "toolchain-frontend: " << error.text() << "\n";
        return 12;
    }
}
