#include "AnalysisPlan.h"

#include "DbEu.h"
#include "PathNames.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

/// Letters, digits, "-" and "_" of `text`, at most 40 of them; "sources" when none are left.
std::string safeName(const std::string &text)
{
    std::string name;
    for (char c : text)
        if (name.size() < 40
            && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '-' || c == '_'))
            name += c;
    return name.empty() ? "sources" : name;
}

std::string commonDirectory(const std::vector<std::string> &paths)
{
    std::string common = PathNames::directory(paths.front());
    for (const std::string &path : paths) {
        while (!common.empty() && common != "/"
               && (path.compare(0, common.size(), common) != 0 || path.size() <= common.size()
                   || path[common.size()] != '/'))
            common = PathNames::directory(common);
    }
    return common;
}

} // namespace

std::string AnalysisPlan::digest(const std::string &text)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    static const char digits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        out[static_cast<std::size_t>(i)] = digits[hash & 0xF];
    return out;
}

std::string AnalysisPlan::databaseFile() const
{
    return DbEu::databasePathIn(m_outputDirectory);
}

bool AnalysisPlan::build(const std::vector<std::string> &sources,
                         const std::string &dialect,
                         const std::vector<std::string> &includeDirectories,
                         const std::string &cacheDirectory,
                         std::string &error)
{
    *this = AnalysisPlan{};
    std::map<std::string, std::string> bases;
    for (const std::string &given : sources) {
        const std::string source = PathNames::absolute(given);
        std::error_code problem;
        if (!fs::is_regular_file(source, problem)) {
            error = "The source " + given
                    + (fs::exists(source, problem) ? " is not a regular file."
                                                   : " does not exist.");
            return false;
        }
        const std::string base = PathNames::baseName(source);
        const auto [other, inserted] = bases.emplace(base, source);
        if (!inserted && other->second != source) {
            error = "The sources " + other->second + " and " + source + " have the same base name "
                    + base + ": their analysis results would overwrite each other.";
            return false;
        }
        if (inserted)
            m_sources.push_back(source);
    }
    if (m_sources.empty()) {
        error = "No COBOL source was given to analyse.";
        return false;
    }

    std::vector<std::string> sorted = m_sources;
    std::sort(sorted.begin(), sorted.end());
    std::string key = "dialect=" + dialect;
    for (const std::string &source : sorted)
        key += '\n' + source;
    const std::string common = commonDirectory(m_sources);
    m_title = m_sources.size() == 1 ? PathNames::baseName(m_sources.front())
                                    : PathNames::fileName(common);
    if (m_title.empty() || m_title == "/")
        m_title = "sources";
    m_outputDirectory = PathNames::join(PathNames::join(cacheDirectory, "analysis"),
                                        safeName(m_title) + "-" + digest(key).substr(0, 12));

    const std::vector<std::pair<std::string, std::string>> environment
        = {{"CHRONEX_OUTPUT_DIR", m_outputDirectory}, {"CHRONEX_TITLE", m_title}};
    for (const std::string &source : m_sources) {
        const std::string directory = PathNames::directory(source);
        Step compile;
        compile.tool = Step::Tool::compilerDriver;
        compile.program = "zmc2";
        compile.arguments = {"-c", "-i" + directory};
        for (const std::string &include : includeDirectories)
            compile.arguments.push_back("-i" + PathNames::absolute(include));
        if (!dialect.empty())
            compile.arguments.push_back("-std=" + dialect);
        compile.arguments.push_back("-qANALYZE");
        compile.arguments.push_back(source);
        compile.workingDirectory = directory;
        compile.environment = environment;
        compile.source = source;
        m_steps.push_back(compile);

        Step build;
        build.tool = Step::Tool::unitBuilder;
        build.program = "kelmkpu";
        build.arguments = {PathNames::join(m_outputDirectory, PathNames::baseName(source) + ".adt"),
                           "/d",
                           m_outputDirectory};
        build.workingDirectory = m_outputDirectory;
        build.environment = environment;
        build.source = source;
        m_steps.push_back(build);
    }
    return true;
}
