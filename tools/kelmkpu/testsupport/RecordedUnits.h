#pragma once

#include "AdtFile.h"
#include "AnalysisData.h"
#include "AnalysisDataAdapter.h"
#include "DateFieldAnalyzer.h"
#include "DbEu.h"
#include "FrontEnd.h"
#include "SeedFile.h"
#include "UnitRecorder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

/// A real analysis database for tests of the views: COBOL programs analysed by the front end and
/// the date-field analysis and recorded exactly as kelmkpu records them, in a temporary
/// directory that is removed with the object. Std-only, so GoogleTest and Qt Test programs alike
/// can use it (link `kelmkpu_testsupport`).
///
///     RecordedUnits units("PAYROLL");
///     units.recordSample("PAYRUN.cbl");              // samples/PAYRUN.cbl with its copybooks
///     units.recordText("other/PAYRUN.cbl", text);    // a second unit named PAYRUN
///     DbEu &eu = units.open();
class RecordedUnits final
{
public:
    explicit RecordedUnits(std::string euName = "TESTRUN")
        : m_euName(std::move(euName))
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "chronex-units-XXXXXX")
                                  .string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary directory for the test units");
        m_directory = pattern;
    }
    ~RecordedUnits()
    {
        m_eu.reset();
        std::error_code error;
        std::filesystem::remove_all(m_directory, error);
    }
    RecordedUnits(const RecordedUnits &) = delete;
    RecordedUnits &operator=(const RecordedUnits &) = delete;

    /// The directory that holds the sources written by recordText and the database.
    const std::filesystem::path &directory() const { return m_directory; }
    std::string databasePath() const { return DbEu::databasePathIn(m_directory.string()); }

    /// The bundled sample application's directory (`$CHRONEX_SOURCE_DIR/samples`).
    static std::filesystem::path samplesDirectory()
    {
        const char *source = std::getenv("CHRONEX_SOURCE_DIR");
        return std::filesystem::path(source ? source : ".") / "samples";
    }

    /// Records `samples/<fileName>`, finding its copybooks in `samples/copybooks`.
    void recordSample(const std::string &fileName)
    {
        record(samplesDirectory() / fileName, {(samplesDirectory() / "copybooks").string()});
    }

    /// Writes `text` as `<directory>/<relativePath>` (and each copybook beside it) and records it.
    void recordText(const std::string &relativePath,
                    const std::string &text,
                    const std::vector<std::pair<std::string, std::string>> &copybooks = {})
    {
        const std::filesystem::path source = m_directory / relativePath;
        std::filesystem::create_directories(source.parent_path());
        std::ofstream(source) << text;
        for (const auto &[name, copybook] : copybooks)
            std::ofstream(source.parent_path() / name) << copybook;
        record(source, {source.parent_path().string()});
    }

    /// The execution unit, opened read-only as the views open it (again after each recording).
    DbEu &open()
    {
        if (!m_eu)
            m_eu = DbEu::open(databasePath());
        return *m_eu;
    }

private:
    void record(const std::filesystem::path &source, std::vector<std::string> includeDirectories)
    {
        m_eu.reset();
        cobol::FrontEnd::Options options;
        options.includeDirectories = std::move(includeDirectories);
        const cobol::AnalysisData data = cobol::FrontEnd(options).parseFile(source.string()).data;
        const kelmkpu::ProgramModel model = kelmkpu::AnalysisDataAdapter::toModel(data);
        const kelmkpu::SeedFile seeds;
        const kelmkpu::AnalysisResult result
            = kelmkpu::DateFieldAnalyzer(model).run(seeds,
                                                    kelmkpu::DateFieldAnalyzer::Declarations::On);
        // The expanded source is named after the base name, as kelmkpu names it; a second source
        // with the same base name gets a number, so that neither overwrites the other's.
        std::string base = source.stem().string();
        if (!m_bases.insert(base).second)
            base.append("-").append(std::to_string(m_bases.size()));
        const char *previous = std::getenv("CHRONEX_TITLE");
        const std::string saved = previous ? previous : "";
        ::setenv("CHRONEX_TITLE", m_euName.c_str(), 1);
        std::ostringstream err;
        const bool recorded = kelmkpu::UnitRecorder::record(m_directory.string(),
                                                            base,
                                                            *cobol::AdtFile::fromData(data),
                                                            model,
                                                            result,
                                                            err);
        if (previous)
            ::setenv("CHRONEX_TITLE", saved.c_str(), 1);
        else
            ::unsetenv("CHRONEX_TITLE");
        if (!recorded)
            throw std::runtime_error("cannot record " + source.string() + ": " + err.str());
    }

    std::string m_euName;
    std::filesystem::path m_directory;
    std::unique_ptr<DbEu> m_eu;
    std::set<std::string> m_bases;
};
