// Feeds arbitrary bytes to the program-info reader, twice (so the second read merges into the
// runs of the first) and on behalf of a second program, and checks after every read that the
// table still holds only ascending, non-overlapping runs.
#include "IException.h"
#include "ProgramInfo.h"
#include "SeedTable.h"
#include "XcompTrace.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void readInto(SeedTable &table, ProgramInfo &program, const std::string &text)
{
    std::istringstream in(text);
    try {
        table.readProgramInfo(program, in);
    } catch (const IAccessError &) {
        // An unknown kind name is the one defined error.
    }
    if (!table.isConsistent())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::ostringstream traceOutput;
    SeedTable table(XcompTrace(XcompTrace::Switch::On, traceOutput));
    ProgramInfo first("FIRST");
    ProgramInfo second("SECOND");
    readInto(table, first, text);
    readInto(table, first, text);
    readInto(table, second, text);
    table.hasNewCopybookData(first);
    table.copybookCount(second);
    std::ostringstream seed;
    table.writeSeedEntries(seed);
    return 0;
}
