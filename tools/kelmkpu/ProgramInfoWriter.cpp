#include "ProgramInfoWriter.h"

#include "PathNames.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace kelmkpu {

std::string ProgramInfoWriter::fileLineText(const std::string &name)
{
    // The engine reads lines of at most 999 characters; a longer path is given by its file name.
    return name.size() > 900 ? PathNames::fileName(name) : name;
}

void ProgramInfoWriter::writeEmpty(std::ostream &out, const std::string &programName)
{
    out << "<PROGRAM-INFO>\n<FILE> " << fileLineText(programName) << " </FILE>\n</PROGRAM-INFO>\n";
}

void ProgramInfoWriter::write(std::ostream &out,
                              const ProgramModel &model,
                              const AnalysisResult &result)
{
    out << "<PROGRAM-INFO>\n<FILE> "
        << fileLineText(model.files.empty() ? std::string() : model.files.front()) << " </FILE>\n";
    std::vector<std::string> copybooks;
    for (const Include &include : model.includes) {
        if (std::find(copybooks.begin(), copybooks.end(), include.copybook) != copybooks.end())
            continue;
        copybooks.push_back(include.copybook);
        out << "<FILE> " << include.copybook << " </FILE>\n";
    }
    out << "</PROGRAM-INFO>\n";
    for (const IncludeResult &include : result.includes) {
        out << "<INCLUDE> " << include.copybook << " " << include.qualifier << "\n<RESULT>\n";
        for (const KindRun &run : include.runs) {
            const std::string_view name = kindName(run.kind);
            out << "<" << name << ">\n<INDEX> " << run.index << " <LENGTH> " << run.length << "\n</"
                << name << ">\n";
        }
        out << "</RESULT>\n";
    }
}

} // namespace kelmkpu
