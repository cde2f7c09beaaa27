#include "SyntaxChecker.h"

#include "AnalysisData.h"
#include "DiagnosticMapper.h"
#include "ExecTranslator.h"
#include "PathNames.h"
#include "TemporaryDirectory.h"
#include "TranslationPlan.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

bool readFile(const std::string &path, std::string &text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

bool writeFile(const std::string &path, const std::string &text)
{
    std::error_code ignored;
    std::filesystem::create_directories(PathNames::directory(path), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

/// Writes the translation of every file `plan` names into `workDirectory` (copybooks of a
/// library into its subdirectory), registers them with `mapper` and sets `checked` to the
/// translated program; false, with `problem` set, when a file cannot be read or written.
bool translateFiles(const TranslationPlan &plan,
                    const cobol::AnalysisData &data,
                    const SyntaxChecker::Options &options,
                    const std::string &workDirectory,
                    DiagnosticMapper &mapper,
                    std::string &checked,
                    std::string &problem)
{
    const cobol::SourceFormat format = data.freeFormat || options.freeFormat
                                           ? cobol::SourceFormat::Free
                                           : cobol::SourceFormat::Fixed;
    std::set<std::string> written;
    for (std::uint32_t id : plan.includesToTranslate) {
        const cobol::Include *include = data.include(id);
        if (!include || include->implicit || !written.insert(include->path).second)
            continue;
        std::string text;
        if (!readFile(include->path, text)) {
            problem = "cannot read " + include->path + " to translate its EXEC blocks";
            return false;
        }
        // The program source is read in the format the check starts with; copybooks in the one
        // the program ends in, as the front end reads them.
        const ExecTranslator translator(plan,
                                        id == 0 && !options.freeFormat ? cobol::SourceFormat::Fixed
                                                                       : format);
        ExecTranslator::Result translated = translator.translate(id, text);
        const std::string name = PathNames::fileName(include->path);
        const std::string target = id == 0
                                       ? PathNames::join(workDirectory, name)
                                       : PathNames::join(include->library.empty()
                                                             ? workDirectory
                                                             : PathNames::join(workDirectory,
                                                                               include->library),
                                                         name);
        if (!writeFile(target, translated.text)) {
            problem = "cannot write the translation of " + include->path + " to " + target;
            return false;
        }
        // cobc names a copybook it finds in its working directory by the name it looked for.
        if (id != 0)
            mapper.add(target.substr(workDirectory.size() + 1),
                       include->path,
                       translated.originalLines);
        mapper.add(target, include->path, std::move(translated.originalLines));
        if (id == 0)
            checked = target;
    }
    return true;
}

/// The directories cobc searches: the -i directories, the source's own, COBCPY's, then the
/// system members. A user's SQLCA or DFHAID wins, as it does in the front end.
std::vector<std::string> searchPath(const SyntaxChecker::Options &options)
{
    std::vector<std::string> directories = options.includeDirectories;
    const std::string sourceDir = PathNames::directory(options.source);
    directories.push_back(sourceDir.empty() ? std::string(".") : sourceDir);
    directories.insert(directories.end(),
                       options.cobcpyDirectories.begin(),
                       options.cobcpyDirectories.end());
    if (!options.systemDirectory.empty())
        directories.push_back(options.systemDirectory);
    return directories;
}

} // namespace

std::vector<std::string> SyntaxChecker::plainCheck(const Options &options)
{
    std::vector<std::string> cobc = {"cobc", "-fsyntax-only", "-std=" + options.dialect};
    if (options.freeFormat)
        cobc.push_back("-free");
    for (const std::string &dir : searchPath(options))
        cobc.push_back("-I" + dir);
    cobc.push_back(options.source);
    return cobc;
}

bool SyntaxChecker::mayNeedNoTranslation(std::string_view source)
{
    // The check waits for this scan of the whole source: a letter is taken in either case by
    // setting bit 5, which maps only 'E' and 'D' to 'e' and 'd' (the words are all letters).
    const auto lower = [](char c) {
        return static_cast<char>(static_cast<unsigned char>(c) | 0x20);
    };
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = lower(source[i]);
        if (c != 'e' && c != 'd')
            continue;
        for (std::string_view word : {"exec", "dfhresp", "dfhvalue"}) {
            if (source.size() - i < word.size() || word[0] != c)
                continue;
            bool same = true;
            for (std::size_t k = 1; k < word.size() && same; ++k)
                same = lower(source[i + k]) == word[k];
            if (same)
                return false;
        }
    }
    return true;
}

bool SyntaxChecker::needsTranslation(const cobol::AnalysisData &data)
{
    return !TranslationPlan::of(data).includesToTranslate.empty();
}

ChildProcess::Result SyntaxChecker::run(const Options &options,
                                        const cobol::AnalysisData &data,
                                        std::string &problem,
                                        std::unique_ptr<ChildProcess::Running> started)
{
    const TranslationPlan plan = TranslationPlan::of(data);
    if (plan.includesToTranslate.empty())
        return started ? started->wait() : ChildProcess::run(plainCheck(options));
    if (started)
        started->stop();

    std::vector<std::string> cobc = {"cobc", "-fsyntax-only", "-std=" + options.dialect};
    if (options.freeFormat)
        cobc.push_back("-free");
    const std::vector<std::string> directories = searchPath(options);

    std::error_code error;
    const TemporaryDirectory work(std::filesystem::temp_directory_path(error).string(),
                                  "chronex-zmc2-");
    if (work.path().empty()) {
        problem = "cannot create a temporary directory for the translation of the EXEC blocks";
        return {};
    }
    // cobc looks for copybooks in its working directory before the -I directories: it runs in
    // the temporary directory, which holds the translated program and copybooks, and finds the
    // rest where it found them before, our working directory coming first.
    const std::string workDirectory = work.path();
    DiagnosticMapper mapper;
    std::string checked = options.source;
    if (!translateFiles(plan, data, options, workDirectory, mapper, checked, problem))
        return {};
    cobc.push_back("-I" + std::filesystem::current_path(error).string());
    for (const std::string &dir : directories)
        cobc.push_back("-I" + std::filesystem::absolute(dir, error).string());
    cobc.push_back(checked);
    ChildProcess::Result result = ChildProcess::run(cobc, work.path());
    result.output = mapper.map(result.output);
    return result;
}
