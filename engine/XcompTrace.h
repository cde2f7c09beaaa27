#pragma once

#include <iosfwd>
#include <string_view>

/// The engine's "XCOMP" trace: lines printed only when the environment variable
/// `YWIZ_TRACE_XCOMP` is switched on. The seed table and the passes each hold one.
///
/// The variable is read once, on the first call of `startupSwitch()`; later changes to the
/// environment are not seen. Tests choose the switch and the stream explicitly.
class XcompTrace final
{
public:
    enum class Switch { Off, On };

    /// The switch as `YWIZ_TRACE_XCOMP` set it when the program started.
    static Switch startupSwitch();

    /// The on/off rule for a value of `YWIZ_TRACE_XCOMP`: on when the value is non-empty and
    /// either consists of digits only with a non-zero numeric value, or is "yes" or "on" in any
    /// letter case.
    static bool isOnValue(std::string_view value);

    /// A trace following `startupSwitch()` that writes to standard output.
    XcompTrace();
    /// A trace with an explicit switch writing to `out`, which must outlive the trace.
    explicit XcompTrace(Switch traceSwitch, std::ostream &out);

    bool isOn() const { return m_on; }

    /// Writes `text` and a newline, when on.
    void line(std::string_view text) const;
    /// Writes `text` without ending the line, when on.
    void text(std::string_view text) const;

    /// The stream the trace writes to (written to only when on).
    std::ostream &stream() const { return *m_out; }

private:
    bool m_on = false;
    std::ostream *m_out;
};
