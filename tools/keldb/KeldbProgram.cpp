#include "KeldbProgram.h"

#include "DbEu.h"
#include "DbLookup.h"
#include "DbPu.h"
#include "ImpactCommand.h"
#include "KelMsgException.h"
#include "StorageMap.h"

#include <cstdio>
#include <memory>
#include <ostream>

namespace {

struct Arguments
{
    std::string command;
    std::string database;
    std::string unit;
    std::string record;
    std::string copybook;
    std::string bytes;
};

int usage(std::ostream &err, const std::string &problem)
{
    err << "keldb: " << problem << "\n"
        << "Usage: keldb units DB | keldb symbols DB UNIT | keldb map DB UNIT RECORD "
           "[--copybook NAME]\n"
           "       keldb impact DB UNIT ITEM | keldb impact DB --copybook NAME --bytes A-B | "
           "keldb copybook DB NAME\n"
           "Try 'keldb --help' for more information.\n";
    return KeldbProgram::usageError;
}

std::unique_ptr<DbEu> openDatabase(const std::string &path, std::ostream &err)
{
    try {
        return DbEu::open(path);
    } catch (const KelMsgException &e) {
        KelMsg::clearPending(); // reported here
        err << "keldb: " << e.text() << "\n";
    }
    return nullptr;
}

/// The one unit `spec` names, loaded; null with the status in `status` otherwise.
DbPu *unit(DbEu &eu, const std::string &spec, std::ostream &err, int &status)
{
    const std::vector<DbPu *> units = DbLookup::units(eu, spec);
    if (units.empty()) {
        err << "keldb: the analysis database " << eu.fileName() << " has no program unit " << spec
            << ".\n";
        status = KeldbProgram::notFound;
        return nullptr;
    }
    if (units.size() > 1) {
        err << "keldb: " << units.size() << " program units are named " << spec
            << "; name one by its number or its source file:\n";
        for (DbPu *pu : units)
            err << "  " << eu.puToNumber(pu) << "  " << pu->sourceFileName() << "\n";
        status = KeldbProgram::notFound;
        return nullptr;
    }
    if (!units.front()->load()) {
        err << "keldb: " << units.front()->loadError() << "\n";
        status = KeldbProgram::unreadable;
        return nullptr;
    }
    return units.front();
}

std::string padded(std::uint64_t value, int width)
{
    char text[32];
    std::snprintf(text, sizeof text, "%*llu", width, static_cast<unsigned long long>(value));
    return text;
}

void listUnits(DbEu &eu, std::ostream &out)
{
    out << "Execution unit: " << eu.euName() << " (" << eu.numberOfUnits() << " program units)\n";
    for (DbPuEntryTable::Cursor cursor(eu.puEntryTable()); cursor.isValid(); cursor.setToNext()) {
        const DbPu &pu = *cursor.element().pu();
        out << padded(cursor.element().number(), 4) << "  " << pu.puName() << "  "
            << DbPu::toIString(pu.state()) << "  " << pu.header().tokenCount << " tokens  "
            << pu.header().symbolCount << " symbols  " << pu.sourceFileName() << "\n";
    }
}

void listSymbols(const DbPu &pu, std::ostream &out)
{
    for (std::uint32_t n = 1; n <= pu.numberOfSymbols(); ++n) {
        const DbSymbol &s = *pu.symbol(n);
        char level[8];
        std::snprintf(level, sizeof level, "%02u", s.level());
        out << level << " " << padded(s.offset(), 8) << " " << padded(s.length(), 8) << "  "
            << s.longName() << "\n";
    }
}

int map(const DbPu &pu, const Arguments &args, std::ostream &out, std::ostream &err)
{
    const std::vector<const DbSymbol *> items = DbLookup::items(pu, args.record, args.copybook);
    if (items.size() == 1) {
        out << StorageMap(*items.front()).text();
        return KeldbProgram::success;
    }
    if (items.empty()) {
        err << "keldb: the program unit " << pu.puName() << " has no data item " << args.record
            << (args.copybook.empty() ? "" : " in copybook " + args.copybook) << ".\n";
        return KeldbProgram::notFound;
    }
    err << "keldb: " << items.size() << " data items of " << pu.puName() << " are named "
        << args.record << "; qualify the name or choose the copybook with --copybook:\n";
    for (const DbSymbol *item : items) {
        const std::string copybook = DbLookup::copybookOf(*item);
        err << "  " << item->longName()
            << (copybook.empty() ? std::string(" (program source)")
                                 : " (copybook " + copybook + ")")
            << "\n";
    }
    return KeldbProgram::notFound;
}

int runImpact(const Arguments &args,
              const std::vector<std::string> &words,
              std::ostream &out,
              std::ostream &err)
{
    ImpactCommand::Request request;
    if (words.size() >= 2)
        request.database = words[1];
    if (args.command == "copybook") {
        if (words.size() != 3)
            return usage(err, "the copybook command takes 2 arguments.");
        request.copybook = words[2];
        return ImpactCommand::copybookMap(request, out, err);
    }
    if (!args.copybook.empty()) {
        if (words.size() != 2 || args.bytes.empty())
            return usage(err, "impact --copybook takes the database and --bytes A-B.");
        request.copybook = args.copybook;
        request.bytes = args.bytes;
        return ImpactCommand::impact(request, out, err);
    }
    if (words.size() < 4)
        return usage(err, "the impact command takes 3 arguments (or --copybook and --bytes).");
    request.unit = words[2];
    for (std::size_t i = 3; i < words.size(); ++i)
        request.item += (request.item.empty() ? "" : " ") + words[i];
    return ImpactCommand::impact(request, out, err);
}

} // namespace

