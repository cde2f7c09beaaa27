#pragma once

#include "HostView.h"

class QLabel;

/// The grapher's place (view 593) until the control-flow grapher is built: a window that says
/// plainly that the graph is not available yet and offers the views that show a program's
/// structure meanwhile (the structure tree and the source browser). It is a grapher for the
/// other views: it answers their queries for its unit, so "Find in Graph" brings this window
/// forward instead of opening another, and it says which statement was asked for.
class KelGrapherPlaceholder : public HostView
{
    Q_OBJECT

public:
    explicit KelGrapherPlaceholder(const StartWindowData &request);
    ~KelGrapherPlaceholder() override;

    QString grabName() const override;
    void reveal(const StartWindowData &request) override;
    /// The text under the heading.
    QString explanation() const;

protected:
    bool userEvent(IUserEvent &event) override;
    bool canShow(std::uint32_t tokenNumber, std::uint32_t unitNumber) const override;

private:
    void showAsked(DbPu *pu, std::uint32_t tokenNumber);

    QLabel *m_explanation = nullptr;
    QLabel *m_asked = nullptr;
};
