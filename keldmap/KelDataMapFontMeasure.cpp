#include "KelDataMapFontMeasure.h"

#include <QString>

KelDataMapFontMeasure::KelDataMapFontMeasure(const QFont &font)
    : m_font(font)
    , m_metrics(font)
    , m_average(m_metrics.averageCharWidth())
{
    for (int c = 32; c < 127; ++c)
        m_advance[static_cast<std::size_t>(c)] = m_metrics.horizontalAdvance(QChar(c));
}

double KelDataMapFontMeasure::width(const std::string &text) const
{
    double sum = 0;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code >= 127)
            return m_metrics.horizontalAdvance(QString::fromStdString(text));
        sum += m_advance[code];
    }
    // Summed advances leave kerning out; the grid keeps room to spare after every text for it.
    return sum;
}
