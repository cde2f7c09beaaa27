#pragma once

#include "DateFieldKind.h"

#include <cstdint>

/// One run of bytes inside a copybook's data that carries one date-field kind.
struct KindInterval
{
    DateFieldKind kind = DateFieldKind::AlwaysConflict;
    /// First byte of the run, counted from 1; 0 never denotes a run.
    std::uint32_t index = 0;
    /// Number of bytes; the run covers index .. index + length - 1.
    std::uint32_t length = 0;

    /// Last byte of the run, computed without 32-bit overflow.
    std::uint64_t end() const { return std::uint64_t(index) + length - 1; }

    friend bool operator==(const KindInterval &, const KindInterval &) = default;
};
