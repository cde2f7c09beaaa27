#pragma once

#include <string>
#include <string_view>

namespace cobol {

/// The EXEC CICS commands the front end knows, with what each option's argument is, as the CICS
/// application programming reference documents them: a data-value the command reads, a data-area
/// it writes (or reads and writes), a resource name, a label, or no argument at all.
class CicsCommandTable final
{
public:
    enum class Argument {
        Source,         ///< data-value or data-area read by the command
        Target,         ///< data-area the command writes (also pointer references)
        Both,           ///< data-area read and written
        Name,           ///< resource name: a literal or a data-area read
        Label,          ///< a paragraph or section (HANDLE CONDITION/AID/ABEND)
        Flag,           ///< an option without argument
        OptionalSource, ///< an option whose data-value may be left out (DATESEP, CURSOR)
        Unknown         ///< an option this table does not know for the command
    };

    /// The command that `first` (and, for two-word commands, `second`) name, as its table key
    /// ("READQ TS", "SEND MAP", "ASKTIME"); empty when the table does not know it. `words` is set
    /// to the number of words the command takes (1 or 2). A second command word that is followed
    /// by an argument is an option too (`SEND MAP('M1')`, `GET CONTAINER('C')`); the caller reads
    /// it as one. READQ, WRITEQ and DELETEQ alone mean temporary storage.
    static std::string_view command(std::string_view first, std::string_view second, int &words);

    /// What the option `option` of `command` (a key returned by command()) takes. Options every
    /// command accepts (RESP, RESP2, NOHANDLE, SYSID) are known for all.
    static Argument argument(std::string_view command, std::string_view option);
};

} // namespace cobol
