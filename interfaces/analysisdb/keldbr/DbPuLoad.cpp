// DbPu::load and DbPu::numberToToken: the part of DbPu that reads a database file (keldbr).
#include "DbPu.h"

#include "DbEu.h"
#include "DbReader.h"
#include "KelMsgException.h"
#include "KelMsgIds.h"

#include <new>

namespace {

/// Keeps the caller's pending message: a failed load reports through `loadError()`, and the
/// exceptions it catches must not leave a message behind for the caller's next show.
class PendingMessageKeeper
{
public:
    PendingMessageKeeper()
        : m_had(KelMsg::hasPending())
        , m_message(KelMsg::pending())
    {}
    ~PendingMessageKeeper()
    {
        if (m_had)
            KelMsg::setPending(std::move(m_message));
        else
            KelMsg::clearPending();
    }

private:
    bool m_had;
    KelMessage m_message;
};

} // namespace

bool DbPu::load()
{
    if (isLoaded())
        return true;
    const std::lock_guard<std::mutex> guard(m_loadMutex);
    if (isLoaded())
        return true; // another thread loaded it while this one waited
    const PendingMessageKeeper keeper;
    try {
        if (m_eu->fileName().empty() || m_databaseId == 0) {
            m_loadError = "The program unit " + puName() + " has no database to load it from.";
            return false;
        }
        DbUnitData data = DbReader::readUnit(m_eu->fileName(), m_databaseId, puName());
        if (const std::string invalid = data.validate(); !invalid.empty()) {
            m_loadError = KelMsg::text(KelMsgId::databaseDamaged,
                                       {m_eu->fileName(),
                                        "the program unit " + puName()
                                            + " is inconsistent: " + invalid});
            return false;
        }
        build(data);
    } catch (const IException &e) {
        m_loadError = e.text();
        return false;
    } catch (const std::bad_alloc &) {
        m_loadError = "There is not enough memory to load the program unit " + puName() + ".";
        return false;
    } catch (const std::exception &e) {
        m_loadError = e.what();
        return false;
    }
    m_loadError.clear();
    m_loaded.store(true, std::memory_order_release);
    return true;
}

DbToken *DbPu::numberToToken(unsigned long number) const
{
    return number >= 1 && number <= m_tokens.size() ? const_cast<DbToken *>(&m_tokens[number - 1])
                                                    : nullptr;
}
