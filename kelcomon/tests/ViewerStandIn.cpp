// A stand-in for the help viewer: appends its arguments, one per line, to the file that
// KELCOMON_VIEWER_LOG names, and ends at once.

#include <cstdlib>
#include <fstream>

int main(int argc, char *argv[])
{
    const char *log = std::getenv("KELCOMON_VIEWER_LOG");
    if (!log)
        return 2;
    std::ofstream out(log, std::ios::app);
    for (int i = 1; i < argc; ++i)
        out << argv[i] << '\n';
    return out ? 0 : 1;
}
