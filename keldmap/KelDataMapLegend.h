#pragma once

#include <QWidget>

/// The strip under the data map that says what its colours mean: the date fields the analysis
/// found, items of a REDEFINES or RENAMES pane, records and groups, and the selected item. Each
/// entry is a swatch drawn like the map's box and a label; the entries wrap onto further lines
/// when the window is narrow, so no label is ever cut.
class KelDataMapLegend : public QWidget
{
    Q_OBJECT

public:
    explicit KelDataMapLegend(QWidget *parent = nullptr);
    ~KelDataMapLegend() override;

    /// Shows or hides the date field entry (with the map's "Show Date Fields").
    void setDateFieldsShown(bool shown);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    void arrange(int width);
    void resizeEvent(QResizeEvent *event) override;

    QList<QWidget *> m_entries;
    QWidget *m_dateEntry = nullptr;
};
