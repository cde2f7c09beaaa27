// Feeds arbitrary bytes to the input settings reader; a format error is the defined outcome.
#include "IException.h"
#include "InputSettings.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    std::ostringstream console;
    InputSettings settings;
    try {
        settings.read(in, console);
    } catch (const IAccessError &) {
    }
    std::ostringstream out;
    settings.print(out);
    try {
        // A value that would break a line (a NUL in the project name) is refused.
        settings.write(out);
    } catch (const IAccessError &) {
    }
    return 0;
}
