#include "AnalysisData.h"

#include "AdtBinaryWriter.h"
#include "AdtCodec.h"
#include "AdtFile.h"
#include "AdtReader.h"
#include "AdtWriter.h"
#include "IException.h"
#include "Lexer.h"
#include "RegularFile.h"
#include "SyntaxTree.h"

#include "PathNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <unordered_set>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace cobol {

const DataItem *AnalysisData::item(std::uint32_t id) const
{
    if (id == 0 || id > items.size())
        return nullptr;
    return &items[id - 1];
}

const Include *AnalysisData::include(std::uint32_t id) const
{
    if (id >= includes.size())
        return nullptr;
    return &includes[id];
}

const std::string &AnalysisData::fileOf(std::uint32_t includeId) const
{
    static const std::string none;
    if (includeId == 0 && includes.empty())
        return sourcePath;
    const Include *inc = include(includeId);
    return inc ? inc->path : none;
}

void AnalysisData::write(std::ostream &out) const
{
    if (!AdtWriter(out).write(*this) || !out)
        ITHROW(IAccessError("The analysis data could not be written."));
}

void AnalysisData::writeFile(const std::string &path) const
{
    PendingAdtFile(*this, path).commit();
}

PendingAdtFile::PendingAdtFile(const AnalysisData &data, const std::string &path)
    : m_path(path)
{
    // A new file beside the target, renamed over the target by `commit`, so that readers never
    // see a half-written file and a failure leaves the previous file (if any) untouched. mkstemp
    // makes the name: no other process can have taken it first.
    std::string hidden(1, '.');
    hidden.append(PathNames::fileName(path)).append(".XXXXXX");
    const std::string pattern = PathNames::join(PathNames::directory(path), hidden);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        ITHROW(IAccessError("Cannot create the analysis data file " + pattern + ": "
                            + std::strerror(errno) + "."));
    const std::string temporary(name.data());
    int error = 0;
    const bool written = AdtBinaryWriter::write(data, [fd, &error](std::string_view piece) {
        while (!piece.empty()) {
            const ssize_t done = ::write(fd, piece.data(), piece.size());
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0) {
                error = done < 0 ? errno : ENOSPC;
                return false;
            }
            piece.remove_prefix(static_cast<std::size_t>(done));
        }
        return true;
    });
    // The analysis data is an ordinary file for the user, not the owner-only mode mkstemp chose.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0 && written)
        error = errno;
    if (!written || error != 0) {
        ::unlink(temporary.c_str());
        ITHROW(IAccessError("Cannot write the analysis data file " + temporary + ": "
                            + std::strerror(error) + "."));
    }
    m_temporary = temporary;
}

