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
        // The process ends right after the run: its memory goes back to the system at once.
        return kelmkpu::ProgramUnitBuilder::run(
            arguments, std::cerr, kelmkpu::ProgramUnitBuilder::Ending::LeaveDataToProcessEnd);
    } catch (const std::bad_alloc &) {
        std::cerr << "kelmkpu: error: out of memory while analysing\n";
    } catch (const std::exception &e) {
        std::cerr << "kelmkpu: error: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "kelmkpu: error: unexpected failure\n";
    }
    return kelmkpu::ProgramUnitBuilder::UnusableInput;
}
