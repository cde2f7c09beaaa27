// Fuzzes the lexer and the parsers: arbitrary bytes as a program source, in fixed format when
// the first byte is even, free format otherwise. Nothing may crash, hang or leak.
#include "FrontEnd.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    cobol::FrontEnd::Options options;
    options.format = data[0] % 2 == 0 ? cobol::SourceFormat::Fixed : cobol::SourceFormat::Free;
    // A directory that does not exist keeps COPY statements away from real files.
    options.includeDirectories = {"/nonexistent-chronex-fuzz"};
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
    cobol::FrontEnd(options).parseText("/nonexistent-chronex-fuzz/P.cbl", text);
    return 0;
}
