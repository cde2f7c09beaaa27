#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {

/// A hash table from words to values, for the lookups the front end makes for nearly every token
/// (reserved words, data names, procedure names): open addressing over a power-of-two table with
/// a multiplicative hash that reads eight characters at a time, so a lookup of a word costs a
/// few instructions and no division. Keys are copied in. Values are found by `find` (null when absent); `insert` adds a
/// word once and returns its value.
template<typename Value>
class WordTable final
{
public:
    WordTable() { m_slots.resize(16); }

    /// The value of `word`, made default the first time.
    Value &insert(std::string_view word)
    {
        if ((m_size + 1) * 4 > m_slots.size() * 3)
            grow();
        const std::uint64_t h = hash(word);
        Slot &slot = m_slots[probe(word, h)];
        if (!slot.used) {
            slot.used = true;
            slot.tag = tagOf(h);
            slot.key.assign(word);
            ++m_size;
        }
        return slot.value;
    }

    const Value *find(std::string_view word) const
    {
        const Slot &slot = m_slots[probe(word, hash(word))];
        return slot.used ? &slot.value : nullptr;
    }

    bool contains(std::string_view word) const { return find(word) != nullptr; }
    std::size_t size() const { return m_size; }

private:
    struct Slot
    {
        bool used = false;
        std::uint32_t tag = 0; ///< the upper bits of the key's hash: most other keys differ
        std::string key;
        Value value{};
    };

    static std::uint32_t tagOf(std::uint64_t h) { return static_cast<std::uint32_t>(h >> 32); }

    /// `key == word`, eight characters at a time: words are short, and a call of the library's
    /// comparison costs more than comparing them here.
    static bool same(const std::string &key, std::string_view word)
    {
        std::size_t left = word.size();
        if (key.size() != left)
            return false;
        const char *a = key.data();
        const char *b = word.data();
        for (; left >= 8; a += 8, b += 8, left -= 8) {
            std::uint64_t x, y;
            std::memcpy(&x, a, 8);
            std::memcpy(&y, b, 8);
            if (x != y)
                return false;
        }
        for (; left > 0; --left)
            if (*a++ != *b++)
                return false;
        return true;
    }

    /// A hash of `word` that reads it eight characters at a time (the last, possibly
    /// overlapping, chunk included) and mixes the result so that its low bits (the slot) and its
    /// high bits (the tag) both depend on every character.
    static std::uint64_t hash(std::string_view word)
    {
        constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;
        const char *p = word.data();
        std::size_t left = word.size();
        std::uint64_t h = multiplier ^ left;
        if (left >= 8) {
            for (; left > 8; p += 8, left -= 8)
                h = (h ^ load<std::uint64_t>(p)) * multiplier;
            h = (h ^ load<std::uint64_t>(word.data() + word.size() - 8)) * multiplier;
        } else if (left >= 4) {
            const std::uint64_t low = load<std::uint32_t>(p);
            const std::uint64_t high = load<std::uint32_t>(p + left - 4);
            h = (h ^ (low | (high << 32))) * multiplier;
        } else if (left > 0) {
            const auto at = [p](std::size_t i) {
                return std::uint64_t(static_cast<unsigned char>(p[i]));
            };
            h = (h ^ (at(0) | (at(left / 2) << 8) | (at(left - 1) << 16))) * multiplier;
        }
        h ^= h >> 32;
        h *= 0xD6E8FEB86659FD93ull;
        return h ^ (h >> 32);
    }

    template<typename Word>
    static Word load(const char *at)
    {
        Word word;
        std::memcpy(&word, at, sizeof word);
        return word;
    }

    /// The slot that holds `word`, or the empty slot where it would go.
    std::size_t probe(std::string_view word, std::uint64_t h) const
    {
        // Keys are compared only when their tags agree: a lookup that misses (a data name
        // among the reserved words) seldom reads a key.
        const std::size_t mask = m_slots.size() - 1;
        const std::uint32_t tag = tagOf(h);
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const Slot &slot = m_slots[i];
            if (!slot.used || (slot.tag == tag && same(slot.key, word)))
                return i;
        }
    }

    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (Slot &slot : old)
            if (slot.used)
                m_slots[probe(slot.key, hash(slot.key))] = std::move(slot);
    }

    std::vector<Slot> m_slots;
    std::size_t m_size = 0;
};

} // namespace cobol
