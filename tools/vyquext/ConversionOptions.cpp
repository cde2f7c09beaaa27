#include "ConversionOptions.h"

#include "Environment.h"
#include "IException.h"
#include "PathNames.h"
#include "RegularFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vyquext {

namespace {

const char *const header = "V2R2F1 QVF TRCAFile Options";

std::string absolute(const std::string &path)
{
    if (path.empty())
        return path;
    std::error_code error;
    const fs::path result = fs::absolute(path, error);
    return error ? path : result.lexically_normal().string();
}

std::string normalDirectory(const std::string &path)
{
    return PathNames::withoutTrailingSeparators(absolute(path));
}

} // namespace

ConversionOptions ConversionOptions::defaults(const std::string &sourcePath)
{
    ConversionOptions options;
    options.origin = "defaults";
    options.complete(sourcePath);
    return options;
}

void ConversionOptions::complete(const std::string &sourcePath)
{
    if (input.empty())
        input = sourcePath;
    input = absolute(input);
    const std::string base = PathNames::baseName(sourcePath);
    if (outputDirectory.empty() && !cvtPath.empty())
        outputDirectory = PathNames::directory(absolute(cvtPath));
    if (outputDirectory.empty()) {
        const char *environment = std::getenv("CHRONEX_OUTPUT_DIR");
        std::error_code error;
        outputDirectory = environment && *environment ? std::string(environment)
                                                      : fs::current_path(error).string();
    }
    outputDirectory = normalDirectory(outputDirectory);
    if (cvtPath.empty())
        cvtPath = PathNames::join(outputDirectory, base + ".cvt");
    cvtPath = absolute(cvtPath);
    if (xcaPath.empty())
        xcaPath = PathNames::join(outputDirectory, base + ".xca");
    xcaPath = absolute(xcaPath);

    // The converted file goes into the output directory and never over the source.
    if (normalDirectory(PathNames::directory(cvtPath)) != outputDirectory)
        ITHROW(IAccessError("The converted file " + cvtPath + " is not in the output directory "
                            + outputDirectory + "."));
    std::error_code error;
    if (cvtPath == input || (fs::exists(cvtPath, error) && fs::equivalent(cvtPath, input, error)))
        ITHROW(IAccessError("The converted file " + cvtPath + " would replace the source " + input
                            + "."));
}

ConversionOptions ConversionOptions::parse(const std::string &text,
                                           const std::string &fileName,
                                           const std::string &sourcePath)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    auto at = [&](std::size_t number) -> std::string {
        return number <= lines.size() ? lines[number - 1] : std::string();
    };
    auto expect = [&](std::size_t number, const std::string &expected) {
        if (at(number) != expected)
            ITHROW(IAccessError(
                fileName + ":" + std::to_string(number) + ": expected \"" + expected + "\", found "
                + (number > lines.size() ? "the end of the file" : "\"" + at(number) + "\"")));
    };
    expect(1, header);
    expect(2, "Input File");
    expect(6, "Output File");
    expect(19, "CHX");

    ConversionOptions options;
    options.optionsPath = fileName;
    options.origin = fileName;
    options.input = at(3);
    options.cvtPath = at(7);
    options.outputDirectory = at(8);
    options.xcaPath = at(21);
    if (at(36) == "Format") {
        options.freeFormat = at(37) == "0";
        const std::string pivot = at(39);
        if (!pivot.empty() && pivot != "0") {
            int value = -1;
            if (pivot.size() <= 2 && pivot.find_first_not_of("0123456789") == std::string::npos)
                value = std::stoi(pivot);
            if (value < 1 || value > 99)
                ITHROW(IAccessError(fileName
                                    + ":39: expected a pivot year from 1 to 99 (or 0 "
                                      "for the default), found \""
                                    + pivot + "\""));
            options.pivot = value;
        }
    }
    options.complete(sourcePath);
    return options;
}

ConversionOptions ConversionOptions::forSource(const std::string &sourcePath)
{
    std::error_code error;
    if (!fs::exists(environmentFilePath(), error))
        return defaults(sourcePath);
    const std::string work = readenv("QVFWORK", "Conversion & Structuring");
    if (work.empty())
        return defaults(sourcePath);
    const std::string path = PathNames::join(work, PathNames::baseName(sourcePath) + ".c3a");
    if (!fs::exists(path, error)) {
        ConversionOptions options = defaults(sourcePath);
        options.origin = "defaults (no options file " + path + ")";
        return options;
    }
    // Checked on the opened file, without blocking: a FIFO swapped in is refused as well.
    const RegularFile::Result file = RegularFile::read(path);
    if (!file)
        ITHROW(IAccessError("The conversion options file " + path + " " + file.problem + "."));
    return parse(file.text, path, sourcePath);
}

} // namespace vyquext
