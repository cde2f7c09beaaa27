#include "Picture.h"

#include <cctype>

namespace cobol {

Picture Picture::parse(std::string_view text, bool decimalPointIsComma)
{
    Picture pic;
    const char point = decimalPointIsComma ? ',' : '.';
    bool hasA = false, hasX = false, hasNine = false, hasEdit = false, hasN = false;
    bool afterPoint = false;
    int pLeft = 0, pRight = 0;
    int digitsAfter = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        int count = 1;
        std::size_t next = i + 1;
        // "CR" and "DB" are two-character symbols.
        if ((c == 'C' || c == 'D') && next < text.size()) {
            const char d = static_cast<char>(std::toupper(static_cast<unsigned char>(text[next])));
            if ((c == 'C' && d == 'R') || (c == 'D' && d == 'B')) {
                pic.size += 2;
                pic.isSigned = true;
                hasEdit = true;
                i = next + 1;
                continue;
            }
        }
        if (next < text.size() && text[next] == '(') {
            const std::size_t close = text.find(')', next);
            if (close == std::string_view::npos) {
                pic.valid = false;
                return pic;
            }
            count = 0;
            for (std::size_t k = next + 1; k < close; ++k) {
                if (!std::isdigit(static_cast<unsigned char>(text[k]))) {
                    pic.valid = false;
                    return pic;
                }
                count = count * 10 + (text[k] - '0');
                if (count > 100000000) {
                    pic.valid = false;
                    return pic;
                }
            }
            next = close + 1;
        }
        switch (c) {
        case '9':
            hasNine = true;
            pic.size += count;
            pic.digits += count;
            if (afterPoint)
                digitsAfter += count;
            break;
        case 'X':
            hasX = true;
            pic.size += count;
            break;
        case 'A':
            hasA = true;
            pic.size += count;
            break;
        case 'N':
        case 'G':
            hasN = true;
            pic.size += count;
            break;
        case 'S':
            pic.isSigned = true;
            break;
        case 'V':
            afterPoint = true;
            break;
        case 'P':
            if (!hasNine && !afterPoint)
                pLeft += count;
            else
                pRight += count;
            pic.digits += count;
            break;
        case 'Z':
        case '*':
            hasEdit = true;
            pic.size += count;
            pic.digits += count;
            if (afterPoint)
                digitsAfter += count;
            break;
        case '+':
        case '-':
            hasEdit = true;
            pic.isSigned = true;
            pic.size += count;
            break;
        case 'B':
        case '0':
        case '/':
        case '$':
            hasEdit = true;
            pic.size += count;
            break;
        case 'E':
            hasEdit = true;
            pic.size += count;
            break;
        default:
            if (c == point) {
                hasEdit = true;
                afterPoint = true;
                pic.size += count;
            } else if (c == ',' || c == '.') {
                hasEdit = true;
                pic.size += count;
            } else {
                pic.valid = false;
            }
            break;
        }
        i = next;
    }
    pic.scale = digitsAfter + pRight;
    if (pLeft > 0)
        pic.scale = pLeft + (pic.digits - pLeft); // PP99: .00dd
    if (pRight > 0 && !afterPoint)
        pic.scale = -pRight; // 9(3)PP: two implied zeros on the right
    if (hasN)
        pic.category = Category::National;
    else if (hasX || hasA)
        pic.category = hasEdit                       ? Category::AlphanumericEdited
                       : (hasA && !hasX && !hasNine) ? Category::Alphabetic
                                                     : Category::Alphanumeric;
    else if (hasEdit)
        pic.category = Category::NumericEdited;
    else
        pic.category = Category::Numeric;
    if (pic.category != Category::Numeric && pic.category != Category::NumericEdited)
        pic.digits = 0;
    if (pic.size == 0 && pic.digits == 0)
        pic.valid = false;
    return pic;
}

} // namespace cobol
