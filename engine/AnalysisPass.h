#pragma once

#include "EnginePass.h"
#include "XcompTrace.h"

class SeedTable;

/// Runs the program-unit builder `kelmkpu` on every compiled file, over and over while the
/// seed table keeps learning about shared copybooks.
///
/// The builder reads a temporary seed file in the output directory: a copy of the user's seed
/// file followed by the table's seed blocks, regenerated whenever the table changes. The user's
/// seed file is only ever read.
///
/// States: 0x92 while running; 0x21 / 0x22 (return code 0 / 4, has copybooks: may run again),
/// 0x41 / 0x42 (complete, success), 0x44 / 0x48 (failure; 0x48 also for missing or unreadable
/// results). After the loop, 0x21 and 0x22 become 0x41 and 0x42 and count as successes.
///
/// Throws IAccessError (after printing an "Error: " line) when the temporary seed file cannot be
/// made; the error ends the run and the files keep their states.
class AnalysisPass final : public EnginePass
{
public:
    AnalysisPass(PassContext &context, SeedTable &table, std::string seedFile, XcompTrace trace);

    void run();

    /// The temporary seed file for `seedFile` in `outputDirectory`: <base name>.asd.
    static std::string temporarySeedFile(const std::string &seedFile,
                                         const std::string &outputDirectory);

private:
    enum class Outcome { Continue, Stop };

    Outcome analyse(ConversionFile &file, int loop, bool &tableChanged);
    void copySeedFile(const std::string &errorText);
    void appendSeedEntries();
    /// The whole temporary seed file: the user's seed file and the table's entries.
    std::string temporarySeedText() const;
    [[noreturn]] void fail(const std::string &text);

    SeedTable &m_table;
    std::string m_seedFile;
    std::string m_temporarySeedFile;
    XcompTrace m_trace;
};
