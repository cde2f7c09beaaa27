// DbImpact::load and ::tokenOf: the parts of DbImpact that read a database file or a loaded
// unit's tokens (keldbr).
#include "DbImpact.h"

#include "DbConnection.h"
#include "DbPu.h"
#include "DbReader.h"
#include "DbSchema.h"

std::unique_ptr<DbImpact> DbImpact::load(const std::string &fileName)
{
    DbConnection connection(fileName, DbConnection::Mode::readOnly, DbReader::busyTimeoutMs);
    DbSchema::checkForReading(connection);
    DbTransaction transaction(connection, DbTransaction::Kind::read);
    auto impact = std::make_unique<DbImpact>();
    // Every unit takes its place in table order (as DbEu numbers them), also one without facts.
    DbStatement
        units(connection,
              "SELECT pu.name, impact.data FROM pu LEFT JOIN impact ON impact.pu_id = pu.id "
              "ORDER BY pu.id");
    while (units.step()) {
        const std::string name = units.text(0);
        DbImpactFacts facts;
        std::string error;
        const std::string_view data = units.blob(1);
        if (data.empty())
            impact->m_warnings.push_back("the program unit " + name + " has no impact facts");
        else if (!DbImpactFacts::decode(data, facts, error))
            impact->m_warnings.push_back("the program unit " + name + " is left out: " + error);
        impact->addUnit(name, std::move(facts));
    }
    transaction.commit();
    return impact;
}

DbToken *DbImpact::tokenOf(const DbPu &pu, const Place &place)
{
    DbToken *first = nullptr;
    for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n) {
        DbToken *token = pu.numberToToken(n);
        if (token->include() != place.include || token->line() != place.line)
            continue;
        if (token->column() == place.column)
            return token;
        if (!first)
            first = token;
    }
    return first;
}
