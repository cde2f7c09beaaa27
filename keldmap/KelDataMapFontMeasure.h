#pragma once

#include "KelDataMapLayout.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>

/// Measures the map's texts in a font for the layout. Names are ASCII almost always: their widths
/// are summed from a table of character advances made once, so a record of tens of thousands of
/// names is measured in a few milliseconds; other texts go through the font's metrics.
class KelDataMapFontMeasure final : public KelDataMapTextMeasure
{
public:
    explicit KelDataMapFontMeasure(const QFont &font);

    double averageCharWidth() const override { return m_average; }
    double width(const std::string &text) const override;

    const QFont &font() const { return m_font; }

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    std::array<double, 128> m_advance{};
    double m_average = 0;
};
