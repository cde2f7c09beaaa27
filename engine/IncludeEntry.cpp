#include "IncludeEntry.h"

#include "CopybookEntry.h"
#include "ProgramInfo.h"

#include <ostream>

IncludeEntry::IncludeEntry(const CopybookEntry &owner, std::string qualifier)
    : m_owner(&owner)
    , m_qualifier(std::move(qualifier))
{}

bool IncludeEntry::isChangedBy(const ProgramInfo &program) const
{
    if (!m_changeMarked)
        return false;
    const std::shared_ptr<const void> changer = m_changedBy.lock();
    return changer && changer == program.identity();
}

void IncludeEntry::setChangedBy(const ProgramInfo *program)
{
    m_changeMarked = true;
    if (program)
        m_changedBy = program->identity();
    else
        m_changedBy.reset();
}

void IncludeEntry::clearChangeMark()
{
    m_changeMarked = false;
    m_changedBy.reset();
}

void IncludeEntry::writeSeedBlock(std::ostream &out) const
{
    out << "<SEED> <INCLUDE> " << m_owner->name() << ' ' << m_qualifier << '\n';
    for (const KindInterval &run : m_intervals)
        out << "  " << kindTag(run.kind) << " <index> " << run.index << " <length> " << run.length
            << '\n';
    out << "</SEED>\n\n";
}
