#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cobol {

/// A 128-bit digest of a sequence of byte strings, to tell whether data is the same as data seen
/// before (not a cryptographic hash: it guards against change, not against an adversary). Four
/// lanes of 64-bit multiply-rotate rounds take 32 bytes a step, so ten megabytes cost about a
/// millisecond. Each piece added counts with its length: ("ab", "c") and ("a", "bc") differ.
class ContentDigest final
{
public:
    ContentDigest();

    ContentDigest &add(std::string_view bytes);
    ContentDigest &add(std::uint64_t number);

    /// The digest so far as 32 lower-case hexadecimal digits.
    std::string hex() const;

private:
    void round(const unsigned char *block);

    std::uint64_t m_lane[4];
    std::uint64_t m_total = 0;
};

} // namespace cobol
