// Program units recorded from real COBOL (the sample application) through the front end, the
// analysis and the writer, read back through DbEu / DbPu: the database says what the front end
// knows (whose layout the oracle tests prove against GnuCOBOL), and every number converts back.
#include "AdtFile.h"
#include "AnalysisData.h"
#include "AnalysisDataAdapter.h"
#include "DateFieldAnalyzer.h"
#include "DbEu.h"
#include "DbMark.h"
#include "DbPu.h"
#include "FrontEnd.h"
#include "ImpactRecorder.h"
#include "KelPuSmCursor.h"
#include "SeedFile.h"
#include "UnitRecorder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

using namespace kelmkpu;

namespace {

std::filesystem::path samplesDirectory()
{
    const char *sourceDir = std::getenv("CHRONEX_SOURCE_DIR");
    return std::filesystem::path(sourceDir ? sourceDir : "") / "samples";
}

std::string upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class UnitRecord : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(samplesDirectory() / "PAYRUN.cbl"))
            GTEST_SKIP() << "the sample application is not in the source tree";
        std::string pattern = (std::filesystem::temp_directory_path() / "chronex-unit-XXXXXX")
                                  .string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_out = pattern;
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(m_out, error);
    }

    /// Parses, analyses and records one sample program; its analysis data.
    cobol::AnalysisData record(const std::string &name)
    {
        cobol::FrontEnd::Options options;
        options.includeDirectories = {(samplesDirectory() / "copybooks").string()};
        cobol::AnalysisData data = cobol::FrontEnd(options)
                                       .parseFile((samplesDirectory() / (name + ".cbl")).string())
                                       .data;
        const ProgramModel model = AnalysisDataAdapter::toModel(data);
        SeedFile seeds;
        const AnalysisResult result = DateFieldAnalyzer(model)
                                          .run(seeds, DateFieldAnalyzer::Declarations::On);
        std::ostringstream err;
        EXPECT_TRUE(UnitRecorder::record(m_out.string(),
                                         name,
                                         *cobol::AdtFile::fromData(data),
                                         model,
                                         result,
                                         err))
            << err.str();
        return data;
    }

    std::filesystem::path m_out;
};

} // namespace

TEST_F(UnitRecord, everyProgramOfTheSampleApplicationReadsBackWhole)
{
    std::vector<std::pair<std::string, cobol::AnalysisData>> programs;
    for (const std::string name :
         {"CLMCHECK", "EMPAGE", "EMPHIRE", "LOANCALC", "PAYRUN", "POLISSUE", "POLRENEW"})
        programs.emplace_back(name, record(name));

    std::unique_ptr<DbEu> eu = DbEu::open(DbEu::databasePathIn(m_out.string()));
    ASSERT_EQ(eu->numberOfUnits(), programs.size());
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const cobol::AnalysisData &data = programs[p].second;
        SCOPED_TRACE(programs[p].first);
        DbPu &pu = *eu->numberToPu(static_cast<std::uint32_t>(p + 1));
        ASSERT_EQ(pu.puName(), programs[p].first);
        ASSERT_TRUE(pu.load()) << pu.loadError();

        // Symbols: positions and lengths as the front end laid them out, relative to the record.
        ASSERT_EQ(pu.numberOfSymbols(), data.items.size());
        for (KelPuSmCursor cursor(pu); cursor.isValid(); cursor.setToNext()) {
            const DbSymbol &s = cursor.element();
            const cobol::DataItem &item = data.items[s.number() - 1];
            EXPECT_EQ(s.name(), item.name);
            EXPECT_EQ(s.length(), item.length) << item.name;
            if (item.level != 88 && item.level != 78) {
                EXPECT_EQ(s.offset(), item.offset - data.item(item.record)->offset) << item.name;
                char hex[16];
                std::snprintf(hex,
                              sizeof hex,
                              "%08llX",
                              static_cast<unsigned long long>(s.offset() * 8));
                EXPECT_EQ(s.displayText(), hex) << item.name;
            } else {
                EXPECT_TRUE(s.displayText().starts_with("0E")) << item.name;
            }
            ASSERT_NE(s.declaringToken(), nullptr) << item.name;
            EXPECT_EQ(s.declaringToken()->dataSymbol(), &s) << item.name;
            EXPECT_EQ(s.isRecordStart(), item.level == 1 || item.level == 77);
            EXPECT_EQ(s.hasBaseSymbol(), item.redefines || item.renamesFrom) << item.name;
        }

        // Tokens: every number converts back; the parser's tokens keep their order among the
        // comments and COPY words; each token lies inside its owning node; data names know
        // their item; every comment line is shown by a comment token.
        std::size_t parsed = 0;
        for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n) {
            const DbToken *token = pu.numberToToken(n);
            ASSERT_EQ(pu.tokenToNumber(token), n);
            const DbNode *node = token->owningSyntaxNode();
            ASSERT_NE(node, nullptr);
            EXPECT_LE(pu.tokenToNumber(node->firstToken()), n);
            EXPECT_GE(pu.tokenToNumber(node->lastToken()), n);
            const DbSourceLine *line = pu.expandedLine(token->expandedLine());
            ASSERT_NE(line, nullptr) << token->text();
            if (token->type() == DbToken::comment || token->type() == DbToken::copyStatement)
                continue;
            ASSERT_LT(parsed, data.tokens.size());
            EXPECT_EQ(token->text(), data.tokens[parsed].text);
            if (!token->isReplaced()) {
                EXPECT_EQ(line->text.substr(token->column() - 1, token->length()), token->text());
            }
            if (token->type() == DbToken::dataName && token->hasDataSymbol()) {
                EXPECT_EQ(token->dataSymbol()->name(), upper(token->text()));
            }
            ++parsed;
        }
        EXPECT_EQ(parsed, data.tokens.size());
        for (std::uint32_t l = 1; l <= pu.numberOfExpandedLines(); ++l) {
            if (pu.expandedLine(l)->kind == DbLineRecord::comment) {
                ASSERT_NE(pu.firstTokenOnLine(l), nullptr) << "line " << l;
                EXPECT_EQ(pu.firstTokenOnLine(l)->type(), DbToken::comment) << "line " << l;
            }
        }

        // Every data reference in the procedure division has its symbol.
        for (const cobol::Token &t : data.tokens) {
            if (t.role == cobol::TokenRole::DataReference) {
                EXPECT_NE(t.item, 0u) << t.text << " line " << t.place.line;
            }
        }
    }
}

