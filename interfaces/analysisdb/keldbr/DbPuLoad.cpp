#include "DbPu.h"

bool DbPu::load()
{
    if (isLoaded())
        return true;
    const std::lock_guard<std::mutex> guard(m_loadMutex);
    m_loadError = "Loading from a database file is not implemented yet.";
    return false;
}

DbToken *DbPu::numberToToken(unsigned long number) const
{
    return number >= 1 && number <= m_tokens.size() ? const_cast<DbToken *>(&m_tokens[number - 1])
                                                    : nullptr;
}
