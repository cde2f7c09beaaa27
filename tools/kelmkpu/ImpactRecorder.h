#pragma once

#include "AdtFile.h"
#include "DbImpactFacts.h"

#include <functional>
#include <string>

namespace kelmkpu {

struct ProgramModel;

/// Builds what a program unit contributes to field impact (DbImpactFacts) from the front end's
/// analysis data and the analyser's model of the program:
///
/// - accesses: every data item operand of a statement (and its subscripts), read or written by
///   its role; a condition name stands for its conditional variable;
/// - flows: the joins the date-field analysis makes (MOVE and READ INTO / WRITE FROM byte for
///   byte when a side is a group or alphanumeric, whole items for numeric moves; comparisons
///   alike; MOVE CORRESPONDING pair by pair; EXEC data flow), and arithmetic from each term into
///   each result (one way, whole items);
/// - copybook spans: where the bytes of copybooks lie in the program's storage;
/// - the PROCEDURE DIVISION USING parameters and every CALL with its arguments by position
///   (OMITTED counts), so that the reader can follow CALL USING into a called program;
/// - boundaries: STRING and UNSTRING operands, EXEC CICS LINK / XCTL / RETURN COMMAREAs, whose
///   flow is not followed.
class ImpactRecorder final
{
public:
    /// Needs the file's statements: call it before AdtFile::releaseStatements. Throws
    /// IAccessError naming the file when a statement is malformed.
    static DbImpactFacts build(const cobol::AdtFile &file, const ProgramModel &model);
    /// Facts whose accesses and flows are still packed, a few bytes each (they are most of a
    /// large unit's facts).
    struct PackedFacts
    {
        DbImpactFacts facts; ///< without accesses and flows
        DbImpactFacts::PackedRecords accesses;
        DbImpactFacts::PackedRecords flows;

        /// DbImpactFacts::encode of the whole.
        std::string encode() const { return facts.encode(&accesses, &flows); }
    };

    /// As `build`, for the last reader of the file's statements and tokens: releases each
    /// (AdtFile::releaseStatements, releaseTokens) as soon as it has read them, so that they
    /// are gone while the facts are finished; the accesses and flows stay packed.
    /// `alsoReadToken`, when given, is called with each of the file's tokens in order as the
    /// facts read them, for a reader that needs them too (one pass instead of two).
    using TokenReader = std::function<void(const cobol::AdtFile::TokenView &)>;
    static PackedFacts buildReleasingInput(cobol::AdtFile &file,
                                           const ProgramModel &model,
                                           const TokenReader &alsoReadToken = {});
};

} // namespace kelmkpu
