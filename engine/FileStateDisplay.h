#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class ConversionFile;

/// How a file's conversion state is shown: the icon and text resources (KELWIZRS ids) of its row
/// in the progress window's list, and a short name for the console. Shared by the Qt file list
/// and kelconv, so both show a state the same way.
class FileStateDisplay final
{
public:
    /// Icon id meaning "the file's own icon".
    static constexpr int fileIcon = 0;

    struct Entry
    {
        int iconId = fileIcon;
        int textId = 0;
        /// The text is followed by the record's counter in decimal, without a separator.
        bool appendsCounter = false;

        friend bool operator==(const Entry &, const Entry &) = default;
    };

    /// The table entry for `state`; a state the table does not list gives text 63149 with the
    /// file's own icon.
    static Entry entryFor(std::uint8_t state);

    struct Row
    {
        Entry entry;
        /// The counter to append, when the entry appends one.
        std::optional<std::uint32_t> counter;
        /// The state failed the file (bit 0x04 or 0x08): its row must stand out.
        bool failed = false;
        /// The file's latest tool message when the row was made (empty when none).
        std::string message;

        /// The counter as appended to the text ("" when none).
        std::string counterText() const { return counter ? std::to_string(*counter) : ""; }
    };

    /// The entry for the file's current state, applying the counter rule as a row is made:
    /// state 0x21 increments the counter every time; 0x22, 0x24 and 0x28 first set a counter of
    /// 0 to 1. Also whether the state is a failure, and the file's latest tool message.
    static Row makeRow(ConversionFile &file);

    /// True for a state that failed the file: bit 0x04 or 0x08 set in a finished phase.
    static bool isFailure(std::uint8_t state);

    /// A short console name for a state, e.g. "compiled" or "analysed, may be re-analysed".
    static std::string_view stateName(std::uint8_t state);
};
