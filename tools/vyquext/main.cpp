// vyquext: the conversion aid. `vyquext /h <source>` windows the two-digit years that the
// analyser found in <source>, writes the converted source and a report. See README.md.
#include "Converter.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        return vyquext::Converter::run(arguments, std::cerr);
    } catch (const std::exception &exception) {
        std::cerr << "vyquext: unexpected failure: " << exception.what() << "\n";
    } catch (...) {
        std::cerr << "vyquext: unexpected failure\n";
    }
    return 16;
}
