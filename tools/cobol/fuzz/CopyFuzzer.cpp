// Fuzzes COPY expansion: the input is split at the first "\n@@\n" into a program and a copybook
// (written as COPYA.cpy, which also includes itself through COPYB.cpy = the same text), so
// REPLACING, nested includes and the recursion guard all see arbitrary text.
#include "FrontEnd.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

std::string directory()
{
    static const std::string dir = [] {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "chronex-copyfuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = input.find("\n@@\n");
    const std::string_view program = input.substr(0, split);
    const std::string_view copybook = split == std::string_view::npos ? std::string_view()
                                                                       : input.substr(split + 4);
    const std::string dir = directory();
    std::ofstream(dir + "/COPYA.cpy", std::ios::binary | std::ios::trunc) << copybook;
    std::ofstream(dir + "/COPYB.cpy", std::ios::binary | std::ios::trunc) << copybook;
    cobol::FrontEnd::Options options;
    options.includeDirectories = {dir};
    cobol::FrontEnd(options).parseText(dir + "/P.cbl", program);
    return 0;
}