std::string KeldbProgram::helpText()
{
    return R"help(Usage: keldb units DB
       keldb symbols DB UNIT
       keldb map DB UNIT RECORD [--copybook NAME]
       keldb impact DB UNIT ITEM
       keldb impact DB --copybook NAME --bytes A-B
       keldb copybook DB NAME

Reads an analysis database (chxanalysis.db in a conversion's output directory, where kelmkpu
records every program unit).

  units     the execution unit's name, then one line per program unit: its number, name,
            state, token and symbol counts and source file
  symbols   one line per data item of UNIT in declaration order: level, byte offset from its
            record's first byte, length in bytes (one occurrence), qualified name
  map       the storage map of RECORD as the data map lays it out: one line per position,
            its byte offset right-aligned in 8 characters, then every item starting there
            as its column (its depth, the record in column 1) and name, with OCCURS n TIMES
            for a table; items without storage (88, 78) are left out
  impact    the statements of every program unit that read or write the bytes of ITEM
            (or bytes A-B of copybook NAME laid out on its own, 1-based), directly or
            through moves, comparisons, arithmetic, REDEFINES, RENAMES, shared copybooks and
            CALL USING into a called unit's linkage section: one line per statement, fields
            separated by a TAB: program, file:line, read, write or read/write, the statement,
            and the chain of statements that carried the bytes there ("direct" for none).
            Then the flows not followed (dynamic CALLs, programs outside the execution
            unit, STRING/UNSTRING, CICS COMMAREAs): "not followed" and the reason
  copybook  the storage map of copybook NAME laid out on its own, as map prints it, then
            the date fields units found in it and notes on includes that lay it out
            differently (REPLACING, SYNC)

UNIT      a program name, a unit number (3 or #3) or a source file
RECORD    a data name: a level-01 record, or a group inside one (its part of the record's
          map, same offsets and columns); when it is not unique qualify it
          ("ACCT-ID OF ACCOUNT-RECORD") or name the copybook that declares it with
          --copybook NAME

Exit status: 0 done, 1 no such unit or record (or not unique), 2 the database cannot be
read (missing, locked, damaged, another version), 64 usage error.
)help";
}

int KeldbProgram::run(const std::vector<std::string> &arguments,
                      std::ostream &out,
                      std::ostream &err)
{
    Arguments args;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        if (a == "--help" || a == "-h") {
            out << helpText();
            return success;
        }
        if (a == "--copybook" && i + 1 < arguments.size())
            args.copybook = arguments[++i];
        else if (a.starts_with("--copybook="))
            args.copybook = a.substr(11);
        else if (a == "--bytes" && i + 1 < arguments.size())
            args.bytes = arguments[++i];
        else if (a.starts_with("--bytes="))
            args.bytes = a.substr(8);
        else if (a.starts_with("--"))
            return usage(err, "unknown option " + a + ".");
        else
            words.push_back(a);
    }
    if (words.empty())
        return usage(err, "no command given.");
    args.command = words[0];
    if (args.command == "impact" || args.command == "copybook")
        return runImpact(args, words, out, err);
    const std::size_t needed = args.command == "units"     ? 2
                               : args.command == "symbols" ? 3
                               : args.command == "map"     ? 4
                                                           : 0;
    if (needed == 0)
        return usage(err, "unknown command " + args.command + ".");
    if (words.size() < needed || (args.command != "map" && words.size() > needed))
        return usage(err,
                     "the " + args.command + " command takes " + std::to_string(needed - 1)
                         + " arguments.");
    args.database = words[1];
    if (needed > 2)
        args.unit = words[2];
    for (std::size_t i = 3; i < words.size(); ++i)
        args.record += (args.record.empty() ? "" : " ") + words[i];

    std::unique_ptr<DbEu> eu = openDatabase(args.database, err);
    if (!eu)
        return unreadable;
    if (args.command == "units") {
        listUnits(*eu, out);
        return success;
    }
    int status = success;
    DbPu *pu = unit(*eu, args.unit, err, status);
    if (!pu)
        return status;
    if (args.command == "symbols") {
        listSymbols(*pu, out);
        return success;
    }
    return map(*pu, args, out, err);
}
