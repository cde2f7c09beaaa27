#include "DbEu.h"

#include "KelMsgException.h"
#include "KelMsgIds.h"

std::unique_ptr<DbEu> DbEu::open(const std::string &fileName)
{
    ITHROW(KelMsgException(KelMsgId::databaseNotOpened, {fileName, "not implemented yet"}));
}
