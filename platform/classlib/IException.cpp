#include "IException.h"

#include "ITrace.h"

#include <utility>

IException::IException(std::string text, unsigned long errorId, Severity severity)
    : m_errorId(errorId)
    , m_severity(severity)
{
    m_texts.push_back(std::move(text));
}

const char *IException::name() const
{
    return "IException";
}

const char *IException::what() const noexcept
{
    return m_texts.empty() ? "" : m_texts.back().c_str();
}

IException &IException::addText(std::string text)
{
    m_texts.push_back(std::move(text));
    return *this;
}

const std::string &IException::text(std::size_t indexFromTop) const
{
    static const std::string empty;
    if (indexFromTop >= m_texts.size())
        return empty;
    return m_texts[m_texts.size() - 1 - indexFromTop];
}

IException &IException::setErrorId(unsigned long errorId)
{
    m_errorId = errorId;
    return *this;
}

IException &IException::setSeverity(Severity severity)
{
    m_severity = severity;
    return *this;
}

IException &IException::addLocation(IExceptionLocation location)
{
    m_locations.push_back(std::move(location));
    return *this;
}

const IExceptionLocation &IException::locationAtIndex(std::size_t index) const
{
    static const IExceptionLocation none;
    if (index >= m_locations.size())
        return none;
    return m_locations[index];
}

void IException::logExceptionData(std::string_view component) const
{
    ITrace::writeException(component, *this);
}

const char *IAccessError::name() const
{
    return "IAccessError";
}

const char *IResourceExhausted::name() const
{
    return "IResourceExhausted";
}

const char *IInvalidRequest::name() const
{
    return "IInvalidRequest";
}
