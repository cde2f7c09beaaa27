#include "ProcessHeap.h"
#include "ProgramUnitBuilder.h"

#include <exception>
#include <iostream>
#include <new>

int main(int argc, char *argv[])
{
    ProcessHeap::keepFreedMemory();
    try {
        std::vector<std::string> arguments(argv + 1, argv + argc);
        return kelmkpu::ProgramUnitBuilder::run(arguments, std::cerr);
    } catch (const std::bad_alloc &) {
        std::cerr << "kelmkpu: error: out of memory while analysing\n";
    } catch (const std::exception &e) {
        std::cerr << "kelmkpu: error: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "kelmkpu: error: unexpected failure\n";
    }
    return kelmkpu::ProgramUnitBuilder::UnusableInput;
}
