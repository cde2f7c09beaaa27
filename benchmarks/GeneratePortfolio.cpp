// generate-portfolio: writes the generated COBOL portfolio that the portfolio benchmark converts.
//
//   generate-portfolio --out DIR [--programs 500] [--copybooks 50] [--depth 4] [--seed 1]

#include "PortfolioGenerator.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

int usage(const std::string &problem)
{
    std::cerr << "generate-portfolio: " << problem << "\n"
              << "Usage: generate-portfolio --out DIR [--programs N] [--copybooks N] [--depth N] "
                 "[--seed N]\n";
    return 64;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    PortfolioOptions options;
    std::string out;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &name = arguments[i];
        if (i + 1 >= arguments.size())
            return usage("option " + name + " needs a value.");
        const std::string &value = arguments[++i];
        try {
            if (name == "--out")
                out = value;
            else if (name == "--programs")
                options.programs = std::stoi(value);
            else if (name == "--copybooks")
                options.copybooks = std::stoi(value);
            else if (name == "--depth")
                options.depth = std::stoi(value);
            else if (name == "--seed")
                options.seed = static_cast<unsigned>(std::stoul(value));
            else
                return usage("unknown option " + name + ".");
        } catch (const std::exception &) {
            return usage("option " + name + " needs a number, found '" + value + "'.");
        }
    }
    if (out.empty())
        return usage("no output directory given (--out).");
    try {
        const std::size_t lines = PortfolioGenerator::write(options, out);
        std::cout << options.programs << " programs (" << lines << " lines), " << options.copybooks
                  << " copybooks in chains of " << options.depth + 1 << ", in " << out << "\n";
    } catch (const std::exception &error) {
        std::cerr << "generate-portfolio: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
