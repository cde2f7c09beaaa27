#include "CompilerDriver.h"
#include "ProcessHeap.h"

#include <iostream>

int main(int argc, char **argv)
{
    ProcessHeap::keepFreedMemory();
    std::vector<std::string> args(argv + 1, argv + argc);
    const int code = CompilerDriver::run(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
