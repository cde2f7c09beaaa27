#include "PortfolioGenerator.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

/// Draws from the portfolio's seed. Modulo of the raw engine, so the files are the same with
/// every standard library.
class Draw
{
public:
    explicit Draw(unsigned seed)
        : m_engine(seed)
    {}
    int below(int bound) { return static_cast<int>(m_engine() % static_cast<unsigned>(bound)); }
    int between(int low, int high) { return low + below(high - low + 1); }

private:
    std::mt19937 m_engine;
};

/// `value` in decimal, with zeros in front up to `width` digits.
std::string zeroPadded(std::size_t value, std::size_t width)
{
    const std::string digits = std::to_string(value);
    std::string text(digits.size() < width ? width - digits.size() : 0, '0');
    text += digits;
    return text;
}

std::string twoDigits(int value)
{
    return zeroPadded(static_cast<std::size_t>(value), 2);
}

std::string copybookName(int index)
{
    return "CB" + twoDigits(index);
}

/// `text` padded with blanks to `width` characters.
std::string padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

Lines copybook(int index)
{
    const std::string p = copybookName(index);
    const std::vector<std::pair<const char *, const char *>> fields = {{"KEY", "PIC X(8)."},
                                                                       {"OPENED", "PIC 9(6)."},
                                                                       {"CLOSED", "PIC 9(6)."},
                                                                       {"REVIEW", "PIC 9(5)."},
                                                                       {"QTY", "PIC 9(4)."},
                                                                       {"RATE",
                                                                        "PIC S9(3)V99 COMP-3."},
                                                                       {"AMOUNT",
                                                                        "PIC S9(7)V99 COMP-3."},
                                                                       {"STATUS", "PIC X."}};
    std::string title = "      * ";
    title += p + "      GENERATED RECORD " + twoDigits(index) + " OF THE PORTFOLIO";
    Lines lines = {"      *================================================================",
                   title,
                   "      *================================================================"};
    for (const auto &[name, picture] : fields) {
        lines.push_back("           05  " + padded(p + "-" + name, 19) + " " + picture);
        if (std::string(name) == "STATUS")
            lines.push_back("               88  " + p + "-ACTIVE     VALUE 'A'.");
    }
    lines.push_back("           05  " + p + "-HIST            OCCURS 4 TIMES.");
    lines.push_back("               10  " + p + "-HIST-STAMP  PIC 9(6).");
    lines.push_back("               10  " + p + "-HIST-CODE   PIC XX.");
    lines.push_back("           05  FILLER              PIC X(10).");
    return lines;
}

/// Statements about one included copybook. Its date fields are compared and moved within the
/// record only (and compared with literals), so they learn from each other but never from
/// another copybook: the chains alone carry knowledge from record to record.
void addRecordStatements(Lines &lines, int copybook, int step, Draw &draw)
{
    const std::string p = copybookName(copybook);
    const Lines statements = {"       STEP-" + zeroPadded(static_cast<std::size_t>(step), 3) + ".",
                              "           IF " + p + "-CLOSED < " + p + "-OPENED",
                              "               MOVE " + p + "-OPENED TO " + p + "-CLOSED",
                              "           END-IF",
                              "           MOVE " + p + "-OPENED TO " + p + "-HIST-STAMP (1)",
                              "           IF " + p + "-HIST-STAMP (1) < "
                                  + std::to_string(draw.between(100000, 991231)),
                              "               ADD 1 TO WS-COUNT",
                              "           END-IF",
                              "           MOVE " + p + "-QTY TO WS-I",
                              "           IF WS-I > 0 AND WS-I < 21",
                              "               MOVE " + p + "-HIST-CODE (1) TO WS-ENTRY (WS-I)",
                              "           END-IF",
                              "           MOVE " + p + "-REVIEW (1:2) TO WS-RUN-YY",
                              "           COMPUTE " + p + "-AMOUNT = " + p + "-AMOUNT + " + p
                                  + "-RATE * " + p + "-QTY",
                              "           IF " + p + "-ACTIVE",
                              "               MOVE " + p + "-KEY TO WS-NOTE",
                              "               DISPLAY 'RECORD ' " + p + "-KEY ' OPENED ' " + p
                                  + "-OPENED",
                              "           END-IF."};
    lines.insert(lines.end(), statements.begin(), statements.end());
}

struct ProgramPlan
{
    std::vector<int> includes;
    std::vector<std::pair<int, int>> links; ///< (from, to): moves from's date into to's
    std::vector<int> evidence;              ///< copybooks that get today's date
};