TEST_F(UnitRecord, treeRecordsAndMarksShowTheStructureAndTheDateFields)
{
    record("PAYRUN");
    std::unique_ptr<DbEu> eu = DbEu::open(DbEu::databasePathIn(m_out.string()));
    DbPu &pu = *eu->numberToPu(1);
    ASSERT_TRUE(pu.load()) << pu.loadError();

    // Divisions under the unit, data records (kind 3) under the data sections, paragraphs
    // (kind 2) under the procedure division.
    std::vector<std::string> texts;
    for (DbTreeInfo *r = pu.treeRoot()->pLChild(); r; r = r->pRSibling())
        texts.push_back(r->text());
    EXPECT_EQ(texts,
              (std::vector<std::string>{"IDENTIFICATION DIVISION",
                                        "ENVIRONMENT DIVISION",
                                        "DATA DIVISION",
                                        "PROCEDURE DIVISION"}));
    const DbTreeInfo *data = pu.treeRoot()->pLChild()->pRSibling()->pRSibling();
    const DbTreeInfo *fileSection = data->pLChild();
    EXPECT_EQ(fileSection->text(), "FILE SECTION");
    EXPECT_EQ(fileSection->kind(), DbTreeInfo::dataDivisionEntry);
    EXPECT_EQ(fileSection->pLChild()->text(), "01 EMP-FILE-REC");
    const DbTreeInfo *procedure = data->pRSibling();
    ASSERT_NE(procedure->pLChild(), nullptr);
    EXPECT_EQ(procedure->pLChild()->kind(), DbTreeInfo::procedure);
    // A statement's token finds its paragraph's record by walking up the syntax nodes.
    const DbNode *node = procedure->pLChild()->syntaxNode();
    const DbToken *inside = pu.numberToToken(pu.tokenToNumber(node->lastToken()));
    const DbNode *up = inside->owningSyntaxNode();
    while (up && !up->treeInfo())
        up = up->parent();
    EXPECT_EQ(up, node);

    // The analysis marks the declarations of the date fields it found.
    bool birthYear = false;
    for (const DbMark &mark : pu.marks()) {
        ASSERT_NE(mark.token(), nullptr);
        EXPECT_EQ(mark.tokenNumber(), pu.tokenToNumber(mark.token()));
        if (mark.kind() == DbMark::dateField && mark.symbol()->name() == "EMP-BIRTH-YY")
            birthYear = mark.token() == mark.symbol()->declaringToken();
    }
    EXPECT_TRUE(birthYear);
}