PendingAdtFile::~PendingAdtFile()
{
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

void PendingAdtFile::commit()
{
    if (m_temporary.empty())
        return;
    if (std::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        ITHROW(IAccessError("Cannot rename " + m_temporary + " to " + m_path + ": "
                            + std::strerror(error) + "."));
    }
    m_temporary.clear();
}

AnalysisData AnalysisData::read(std::istream &in, std::string_view fileName)
{
    std::string text;
    char chunk[1 << 16];
    while (in) {
        in.read(chunk, sizeof chunk);
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    return parse(std::move(text), fileName);
}

AnalysisData AnalysisData::readFile(const std::string &path)
{
    // Only a regular file is read: a FIFO named as the analysis data would block for ever.
    RegularFile::Result file = RegularFile::read(path, std::numeric_limits<std::size_t>::max());
    if (!file)
        ITHROW(IAccessError("The analysis data file " + path + " " + file.problem + "."));
    return parse(std::move(file.text), path);
}

AnalysisData AnalysisData::parse(std::string text, std::string_view fileName)
{
    if (text.size() >= adt::headerSize && std::string_view(text).substr(0, 8) == adt::magic)
        return AdtFile::readBinary(text, std::string(fileName));
    return AdtReader(std::move(text), fileName).read();
}

void AnalysisData::completeStructure()
{
    if (structureKnown)
        return;
    SyntaxTree::record(*this);
    // Each file once, under its first include, read as the program ends.
    const SourceFormat format = freeFormat ? SourceFormat::Free : SourceFormat::Fixed;
    std::unordered_set<std::string> seen;
    const std::size_t count = std::max<std::size_t>(1, includes.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string &path = fileOf(static_cast<std::uint32_t>(i));
        if (!seen.insert(path).second)
            continue;
        const RegularFile::Result file = RegularFile::read(path);
        if (!file)
            continue;
        std::vector<Diagnostic> ignored;
        const auto include = static_cast<std::uint32_t>(i);
        for (const SourceRemark &r : Lexer(file.text, include, format, ignored).scanRemarks())
            remarks.push_back({r.kind == SourceRemark::Kind::Comment ? Remark::Kind::Comment
                                                                     : Remark::Kind::Directive,
                               include,
                               r.line,
                               r.column,
                               r.length});
    }
    structureKnown = true;
}

std::string_view toString(StorageArea value)
{
    switch (value) {
    case StorageArea::File:
        return "FILE";
    case StorageArea::WorkingStorage:
        return "WORKING-STORAGE";
    case StorageArea::LocalStorage:
        return "LOCAL-STORAGE";
    case StorageArea::Linkage:
        return "LINKAGE";
    case StorageArea::Other:
        return "OTHER";
    }
    return "OTHER";
}

std::string_view toString(Usage value)
{
    switch (value) {
    case Usage::Display:
        return "DISPLAY";
    case Usage::Binary:
        return "BINARY";
    case Usage::Comp5:
        return "COMP-5";
    case Usage::Packed:
        return "COMP-3";
    case Usage::Comp1:
        return "COMP-1";
    case Usage::Comp2:
        return "COMP-2";
    case Usage::Pointer:
        return "POINTER";
    case Usage::Index:
        return "INDEX";
    case Usage::National:
        return "NATIONAL";
    }
    return "DISPLAY";
}

std::string_view toString(Category value)
{
    switch (value) {
    case Category::Group:
        return "GROUP";
    case Category::Alphabetic:
        return "ALPHABETIC";
    case Category::Alphanumeric:
        return "ALPHANUMERIC";
    case Category::AlphanumericEdited:
        return "ALPHANUMERIC-EDITED";
    case Category::Numeric:
        return "NUMERIC";
    case Category::NumericEdited:
        return "NUMERIC-EDITED";
    case Category::National:
        return "NATIONAL";
    case Category::Float:
        return "FLOAT";
    case Category::Pointer:
        return "POINTER";
    case Category::Index:
        return "INDEX";
    case Category::Condition:
        return "CONDITION";
    case Category::Renames:
        return "RENAMES";
    case Category::Constant:
        return "CONSTANT";
    }
    return "GROUP";
}

std::string_view toString(ProgramNode::Kind value)
{
    switch (value) {
    case ProgramNode::Kind::Division:
        return "DIVISION";
    case ProgramNode::Kind::Section:
        return "SECTION";
    case ProgramNode::Kind::Paragraph:
        return "PARAGRAPH";
    }
    return "PARAGRAPH";
}

std::string_view toString(StatementKind value)
{
    switch (value) {
    case StatementKind::Move:
        return "MOVE";
    case StatementKind::MoveCorresponding:
        return "MOVE-CORRESPONDING";
    case StatementKind::Compute:
        return "COMPUTE";
    case StatementKind::Add:
        return "ADD";
    case StatementKind::AddCorresponding:
        return "ADD-CORRESPONDING";
    case StatementKind::Subtract:
        return "SUBTRACT";
    case StatementKind::SubtractCorresponding:
        return "SUBTRACT-CORRESPONDING";
    case StatementKind::Multiply:
        return "MULTIPLY";
    case StatementKind::Divide:
        return "DIVIDE";
    case StatementKind::Compare:
        return "COMPARE";
    case StatementKind::Accept:
        return "ACCEPT";
    case StatementKind::Initialize:
        return "INITIALIZE";
    case StatementKind::Call:
        return "CALL";
    case StatementKind::Read:
        return "READ";
    case StatementKind::Write:
        return "WRITE";
    case StatementKind::PerformVarying:
        return "PERFORM-VARYING";
    case StatementKind::PerformTimes:
        return "PERFORM-TIMES";
    case StatementKind::Perform:
        return "PERFORM";
    case StatementKind::Set:
        return "SET";
    case StatementKind::String:
        return "STRING";
    case StatementKind::Unstring:
        return "UNSTRING";
    case StatementKind::Other:
        return "OTHER";
    case StatementKind::Exec:
        return "EXEC";
    }
    return "OTHER";
}

std::string_view toString(StatementContext value)
{
    switch (value) {
    case StatementContext::None:
        return "NONE";
    case StatementContext::If:
        return "IF";
    case StatementContext::Evaluate:
        return "EVALUATE";
    case StatementContext::PerformUntil:
        return "PERFORM-UNTIL";
    case StatementContext::SearchWhen:
        return "SEARCH-WHEN";
    }
    return "NONE";
}

std::string_view toString(OperandRole value)
{
    switch (value) {
    case OperandRole::Source:
        return "SOURCE";
    case OperandRole::Target:
        return "TARGET";
    case OperandRole::Compared:
        return "COMPARED";
    case OperandRole::Remainder:
        return "REMAINDER";
    case OperandRole::Counter:
        return "COUNTER";
    case OperandRole::Argument:
        return "ARGUMENT";
    case OperandRole::Procedure:
        return "PROCEDURE";
    case OperandRole::Both:
        return "BOTH";
    case OperandRole::Column:
        return "COLUMN";
    }
    return "SOURCE";
}

std::string_view toString(OperandKind value)
{
    switch (value) {
    case OperandKind::Item:
        return "ITEM";
    case OperandKind::Literal:
        return "LITERAL";
    case OperandKind::Figurative:
        return "FIGURATIVE";
    case OperandKind::Function:
        return "FUNCTION";
    }
    return "ITEM";
}

std::string_view toString(RefMod value)
{
    switch (value) {
    case RefMod::None:
        return "NONE";
    case RefMod::Constant:
        return "CONSTANT";
    case RefMod::Variable:
        return "VARIABLE";
    }
    return "NONE";
}

std::string_view toString(TokenKind value)
{
    switch (value) {
    case TokenKind::Word:
        return "WORD";
    case TokenKind::Number:
        return "NUMBER";
    case TokenKind::Literal:
        return "LITERAL";
    case TokenKind::Punctuation:
        return "PUNCTUATION";
    case TokenKind::PictureString:
        return "PICTURE";
    case TokenKind::Other:
        return "OTHER";
    }
    return "OTHER";
}

std::string_view toString(TokenRole value)
{
    switch (value) {
    case TokenRole::None:
        return "NONE";
    case TokenRole::Keyword:
        return "KEYWORD";
    case TokenRole::Level:
        return "LEVEL";
    case TokenRole::DataDeclaration:
        return "DATA-DECLARATION";
    case TokenRole::DataReference:
        return "DATA-REFERENCE";
    case TokenRole::ProcedureDeclaration:
        return "PROCEDURE-DECLARATION";
    case TokenRole::ProcedureReference:
        return "PROCEDURE-REFERENCE";
    }
    return "NONE";
}

std::string_view toString(Diagnostic::Severity value)
{
    switch (value) {
    case Diagnostic::Severity::Information:
        return "INFORMATION";
    case Diagnostic::Severity::Warning:
        return "WARNING";
    case Diagnostic::Severity::Error:
        return "ERROR";
    }
    return "ERROR";
}

std::string_view toString(SyntaxNode::Kind value)
{
    switch (value) {
    case SyntaxNode::Kind::Program:
        return "PROGRAM";
    case SyntaxNode::Kind::Division:
        return "DIVISION";
    case SyntaxNode::Kind::Section:
        return "SECTION";
    case SyntaxNode::Kind::Paragraph:
        return "PARAGRAPH";
    case SyntaxNode::Kind::Sentence:
        return "SENTENCE";
    case SyntaxNode::Kind::Statement:
        return "STATEMENT";
    case SyntaxNode::Kind::DataEntry:
        return "DATA-ENTRY";
    }
    return "STATEMENT";
}

std::string_view toString(Remark::Kind value)
{
    switch (value) {
    case Remark::Kind::Comment:
        return "COMMENT";
    case Remark::Kind::Directive:
        return "DIRECTIVE";
    }
    return "COMMENT";
}

std::string includeQualifier(std::string_view library,
                             const std::vector<std::pair<std::string, std::string>> &replacing)
{
    std::string qualifier = library.empty() ? std::string("DEFAULT")
                                            : "LIB=" + std::string(library);
    if (replacing.empty())
        return qualifier;
    // FNV-1a over "from\x1fto\x1e" for each pair: stable across runs and platforms.
    std::uint32_t hash = 2166136261u;
    auto feed = [&hash](std::string_view text) {
        for (unsigned char c : text) {
            hash ^= c;
            hash *= 16777619u;
        }
    };
    for (const auto &[from, to] : replacing) {
        feed(from);
        feed("\x1f");
        feed(to);
        feed("\x1e");
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(hash));
    return qualifier + "+R" + hex;
}

} // namespace cobol
