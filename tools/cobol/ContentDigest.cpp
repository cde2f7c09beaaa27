#include "ContentDigest.h"

#include <bit>
#include <cstring>

namespace cobol {

namespace {

// The primes of the xxHash family: odd, with well-spread bits.
constexpr std::uint64_t prime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t prime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t prime3 = 0x165667B19E3779F9ull;
constexpr std::uint64_t prime4 = 0x85EBCA77C2B2AE63ull;

std::uint64_t load(const unsigned char *bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

std::uint64_t mix(std::uint64_t lane, std::uint64_t word)
{
    lane += word * prime2;
    lane = std::rotl(lane, 31);
    return lane * prime1;
}

std::uint64_t avalanche(std::uint64_t h)
{
    h ^= h >> 33;
    h *= prime2;
    h ^= h >> 29;
    h *= prime3;
    h ^= h >> 32;
    return h;
}

} // namespace

ContentDigest::ContentDigest()
    : m_lane{prime1 + prime2, prime2, 0, 0 - prime1}
{}

void ContentDigest::round(const unsigned char *block)
{
    for (int k = 0; k < 4; ++k)
        m_lane[k] = mix(m_lane[k], load(block + 8 * k));
}

ContentDigest &ContentDigest::add(std::string_view bytes)
{
    add(static_cast<std::uint64_t>(bytes.size()));
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    std::size_t left = bytes.size();
    for (; left >= 32; p += 32, left -= 32)
        round(p);
    if (left > 0) {
        // The tail, padded with zeros: the length added first tells the pads apart.
        unsigned char block[32] = {};
        std::memcpy(block, p, left);
        round(block);
    }
    m_total += bytes.size();
    return *this;
}

ContentDigest &ContentDigest::add(std::uint64_t number)
{
    unsigned char block[32] = {};
    std::memcpy(block, &number, sizeof number);
    round(block);
    return *this;
}

std::string ContentDigest::hex() const
{
    const std::uint64_t merged = std::rotl(m_lane[0], 1) + std::rotl(m_lane[1], 7)
                                 + std::rotl(m_lane[2], 12) + std::rotl(m_lane[3], 18);
    const std::uint64_t high = avalanche(merged ^ m_total);
    const std::uint64_t low = avalanche((m_lane[0] ^ std::rotl(m_lane[2], 29))
                                        + (m_lane[1] ^ std::rotl(m_lane[3], 41)) * prime4);
    static const char digits[] = "0123456789abcdef";
    std::string text(32, '0');
    for (int i = 0; i < 16; ++i) {
        text[15 - i] = digits[(high >> (4 * i)) & 15];
        text[31 - i] = digits[(low >> (4 * i)) & 15];
    }
    return text;
}

} // namespace cobol