Lines program(const std::string &name, const ProgramPlan &plan, Draw &draw)
{
    Lines lines = {"       IDENTIFICATION DIVISION.",
                   "       PROGRAM-ID. " + name + ".",
                   "      *================================================================",
                   "      * " + name + "    GENERATED PROGRAM OF THE PORTFOLIO",
                   "      *================================================================",
                   "       ENVIRONMENT DIVISION.",
                   "       DATA DIVISION.",
                   "       WORKING-STORAGE SECTION."};
    for (const int c : plan.includes) {
        lines.push_back("       01  WS-" + copybookName(c) + "-AREA.");
        lines.push_back("           COPY " + copybookName(c) + ".");
    }
    const Lines storage = {"       01  WS-TODAY                PIC 9(6).",
                           "       01  WS-RUN-YY               PIC 99.",
                           "       01  WS-I                    PIC 99.",
                           "       01  WS-COUNT                PIC 9(5) VALUE ZERO.",
                           "       01  WS-TOTAL                PIC S9(9)V99 VALUE ZERO.",
                           "       01  WS-NOTE                 PIC X(30).",
                           "       01  WS-TABLE.",
                           "           05  WS-ENTRY            PIC XX OCCURS 20 TIMES.",
                           "       PROCEDURE DIVISION.",
                           "       MAIN-PARA.",
                           "           PERFORM STEP-000 THRU STEP-"
                               + zeroPadded(plan.includes.size(), 3),
                           "           DISPLAY 'DONE ' WS-COUNT ' ' WS-TOTAL",
                           "           GOBACK.",
                           "       STEP-000.",
                           "           ACCEPT WS-TODAY FROM DATE"};
    lines.insert(lines.end(), storage.begin(), storage.end());
    for (const int c : plan.evidence)
        lines.push_back("           MOVE WS-TODAY TO " + copybookName(c) + "-OPENED");
    for (const auto &[from, to] : plan.links)
        lines.push_back("           MOVE " + copybookName(from) + "-OPENED TO " + copybookName(to)
                        + "-OPENED");
    lines.push_back("           MOVE ZERO TO WS-COUNT.");
    int step = 1;
    for (const int c : plan.includes)
        addRecordStatements(lines, c, step++, draw);
    return lines;
}

std::vector<ProgramPlan> planPortfolio(const PortfolioOptions &options, Draw &draw)
{
    std::vector<std::set<int>> includes(static_cast<std::size_t>(options.programs));
    std::vector<ProgramPlan> plans(static_cast<std::size_t>(options.programs));
    const int chains = options.copybooks / (options.depth + 1);
    for (int g = 0; g < chains; ++g) {
        const auto chain = [&](int k) { return g * (options.depth + 1) + k; };
        // The date arrives at the end of the list ...
        const auto e = static_cast<std::size_t>(options.programs - 1 - g);
        plans[e].evidence.push_back(chain(0));
        includes[e].insert(chain(0));
        // ... and each link sits earlier than the one before it.
        for (int k = 1; k <= options.depth; ++k) {
            const auto at = static_cast<std::size_t>(
                (options.programs * (options.depth + 1 - k)) / (options.depth + 2) + g);
            plans[at].links.emplace_back(chain(k - 1), chain(k));
            includes[at].insert(chain(k - 1));
            includes[at].insert(chain(k));
        }
    }
    for (std::size_t p = 0; p < plans.size(); ++p) {
        const std::size_t wanted = static_cast<std::size_t>(draw.between(3, 5));
        while (includes[p].size() < wanted)
            includes[p].insert(draw.below(options.copybooks));
        // Included in an order of their own, not by number.
        std::vector<int> order(includes[p].begin(), includes[p].end());
        for (std::size_t i = order.size(); i > 1; --i)
            std::swap(order[i - 1],
                      order[static_cast<std::size_t>(draw.below(static_cast<int>(i)))]);
        plans[p].includes = order;
    }
    return plans;
}

void writeLines(const std::filesystem::path &path, const Lines &lines)
{
    std::ofstream out(path);
    for (const std::string &line : lines)
        out << line << '\n';
    out.close();
    if (!out)
        throw std::runtime_error("The file " + path.string() + " cannot be written.");
}

} // namespace

namespace PortfolioGenerator {

int minimumPrograms(const PortfolioOptions &options)
{
    // Every link position and evidence program must exist and stay apart.
    const int chains = options.copybooks / (options.depth + 1);
    return (options.depth + 2) * (chains + 1);
}

std::size_t write(const PortfolioOptions &options, const std::filesystem::path &directory)
{
    if (options.copybooks < 1 || options.copybooks > 100 || options.depth < 1
        || options.copybooks < options.depth + 1 || options.programs > 9999
        || options.programs < minimumPrograms(options))
        throw std::invalid_argument("The portfolio needs 1 to 100 copybooks, a depth of 1 or "
                                    "more that fits them, and "
                                    + std::to_string(minimumPrograms(options))
                                    + " to 9999 programs.");
    std::filesystem::create_directories(directory);
    Draw draw(options.seed);
    for (int c = 0; c < options.copybooks; ++c)
        writeLines(directory / (copybookName(c) + ".cpy"), copybook(c));
    const std::vector<ProgramPlan> plans = planPortfolio(options, draw);
    std::size_t lines = 0;
    for (std::size_t p = 0; p < plans.size(); ++p) {
        // Four digits: the programs are fewer than 10000.
        std::string name = "P";
        name += zeroPadded(p, 4);
        const Lines text = program(name, plans[p], draw);
        lines += text.size();
        writeLines(directory / (name + ".cbl"), text);
    }
    return lines;
}

} // namespace PortfolioGenerator
