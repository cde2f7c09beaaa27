#include "Dialect.h"

#include <algorithm>
#include <cctype>

namespace cobol {

std::optional<Dialect> Dialect::byName(std::string_view name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(std::tolower(c));
    });
    // Values from GnuCOBOL's configuration files; the lax variants include lax.conf-inc, which
    // allows larger REDEFINES.
    struct Entry
    {
        const char *name;
        BinarySize binary;
        bool sync;
        bool larger;
    };
    static const Entry entries[] = {
        {"default", BinarySize::OneTwoFourEight, true, false},
        {"ibm", BinarySize::TwoFourEight, true, true},
        {"ibm-strict", BinarySize::TwoFourEight, true, false},
        {"mvs", BinarySize::TwoFourEight, true, true},
        {"mvs-strict", BinarySize::TwoFourEight, true, false},
        {"mf", BinarySize::MinimalBytes, false, true},
        {"mf-strict", BinarySize::MinimalBytes, false, true},
        {"cobol85", BinarySize::OneTwoFourEight, false, false},
        {"cobol2002", BinarySize::OneTwoFourEight, true, false},
        {"cobol2014", BinarySize::OneTwoFourEight, true, false},
        {"xopen", BinarySize::OneTwoFourEight, true, false},
        {"bs2000", BinarySize::TwoFourEight, true, true},
        {"bs2000-strict", BinarySize::TwoFourEight, true, false},
        {"rm", BinarySize::TwoFourEight, true, true},
        {"rm-strict", BinarySize::TwoFourEight, true, true},
        {"realia", BinarySize::TwoFourEight, true, true},
        {"realia-strict", BinarySize::TwoFourEight, true, false},
        {"acu", BinarySize::OneTwoFourEight, true, true},
        {"acu-strict", BinarySize::OneTwoFourEight, true, false},
    };
    for (const Entry &entry : entries)
        if (lower == entry.name)
            return Dialect{entry.name, entry.binary, entry.sync, entry.larger};
    return std::nullopt;
}

} // namespace cobol
