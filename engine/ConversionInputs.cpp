#include "ConversionInputs.h"

#include "PathNames.h"

#include <filesystem>
#include <system_error>
#include <unordered_map>

namespace ConversionInputs {

namespace {

/// The extensions of the result files a source has in the output directory.
constexpr const char *resultExtensions[] = {".adt", ".xlg", ".xca", ".xrl", ".xpd", ".cvt", ".crs"};
/// The analysis database kelmkpu records every unit in, with SQLite's companion files.
constexpr const char *databaseFiles[] = {"chxanalysis.db",
                                         "chxanalysis.db-wal",
                                         "chxanalysis.db-shm"};

/// `path` with the links and dots of its existing part resolved, so that two spellings of one
/// file compare equal.
std::string resolved(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path result = std::filesystem::weakly_canonical(path, error);
    return error ? PathNames::absolute(path) : result.string();
}

bool sameFile(const std::string &a, const std::string &b)
{
    return resolved(a) == resolved(b);
}

} // namespace

bool hasControlCharacters(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

std::string titleProblem(const std::string &title)
{
    if (!hasControlCharacters(title))
        return {};
    return "The conversion title holds a control character (a line break, a tab or another "
           "character that cannot be typed on one line). Give the title on one line without "
           "them.";
}

std::string pathProblem(const std::string &what, const std::string &path)
{
    if (!hasControlCharacters(path))
        return {};
    std::string shown;
    for (const char c : path)
        shown += hasControlCharacters(std::string_view(&c, 1)) ? '?' : c;
    return "The " + what + " " + shown
           + " has a control character (such as a line break) in its name, which the "
             "conversion's settings, options and project files cannot hold. Rename it.";
}

std::string baseNameConflict(const std::vector<std::string> &sources, const std::string &path)
{
    const std::string base = PathNames::baseName(path);
    for (const std::string &source : sources) {
        if (PathNames::baseName(source) == base && !sameFile(source, path))
            return source;
    }
    return {};
}

std::string baseNameConflictMessage(const std::string &first, const std::string &second)
{
    const std::string base = PathNames::baseName(second);
    return "The sources " + first + " and " + second + " have the same base name " + base
           + ": their results (" + base + ".cvt, " + base
           + ".crs and the others) would overwrite each other in the output directory. "
             "Convert them in separate runs, or rename one of them.";
}

std::string baseNameConflicts(const std::vector<std::string> &sources)
{
    // The earlier sources by base name: only sources with one base name can conflict.
    std::unordered_map<std::string, std::vector<std::string>> earlier;
    for (const std::string &source : sources) {
        std::vector<std::string> &same = earlier[PathNames::baseName(source)];
        if (const std::string first = baseNameConflict(same, source); !first.empty())
            return baseNameConflictMessage(first, source);
        same.push_back(source);
    }
    return {};
}

WriteTargets::WriteTargets(const std::vector<std::string> &sources,
                           const std::string &seedFile,
                           const std::string &outputDirectory)
{
    const std::string output = resolved(outputDirectory);
    m_written.emplace(PathNames::join(output, "chxconv.log"), "its log");
    for (const char *database : databaseFiles)
        m_written.emplace(PathNames::join(output, database), "its analysis database");
    if (!seedFile.empty())
        m_written.emplace(PathNames::join(output, PathNames::baseName(seedFile) + ".asd"),
                          "the temporary seed file");
    for (const std::string &source : sources) {
        const std::string base = PathNames::baseName(source);
        for (const char *extension : resultExtensions)
            m_written.emplace(PathNames::join(output, base + extension),
                              "the results of " + source);
        m_written.emplace(resolved(PathNames::join(PathNames::directory(source), base + ".crs")),
                          "the report of " + source);
    }
}

std::string WriteTargets::problem(const std::string &what, const std::string &path) const
{
    const auto found = m_written.find(resolved(path));
    if (found == m_written.end())
        return {};
    return "The " + what + " " + path + " lies where the conversion writes " + found->second
           + ": it would be overwritten. Move it elsewhere or choose another output directory.";
}

std::string writeTargetProblem(const std::string &what,
                               const std::string &path,
                               const std::vector<std::string> &sources,
                               const std::string &seedFile,
                               const std::string &outputDirectory)
{
    return WriteTargets(sources, seedFile, outputDirectory).problem(what, path);
}

std::string requestProblem(const std::vector<std::string> &sources,
                           const std::string &seedFile,
                           const std::string &outputDirectory,
                           const std::string &title)
{
    if (std::string problem = titleProblem(title); !problem.empty())
        return problem;
    if (std::string problem = pathProblem("output directory", outputDirectory); !problem.empty())
        return problem;
    if (std::string problem = pathProblem("seed file", seedFile); !problem.empty())
        return problem;
    for (const std::string &source : sources) {
        if (std::string problem = pathProblem("source", source); !problem.empty())
            return problem;
    }
    if (std::string problem = baseNameConflicts(sources); !problem.empty())
        return problem;
    const WriteTargets written(sources, seedFile, outputDirectory);
    for (const std::string &source : sources) {
        if (std::string problem = written.problem("source", source); !problem.empty())
            return problem;
    }
    return written.problem("seed file", seedFile);
}

} // namespace ConversionInputs
