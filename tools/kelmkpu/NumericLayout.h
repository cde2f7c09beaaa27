#pragma once

#include "ProgramModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelmkpu {

/// Where the digits of a numeric item sit, so that a numeric MOVE can line sender and receiver up
/// on the decimal point and join digit bytes with digit bytes.
class NumericLayout final
{
public:
    struct Digit
    {
        int power = 0;          ///< 10^power; 0 is the units digit
        std::uint32_t byte = 0; ///< offset inside the item
    };

    /// The digits of `item` from the most significant one. DISPLAY: one byte each (after a
    /// leading separate sign); packed: the byte holding the digit's nibble; edited: the picture's
    /// digit positions. Empty for binary and other items, whose digits have no byte of their own.
    static std::vector<Digit> digits(const DataItem &item);

    /// Offsets inside the item of the bytes that hold its value: the digit bytes of DISPLAY and
    /// edited numerics, every byte otherwise.
    static std::vector<std::uint32_t> valueBytes(const DataItem &item);

    /// Picture characters with repetitions expanded ("9(3)V99" gives "999V99"); upper case.
    static std::string expandPicture(const std::string &picture);

    /// Whether a MOVE between the two items is numeric (both numeric, neither a group or
    /// alphanumeric) rather than byte for byte.
    static bool isNumeric(const DataItem &item);
};

} // namespace kelmkpu
