// keldb: reads an analysis database from the shell (see KeldbProgram.h).
#include "KeldbProgram.h"

#include <exception>
#include <iostream>

int main(int argc, char *argv[])
{
    try {
        return KeldbProgram::run(std::vector<std::string>(argv + 1, argv + argc),
                                 std::cout,
                                 std::cerr);
    } catch (const std::exception &e) {
        std::cerr << "keldb: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "keldb: unexpected failure\n";
    }
    return KeldbProgram::unreadable;
}
