#pragma once

#include "DbUnitData.h"

#include <string>

/// A small, complete program unit built by hand:
///
///     line 1   01 REC.              tokens 1-3   (level, name, period)
///     line 2     05 A PIC X.        tokens 4-8
///     line 3   * NOTE               token 9      (comment)
///     line 4   MOVE A OF REC TO B.  tokens 10-16 (B is undefined)
///
/// nodes: 1 unit, 2 entry REC, 3 entry A (in REC), 4 sentence, 5 statement MOVE;
/// symbols: 1 REC (record), 2 A; tree: 1 unit, 2 "01 REC" (kind 3); one mark on token 11.
inline DbUnitData smallUnit(const std::string &name = "SMALL",
                            const std::string &source = "/src/SMALL.cbl")
{
    DbUnitData u;
    u.header.name = name;
    u.header.sourceFile = source;
    u.header.expandedSourceFile = "/out/SMALL.xpd";
    u.header.dialect = "ibm";
    u.inputFiles = {{source, DbInputFileRecord::sourceFile, ""}};
    u.includes = {{0, 1, 0, 0, "", ""}};
    u.lines = {{0, 1, DbLineRecord::code, "       01 REC."},
               {0, 2, DbLineRecord::code, "         05 A PIC X."},
               {0, 3, DbLineRecord::comment, "      * NOTE"},
               {0, 4, DbLineRecord::code, "       MOVE A OF REC TO B."}};
    auto token = [&](std::uint8_t type,
                     std::uint32_t line,
                     std::uint32_t column,
                     std::string text,
                     std::uint32_t symbol,
                     std::uint32_t node) {
        DbTokenRecord t;
        t.type = type;
        t.line = t.expandedLine = line;
        t.column = column;
        t.length = static_cast<std::uint32_t>(text.size());
        t.text = std::move(text);
        t.symbol = symbol;
        t.node = node;
        u.tokens.push_back(std::move(t));
    };
    token(6, 1, 8, "01", 1, 2);
    token(1, 1, 11, "REC", 1, 2);
    token(8, 1, 14, ".", 0, 2);
    token(6, 2, 10, "05", 2, 3);
    token(1, 2, 13, "A", 2, 3);
    token(0, 2, 15, "PIC", 0, 3);
    token(5, 2, 19, "X", 0, 3);
    token(8, 2, 20, ".", 0, 3);
    token(4, 3, 7, "* NOTE", 0, 1);
    token(0, 4, 8, "MOVE", 0, 5);
    token(1, 4, 13, "A", 2, 5);
    token(0, 4, 15, "OF", 0, 5);
    token(1, 4, 18, "REC", 1, 5);
    token(0, 4, 22, "TO", 0, 5);
    token(9, 4, 25, "B", 0, 5);
    token(8, 4, 26, ".", 0, 4);
    u.nodes = {{0, name, 0, 1, 16, 0, 1},
               {6, "REC", 1, 1, 8, 1, 2},
               {6, "A", 2, 4, 8, 2, 0},
               {4, "", 1, 10, 16, 0, 0},
               {5, "MOVE", 4, 10, 15, 0, 0}};
    DbSymbolRecord rec;
    rec.level = 1;
    rec.name = rec.longName = "REC";
    rec.declaringToken = 2;
    rec.record = 1;
    rec.group = rec.recordStart = true;
    rec.length = 1;
    rec.displayText = "00000000";
    rec.usage = "DISPLAY";
    rec.category = "GROUP";
    rec.area = "WORKING-STORAGE";
    rec.line = 1;
    DbSymbolRecord a = rec;
    a.level = 5;
    a.name = "A";
    a.longName = "A OF REC";
    a.declaringToken = 5;
    a.parent = 1;
    a.group = a.recordStart = false;
    a.picture = "X";
    a.category = "ALPHANUMERIC";
    a.line = 2;
    u.symbols = {rec, a};
    u.treeRecords = {{0, name, 0, 1}, {3, "01 REC", 1, 2}};
    u.marks = {{1, 11, 2, "comparison with a two-digit year"}};
    return u;
}
