#pragma once

#include "IException.h"
#include "KelMsg.h"

#include <string>
#include <vector>

/// The exception of the analysis database library: a class-library exception that carries a
/// numbered message. Making one sets the thread's pending message, so the catching entry point
/// shows it with `KelMsg::winMsgShow1` (see KelMsg). Throw it with ITHROW so it records where.
class KelMsgException : public IException
{
public:
    /// Carries message `number` with `inserts`; its text is the message's text.
    KelMsgException(unsigned long number, std::vector<std::string> inserts = {});

    const char *name() const override;

    /// Whether the exception carries a message to show (always, unless made from number 0).
    bool winMsgSet() const { return m_message.number != 0; }
    const KelMessage &message() const { return m_message; }

private:
    KelMessage m_message;
};
