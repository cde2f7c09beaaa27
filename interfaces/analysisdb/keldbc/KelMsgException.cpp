#include "KelMsgException.h"

KelMsgException::KelMsgException(unsigned long number, std::vector<std::string> inserts)
    : IException(KelMsg::text(number, inserts), number)
    , m_message(KelMsg::make(nullptr, 0, number, inserts))
{
    if (winMsgSet())
        KelMsg::setPending(m_message);
}

const char *KelMsgException::name() const
{
    return "KelMsgException";
}
