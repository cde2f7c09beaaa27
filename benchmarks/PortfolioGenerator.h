#pragma once

#include <cstddef>
#include <filesystem>

/// A generated COBOL portfolio: many programs sharing a set of copybooks whose date fields the
/// conversion's analysis loop has to learn over several passes. The portfolio benchmark times
/// kelconv on it; the whole-program tests compare runs with one and with several tools at once.
///
/// Every program includes three to five of the copybooks (CB00.cpy, ...) and mixes the statements
/// the analysis follows: comparisons and moves inside one record, subscripts, reference
/// modification, ACCEPT FROM DATE, arithmetic. No field of a copybook has a name that gives it
/// away as a year, so what the copybooks hold is learnt from the programs only.
///
/// The copybooks form chains of `depth` + 1 (CB00 -> CB01 -> ... for the first chain). A program
/// near the end of the list stores today's date in the first copybook of a chain; for each link
/// an earlier program moves the date field of one copybook into that of the next, each link
/// earlier in the list than the one before it. A loop that takes the programs in list order
/// learns one more copybook of each chain per pass, so the analysis settles after `depth` + 2
/// passes whatever the number of programs, and every pass analyses again the programs that
/// include a copybook changed before. Programs are named P0000, P0001, ...: the sorted list is
/// the list order. The same options always give the same files.
struct PortfolioOptions
{
    int programs = 500;
    int copybooks = 50;
    int depth = 4;
    unsigned seed = 1;
};

namespace PortfolioGenerator {

/// The fewest programs that hold every chain of `options`.
int minimumPrograms(const PortfolioOptions &options);

/// Writes the portfolio into `directory` (made when missing) and returns its number of source
/// lines. Throws std::invalid_argument for options out of range and std::runtime_error naming
/// the file that cannot be written.
std::size_t write(const PortfolioOptions &options, const std::filesystem::path &directory);

} // namespace PortfolioGenerator
