#pragma once

#include <cstddef>

/// One text of the library's string table (generated from messages/strings.txt).
struct KelMsgText
{
    unsigned long id;
    const char *text;
};

/// The table, in file order; `count` receives its length.
const KelMsgText *kelMsgTexts(std::size_t &count);
