#pragma once

#include <cstdint>

/// How the host's window requests (StartWindowData) carry what the desktop's four kinds do not
/// say: the host's own kind letters and the meaning of the request's three words.
///
///     kind 'b' browser      word2 = expanded line to show (0: none)
///     kind 's' list views   word1 = ListKind, word2 = expanded line whose item to select
///     kind 'm' data map     word2 = expanded line whose data item to show
///     kind 'g' grapher
///     kind 't' structure tree (the host's own kind; empty puName: the execution unit's tree)
///     kind 'n' a notebook   word1 = NotebookKind, word2 = expanded line (details: its item)
namespace HostRequests {

inline constexpr char treeKind = 't';
inline constexpr char notebookKind = 'n';

/// The list views of kind 's'.
enum ListKind : std::uint32_t {
    defaultList = 0, ///< symbols used, or related source members when the symbols view's
                     ///< preference "related source" is on
    symbolsUsed = 1,
    relatedPrograms = 2,
    relatedMembers = 3
};

enum NotebookKind : std::uint32_t { details = 1, settings = 2, properties = 3, preferences = 4 };

} // namespace HostRequests
