#include "XcompTrace.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>

XcompTrace::Switch XcompTrace::startupSwitch()
{
    static const Switch atStartup = [] {
        const char *value = std::getenv("YWIZ_TRACE_XCOMP");
        return value && isOnValue(value) ? Switch::On : Switch::Off;
    }();
    return atStartup;
}

bool XcompTrace::isOnValue(std::string_view value)
{
    if (value.empty())
        return false;
    const bool digitsOnly = std::all_of(value.begin(), value.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (digitsOnly) // non-zero however many digits, so no number can overflow
        return value.find_first_not_of('0') != std::string_view::npos;
    std::string lower(value);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return lower == "yes" || lower == "on";
}

XcompTrace::XcompTrace()
    : XcompTrace(startupSwitch(), std::cout)
{}

XcompTrace::XcompTrace(Switch traceSwitch, std::ostream &out)
    : m_on(traceSwitch == Switch::On)
    , m_out(&out)
{}

void XcompTrace::line(std::string_view text) const
{
    if (m_on)
        *m_out << text << std::endl;
}

void XcompTrace::text(std::string_view text) const
{
    if (m_on)
        *m_out << text;
}
