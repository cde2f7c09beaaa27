#pragma once

#include <optional>
#include <string_view>

/// The numbers the CICS translator puts in place of DFHRESP(condition), as the CICS reference
/// lists the RESP values of the conditions.
class CicsResponseCodes final
{
public:
    /// The RESP value of `condition` (upper case), or nothing for a name CICS does not define.
    static std::optional<int> value(std::string_view condition);
};
