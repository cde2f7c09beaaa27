// Fuzzes the analysis data reader: any bytes either read or raise IAccessError.
#include "AnalysisData.h"
#include "IException.h"

#include <cstddef>
#include <cstdint>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    try {
        const cobol::AnalysisData read = cobol::AnalysisData::read(in, "fuzz.adt");
        std::ostringstream out;
        read.write(out);
    } catch (const IAccessError &) {
    }
    return 0;
}