// The steps kelmkpu takes: prepare, place the statements (on their own or while the impact
// facts read the tokens), free the file's tokens and syntax nodes, analyse, finish. The unit is the one recorded in one go, window marks included; a
// preparation dropped before its finish leaves no expanded source, no temporary file and no
// database behind.
TEST_F(UnitRecord, aUnitRecordedInStepsWithoutTheFilesTokensIsTheSameAndADroppedOneLeavesNothing)
{
    for (const std::string name : {"PAYRUN", "LOANCALC", "ORDAGE"}) {
        SCOPED_TRACE(name);
        cobol::FrontEnd::Options options;
        options.includeDirectories = {(samplesDirectory() / "copybooks").string()};
        const cobol::AnalysisData data = cobol::FrontEnd(options)
                                             .parseFile(
                                                 (samplesDirectory() / (name + ".cbl")).string())
                                             .data;
        const std::filesystem::path whole = m_out / (name + "-whole");
        // Statements placed by a pass of their own, or in the impact facts' pass over the
        // tokens (the facts then release the file's statements and tokens as they go).
        const std::filesystem::path steps = m_out / (name + "-steps");
        const std::filesystem::path shared = m_out / (name + "-shared");
        std::filesystem::create_directories(whole);
        std::ostringstream err;
        SeedFile seeds;
        std::optional<ProgramModel> model;
        std::optional<AnalysisResult> result;
        for (const std::filesystem::path &directory : {steps, shared}) {
            std::filesystem::create_directories(directory);
            const std::unique_ptr<cobol::AdtFile> file = cobol::AdtFile::fromData(data);
            {
                const UnitRecorder::PreparationPointer dropped
                    = UnitRecorder::prepare(directory.string(), name, *file);
                ASSERT_NE(dropped, nullptr);
            }
            EXPECT_TRUE(std::filesystem::is_empty(directory));

            const UnitRecorder::PreparationPointer preparation
                = UnitRecorder::prepare(directory.string(), name, *file);
            file->releaseSyntaxNodes();
            model = AnalysisDataAdapter::toModel(*file);
            if (directory == steps) {
                // The impact facts read the file's tokens: built before they go, as kelmkpu
                // does.
                DbImpactFacts impact = ImpactRecorder::build(*file, *model);
                ASSERT_TRUE(UnitRecorder::placeStatements(*preparation, *model));
                file->releaseTokens();
                EXPECT_EQ(file->tokens().next(), false);
                result = DateFieldAnalyzer(*model).run(seeds, DateFieldAnalyzer::Declarations::On);
                ASSERT_TRUE(UnitRecorder::finish(*preparation, *model, *result, err, &impact))
                    << err.str();
            } else {
                UnitRecorder::setImpact(*preparation,
                                        ImpactRecorder::buildReleasingInput(
                                            *file,
                                            *model,
                                            UnitRecorder::statementPlacer(*preparation, *model)));
                UnitRecorder::finishPlacing(*preparation, *model);
                EXPECT_EQ(file->tokens().next(), false);
                ASSERT_TRUE(UnitRecorder::finish(*preparation, *model, *result, err)) << err.str();
            }
        }
        ASSERT_TRUE(UnitRecorder::record(whole.string(),
                                         name,
                                         *cobol::AdtFile::fromData(data),
                                         *model,
                                         *result,
                                         err))
            << err.str();

        auto marksOf = [](const std::filesystem::path &directory) {
            std::vector<std::string> marks;
            std::unique_ptr<DbEu> eu = DbEu::open(DbEu::databasePathIn(directory.string()));
            DbPu &pu = *eu->numberToPu(1);
            EXPECT_TRUE(pu.load()) << pu.loadError();
            for (const DbMark &mark : pu.marks())
                marks.push_back(std::to_string(mark.kind()) + " "
                                + std::to_string(mark.tokenNumber()) + " " + mark.text());
            return marks;
        };
        const std::vector<std::string> marks = marksOf(steps);
        EXPECT_EQ(marks, marksOf(whole));
        EXPECT_EQ(marks, marksOf(shared));
        EXPECT_FALSE(marks.empty());
        EXPECT_TRUE(std::filesystem::exists(steps / (name + ".xpd")));
    }
}
