#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cobol {

/// The layout rules of one GnuCOBOL dialect (`cobc -std=<name>`): how many bytes a binary item
/// takes, whether SYNCHRONIZED adds slack bytes, whether a REDEFINES may be larger than the item it
/// redefines (the group then grows).
struct Dialect
{
    enum class BinarySize {
        OneTwoFourEight, ///< 1-2-4-8: 1-2 digits 1 byte, 3-4 2, 5-9 4, 10-18 8
        TwoFourEight,    ///< 2-4-8: as IBM; COMP-5 with 1-2 digits still 1 byte
        MinimalBytes     ///< 1--8: the fewest bytes that hold the digits
    };

    std::string name = "ibm";
    BinarySize binarySize = BinarySize::TwoFourEight;
    bool syncAligns = true;
    bool largerRedefinesOk = true;

    /// The dialect for a `-std=` name (case-insensitive): default, ibm, ibm-strict, mvs,
    /// mvs-strict, mf, mf-strict, cobol85, cobol2002, cobol2014, xopen, bs2000, bs2000-strict,
    /// rm, rm-strict, realia, realia-strict, acu, acu-strict. nullopt for an unknown name.
    static std::optional<Dialect> byName(std::string_view name);
};

} // namespace cobol
