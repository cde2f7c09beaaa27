#pragma once

#include "AnalysisData.h"

#include <string>
#include <string_view>

namespace cobol {

/// What a PICTURE character-string says: its category, display size in character positions,
/// numeric digits (9 and P), scale and sign.
struct Picture
{
    Category category = Category::Alphanumeric;
    int size = 0;   ///< character positions (S, V and P excluded; CR/DB count 2)
    int digits = 0; ///< 9 and P positions of a numeric picture; digit positions of edited ones
    int scale = 0;  ///< digits right of the point; negative for P positions right of the digits
    bool isSigned = false;
    bool valid = true;

    /// Parses a picture string such as "S9(4)V99", "X(10)", "ZZ,ZZ9.99-", "9(3)PP".
    /// `decimalPointIsComma` swaps the roles of "." and ",".
    static Picture parse(std::string_view text, bool decimalPointIsComma = false);
};

} // namespace cobol
