#include "FileStateDisplay.h"

#include "ConversionFile.h"

#include <array>

namespace {

struct TableRow
{
    std::uint8_t state;
    FileStateDisplay::Entry entry;
};

constexpr std::array<TableRow, 21> table{{
    {0x00, {62763, 63132, false}},
    {0x11, {62750, 63133, false}},
    {0x12, {62751, 63134, false}},
    {0x14, {62752, 63135, false}},
    {0x18, {62752, 63136, false}},
    {0x21, {62755, 63137, true}},
    {0x22, {62756, 63138, true}},
    {0x24, {62757, 63139, true}},
    {0x28, {62757, 63140, true}},
    {0x41, {62760, 63141, false}},
    {0x42, {62761, 63142, false}},
    {0x44, {62762, 63143, false}},
    {0x48, {62762, 63144, false}},
    {0x81, {62765, 63145, false}},
    {0x82, {62766, 63146, false}},
    {0x84, {62767, 63147, false}},
    {0x88, {62767, 63148, false}},
    {0x91, {62749, 63150, false}},
    {0x92, {62759, 63151, false}},
    {0x94, {62764, 63152, false}},
    // Sentinel kept out of lookups by the state check below.
    {0xFF, {FileStateDisplay::fileIcon, 63149, false}},
}};

} // namespace

FileStateDisplay::Entry FileStateDisplay::entryFor(std::uint8_t state)
{
    for (std::size_t i = 0; i + 1 < table.size(); ++i) {
        if (table[i].state == state)
            return table[i].entry;
    }
    return table.back().entry;
}

FileStateDisplay::Row FileStateDisplay::makeRow(ConversionFile &file)
{
    const std::uint8_t state = file.state();
    Row row;
    row.entry = entryFor(state);
    if (state == 0x21)
        row.counter = file.incrementCounter();
    else if (state == 0x22 || state == 0x24 || state == 0x28)
        row.counter = file.ensureCounterStarted();
    else if (row.entry.appendsCounter)
        row.counter = file.counter();
    row.failed = isFailure(state);
    row.message = file.latestMessage();
    return row;
}

bool FileStateDisplay::isFailure(std::uint8_t state)
{
    return (state & 0x0C) != 0 && (state & 0xF0) != 0x90;
}

std::string_view FileStateDisplay::stateName(std::uint8_t state)
{
    switch (state) {
    case 0x00:
        return "waiting";
    case 0x91:
        return "compiling";
    case 0x92:
        return "analysing";
    case 0x94:
        return "converting";
    default:
        break;
    }
    switch (state & 0xF0) {
    case 0x10:
        return "compiled";
    case 0x20:
        return "analysed, may be re-analysed";
    case 0x40:
        return "analysis complete";
    case 0x80:
        return "converted";
    default:
        return "unknown state";
    }
}
