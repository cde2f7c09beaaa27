#include "SourceView.h"

#include "DbMark.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "ICurrentApplication.h"
#include "KelhostResourceIds.h"
#include "KelresrcResourceIds.h"
#include "SourceDocument.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace {

// Colours of what the view draws around the tokens.
const QColor gutterBackground(0xf3, 0xf3, 0xf3);
const QColor gutterRule(0xd8, 0xd8, 0xd8);
const QColor lineNumberColour(0x80, 0x80, 0x80);
const QColor copybookNumberColour(0x2a, 0x6e, 0xa8);
const QColor sequenceAreaColour(0xa0, 0xa0, 0xa0);
const QColor currentLineColour(0xea, 0xf2, 0xfb);
const QColor boundaryColour(0x8f, 0xae, 0xcf);
const QColor boundaryLabelColour(0x4f, 0x6f, 0x90);
const QColor dateFieldColour(0xe0, 0x8e, 0x00);
const QColor windowSiteColour(0xc0, 0x39, 0x2b);
const QColor depthColours[] = {QColor(0x5b, 0x9b, 0xd5),
                               QColor(0x70, 0xad, 0x47),
                               QColor(0xed, 0x7d, 0x31),
                               QColor(0x7f, 0x6f, 0xb0),
                               QColor(0xbf, 0x9a, 0x00)};
const QColor copybookTints[] = {QColor(0xf4, 0xf8, 0xfd),
                                QColor(0xf2, 0xf8, 0xee),
                                QColor(0xfd, 0xf6, 0xee),
                                QColor(0xf6, 0xf4, 0xfb)};

constexpr std::uint32_t sequenceAreaEnd = 6; // columns 1-6: sequence numbers
constexpr std::uint32_t programAreaEnd = 72; // columns 73-80: identification area
constexpr int depthBarStep = 5;
constexpr int maximumBarsShown = 6;

QColor markColour(const DbMark &mark)
{
    return mark.kind() == DbMark::dateField ? dateFieldColour : windowSiteColour;
}

QString markText(const DbMark &mark)
{
    const unsigned long id = mark.kind() == DbMark::dateField ? KelRes::hostBrowserDateFieldMark
                                                              : KelRes::hostBrowserWindowSiteMark;
    return ICurrentApplication::loadString(id).arg(QString::fromStdString(mark.text()));
}

} // namespace

SourceView::SourceView(const SourceDocument &document, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("sourceView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    horizontalScrollBar()->setSingleStep(8);
    updateGeometryValues();
}

SourceView::~SourceView() = default;

void SourceView::setSourceStyle(const SourceStyle &style)
{
    m_style = style;
    updateGeometryValues();
    viewport()->update();
}

void SourceView::updateGeometryValues()
{
    const QFontMetrics metrics(m_style.font());
    const int digits = static_cast<int>(
        QString::number(std::max(m_document.lineCount(), 99u)).size());
    m_marginWidth = std::max(14, m_style.lineHeight());
    m_numberWidth = digits * metrics.horizontalAdvance(QLatin1Char('0')) + 10;
    const int depth = static_cast<int>(
        std::min<std::uint32_t>(m_document.maximumDepth(), maximumBarsShown));
    m_barsWidth = 6 + depth * depthBarStep;
    std::size_t longest = 80;
    for (std::uint32_t line = 1; line <= m_document.lineCount(); ++line)
        longest = std::max(longest, m_document.text(line).size());
    // Room for the copybook labels after the program area.
    m_contentWidth = static_cast<int>(longest + 40) * m_style.characterWidth();
    setViewportMargins(0, 0, 0, 0);
    updateScrollBars();
}

void SourceView::updateScrollBars()
{
    const int visible = static_cast<int>(visibleLineCount());
    const int lines = static_cast<int>(m_document.lineCount());
    verticalScrollBar()->setRange(0, std::max(0, lines - visible));
    verticalScrollBar()->setPageStep(std::max(1, visible - 1));
    verticalScrollBar()->setSingleStep(1);
    const int textWidth = std::max(0, viewport()->width() - gutterWidth());
    horizontalScrollBar()->setRange(0, std::max(0, m_contentWidth - textWidth));
    horizontalScrollBar()->setPageStep(std::max(1, textWidth));
}

std::uint32_t SourceView::topLine() const
{
    return static_cast<std::uint32_t>(verticalScrollBar()->value()) + 1;
}

std::uint32_t SourceView::visibleLineCount() const
{
    return static_cast<std::uint32_t>(std::max(1, viewport()->height() / m_style.lineHeight()));
}

int SourceView::textLeft() const
{
    return gutterWidth() + 4 - horizontalScrollBar()->value();
}

std::vector<int> SourceView::columnPositions(std::uint32_t line, const QString &text) const
{
    // Proportional fonts: walk the line as it is drawn, token by token in its own font.
    std::vector<int> positions(static_cast<std::size_t>(text.size()) + 1, 0);
    const QFontMetrics plain(m_style.font());
    const auto spans = m_document.spans(line);
    auto span = spans.begin();
    int x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto column = static_cast<std::uint32_t>(i + 1);
        while (span != spans.end() && column >= span->column + std::max(span->length, 1u))
            ++span;
        const bool inSpan = span != spans.end() && column >= span->column;
        const QFontMetrics metrics(inSpan ? m_style.font(m_style.format(span->type).styles)
                                          : m_style.font());
        positions[static_cast<std::size_t>(i)] = x;
        x += metrics.horizontalAdvance(text.at(i));
    }
    positions.back() = x;
    return positions;
}

int SourceView::xOfColumn(const std::vector<int> &positions, std::uint32_t column) const
{
    if (m_style.isFixedPitch() || positions.empty())
        return static_cast<int>(column - 1) * m_style.characterWidth();
    const std::size_t index = column - 1;
    if (index < positions.size())
        return positions[index];
    return positions.back()
           + static_cast<int>(index - (positions.size() - 1)) * m_style.characterWidth();
}

SourceView::Hit SourceView::hitTest(const QPoint &position) const
{
    Hit hit;
    const std::uint32_t offset = static_cast<std::uint32_t>(std::max(0, position.y())
                                                            / m_style.lineHeight());
    const std::uint32_t line = topLine() + offset;
    if (position.y() < 0 || line > m_document.lineCount())
        return hit;
    hit.line = line;
    if (position.x() < m_marginWidth) {
        hit.area = Area::margin;
        return hit;
    }
    if (position.x() < m_marginWidth + m_numberWidth) {
        hit.area = Area::lineNumber;
        return hit;
    }
    if (position.x() < gutterWidth()) {
        hit.area = Area::copyBars;
        return hit;
    }
    hit.area = Area::text;
    const int x = position.x() - textLeft();
    if (m_style.isFixedPitch()) {
        hit.column = static_cast<std::uint32_t>(std::max(0, x) / m_style.characterWidth()) + 1;
        return hit;
    }
    const QString text = QString::fromStdString(m_document.text(line));
    const std::vector<int> positions = columnPositions(line, text);
    std::uint32_t column = 1;
    while (column < positions.size() && positions[column] <= x)
        ++column;
    if (column >= positions.size() && x >= positions.back())
        column = static_cast<std::uint32_t>(positions.size())
                 + static_cast<std::uint32_t>((x - positions.back()) / m_style.characterWidth());
    hit.column = column;
    return hit;
}

void SourceView::select(const Selection &selection, Placement placement, Origin origin)
{
    const std::uint32_t previous = m_selection.line;
    m_selection = selection;
    if (!selection.isEmpty())
        scrollToLine(selection.line, placement);
    if (previous != 0 || !selection.isEmpty())
        viewport()->update();
    emit selectionChanged(origin);
}

bool SourceView::selectToken(std::uint32_t token, Placement placement, Origin origin)
{
    const DbToken *found = m_document.pu().numberToToken(token);
    const std::uint32_t line = m_document.lineOfToken(token);
    if (!found || line == 0)
        return false;
    select(Selection{line, found->column(), std::max(found->length(), 1u), token},
           placement,
           origin);
    return true;
}

void SourceView::clearSelection()
{
    if (m_selection.isEmpty())
        return;
    select(Selection{}, Placement::ifHidden, Origin::user);
}

void SourceView::scrollToLine(std::uint32_t line, Placement placement)
{
    if (line == 0 || line > m_document.lineCount())
        return;
    const std::uint32_t top = topLine();
    const std::uint32_t visible = visibleLineCount();
    if (placement == Placement::ifHidden && line >= top && line < top + visible)
        return;
    const int wanted = static_cast<int>(line) - 1 - static_cast<int>(visible / 3);
    verticalScrollBar()->setValue(std::max(0, wanted));
    // Bring the selected columns into sight as well.
    if (m_selection.line == line && m_style.isFixedPitch()) {
        const int x = static_cast<int>(m_selection.column - 1) * m_style.characterWidth();
        const int width = std::max(0, viewport()->width() - gutterWidth() - 8);
        QScrollBar *bar = horizontalScrollBar();
        if (x < bar->value() || x > bar->value() + width)
            bar->setValue(std::max(0, x - width / 2));
    }
}

void SourceView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), m_style.pageBackground());
    const std::uint32_t first = topLine();
    const std::uint32_t count = visibleLineCount() + 1;
    const std::uint32_t last = std::min(m_document.lineCount(), first + count - 1);
    painter.setClipRect(QRect(gutterWidth(), 0, viewport()->width(), viewport()->height()));
    for (std::uint32_t line = first; line <= last; ++line)
        paintLine(painter, line, static_cast<int>(line - first) * m_style.lineHeight());
    painter.setClipping(false);
    paintGutter(painter, first, last);
}

void SourceView::paintLine(QPainter &painter, std::uint32_t line, int y)
{
    const SourceDocument::Line &info = m_document.line(line);
    const int height = m_style.lineHeight();
    const QRect row(gutterWidth(), y, viewport()->width() - gutterWidth(), height);
    if (info.depth > 0)
        painter.fillRect(row, copybookTints[(info.depth - 1) % std::size(copybookTints)]);
    if (m_selection.line == line)
        painter.fillRect(row, currentLineColour);

    const QString text = QString::fromStdString(m_document.text(line));
    const std::vector<int> positions = m_style.isFixedPitch() ? std::vector<int>()
                                                              : columnPositions(line, text);
    const int left = textLeft();
    const int baseline = y + 1 + m_style.ascent();
    const auto length = static_cast<std::uint32_t>(text.size());
    const bool codeLine = info.kind == 0;

    // Plain text between the tokens: sequence and identification areas greyed.
    const auto drawPlain = [&](std::uint32_t from, std::uint32_t to) {
        for (std::uint32_t column = from; column < to;) {
            const bool sequence = codeLine
                                  && (column <= sequenceAreaEnd || column > programAreaEnd);
            std::uint32_t end = column;
            while (end < to
                   && (codeLine && (end <= sequenceAreaEnd || end > programAreaEnd)) == sequence)
                ++end;
            const QString piece = text.mid(column - 1, end - column);
            if (!piece.trimmed().isEmpty()) {
                painter.setFont(m_style.font());
                painter.setPen(sequence ? sequenceAreaColour : m_style.plainText());
                painter.drawText(left + xOfColumn(positions, column), baseline, piece);
            }
            column = end;
        }
    };

    std::uint32_t column = 1;
    for (const SourceDocument::Span &span : m_document.spans(line)) {
        if (span.column < column || span.column > length)
            continue;
        drawPlain(column, span.column);
        const std::uint32_t end = std::min(length + 1, span.column + std::max(span.length, 1u));
        const SourceStyle::Format &format = m_style.format(span.type);
        const int x = left + xOfColumn(positions, span.column);
        const int width = left + xOfColumn(positions, end) - x;
        if (format.background.isValid())
            painter.fillRect(QRect(x, y, width, height), format.background);
        painter.setFont(m_style.font(format.styles));
        painter.setPen(format.text);
        painter.drawText(x, baseline, text.mid(span.column - 1, end - span.column));
        column = end;
    }
    drawPlain(column, length + 1);

    // The findings' tokens are underlined in their colour.
    for (const DbMark *mark : m_document.marks(line)) {
        const DbToken *token = mark->token();
        const int x = left + xOfColumn(positions, token->column());
        const int width = left
                          + xOfColumn(positions, token->column() + std::max(token->length(), 1u))
                          - x;
        QPen pen(markColour(*mark), 2, Qt::DotLine);
        painter.setPen(pen);
        painter.drawLine(x, y + height - 2, x + width, y + height - 2);
    }

    if (m_selection.line == line && m_selection.length > 0) {
        const int x = left + xOfColumn(positions, m_selection.column);
        const int end = left + xOfColumn(positions, m_selection.column + m_selection.length);
        const QRect area(x, y, end - x, height);
        painter.fillRect(area, palette().color(QPalette::Active, QPalette::Highlight));
        const DbToken *token = m_selection.token ? m_document.pu().numberToToken(m_selection.token)
                                                 : nullptr;
        painter.setFont(token ? m_style.font(m_style.format(token->type()).styles)
                              : m_style.font());
        painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
        painter.drawText(x, baseline, text.mid(m_selection.column - 1, m_selection.length));
    }

    if (info.boundary != SourceDocument::Boundary::none)
        paintBoundary(painter, line, y, left + xOfColumn(positions, length + 3));
}

void SourceView::paintBoundary(QPainter &painter, std::uint32_t line, int y, int textEnd)
{
    const SourceDocument::Line &info = m_document.line(line);
    painter.setPen(QPen(boundaryColour, 1));
    painter.drawLine(gutterWidth(), y, viewport()->width(), y);
    const QString copybook = QString::fromStdString(m_document.copybookName(info.boundaryInclude));
    // The long form names the file too; where it does not fit beside the line's text, the
    // short form (the file is in the tool tip).
    QString label;
    QString shortLabel;
    if (info.boundary == SourceDocument::Boundary::enter) {
        const QString file = QString::fromStdString(m_document.fileOf(info.boundaryInclude));
        label = ICurrentApplication::loadString(KelRes::hostBrowserCopyLabel)
                    .arg(copybook, file.section(QLatin1Char('/'), -1));
        shortLabel = QStringLiteral("COPY ") + copybook;
    } else {
        label = ICurrentApplication::loadString(KelRes::hostBrowserEndOfCopyLabel).arg(copybook);
        shortLabel = label;
    }
    QFont font = m_style.font();
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(boundaryLabelColour);
    // At the right edge of the view, so it reads whole, unless the line's own text reaches
    // there: then after the text.
    const QFontMetrics metrics(font);
    const int room = viewport()->width() - 8 - textEnd;
    if (metrics.horizontalAdvance(label) > room)
        label = shortLabel;
    const int x = std::max(textEnd, viewport()->width() - metrics.horizontalAdvance(label) - 8);
    painter.drawText(x, y + 1 + m_style.ascent(), label);
}

void SourceView::paintGutter(QPainter &painter, std::uint32_t first, std::uint32_t last)
{
    const int height = m_style.lineHeight();
    painter.fillRect(QRect(0, 0, gutterWidth(), viewport()->height()), gutterBackground);
    painter.setPen(gutterRule);
    painter.drawLine(gutterWidth() - 1, 0, gutterWidth() - 1, viewport()->height());
    painter.setFont(m_style.font());
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (std::uint32_t line = first; line <= last; ++line) {
        const int y = static_cast<int>(line - first) * height;
        const SourceDocument::Line &info = m_document.line(line);
        // Findings: one dot per kind found on the line.
        int dot = 0;
        bool seen[2] = {false, false};
        for (const DbMark *mark : m_document.marks(line)) {
            const int kind = mark->kind() == DbMark::dateField ? 0 : 1;
            if (seen[kind])
                continue;
            seen[kind] = true;
            const int size = std::max(6, height / 2);
            painter.setPen(Qt::NoPen);
            painter.setBrush(markColour(*mark));
            painter.drawEllipse(
                QRect(3 + dot * (size / 2 + 1), y + (height - size) / 2, size, size));
            ++dot;
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(info.depth > 0 ? copybookNumberColour : lineNumberColour);
        painter.drawText(QRect(m_marginWidth, y, m_numberWidth - 6, height),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(line));
        const int bars = std::min<int>(info.depth, maximumBarsShown);
        for (int bar = 0; bar < bars; ++bar)
            painter.fillRect(QRect(m_marginWidth + m_numberWidth + 2 + bar * depthBarStep,
                                   y,
                                   depthBarStep - 2,
                                   height),
                             depthColours[bar % std::size(depthColours)]);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

QString SourceView::toolTipText(const Hit &hit) const
{
    if (hit.line == 0)
        return {};
    QStringList lines;
    for (const DbMark *mark : m_document.marks(hit.line))
        lines << markText(*mark);
    if (hit.area == Area::lineNumber || hit.area == Area::copyBars)
        lines.prepend(QString::fromStdString(m_document.placeOf(hit.line)));
    if (hit.area == Area::text) {
        lines.clear();
        const std::uint32_t number = m_document.tokenAt(hit.line, hit.column);
        const DbToken *token = m_document.pu().numberToToken(number);
        if (!token)
            return {};
        QString text = ICurrentApplication::loadString(KelRes::tokenTypeDisplayName(token->type()))
                       + QStringLiteral(": ") + QString::fromStdString(token->text());
        if (const DbSymbol *symbol = token->dataSymbol()) {
            text += QStringLiteral("\n") + QString::fromStdString(symbol->longName());
            if (!symbol->picture().empty())
                text += QStringLiteral("  PIC ") + QString::fromStdString(symbol->picture());
        }
        lines << text;
        for (const DbMark *mark : m_document.marks(hit.line))
            if (mark->token() == token)
                lines << markText(*mark);
    }
    return lines.join(QLatin1Char('\n'));
}

bool SourceView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = toolTipText(hitTest(help->pos()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void SourceView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void SourceView::scrollContentsBy(int, int)
{
    viewport()->update();
    const std::uint32_t top = topLine();
    if (top != m_lastTopLine) {
        m_lastTopLine = top;
        emit topLineChanged(top);
    }
}

void SourceView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        viewport()->update();
}

void SourceView::moveSelection(int lines, int tokens)
{
    std::uint32_t line = m_selection.isEmpty() ? topLine() : m_selection.line;
    const std::uint32_t column = m_selection.isEmpty() ? 1 : m_selection.column;
    if (tokens != 0) {
        // The next or previous token in source order, across lines.
        std::uint32_t token = m_selection.token;
        if (token == 0) {
            const auto spans = m_document.spans(line);
            token = spans.empty() ? 0 : spans.front().token;
        } else {
            const auto count = m_document.pu().numberOfTokens();
            const auto next = static_cast<std::int64_t>(token) + tokens;
            token = next < 1 ? 1 : next > count ? count : static_cast<std::uint32_t>(next);
        }
        if (token)
            selectToken(token, Placement::ifHidden, Origin::user);
        return;
    }
    // The token nearest the column on the next line that has tokens.
    for (std::uint32_t steps = 0; steps < m_document.lineCount(); ++steps) {
        if ((lines < 0 && line <= 1) || (lines > 0 && line >= m_document.lineCount()))
            return;
        line = lines < 0 ? line - 1 : line + 1;
        const auto spans = m_document.spans(line);
        if (spans.empty())
            continue;
        const SourceDocument::Span *best = &spans.front();
        for (const SourceDocument::Span &span : spans)
            if (span.column <= column)
                best = &span;
        selectToken(best->token, Placement::ifHidden, Origin::user);
        return;
    }
}

void SourceView::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        m_selection.isEmpty() ? verticalScrollBar()->triggerAction(QScrollBar::SliderSingleStepSub)
                              : moveSelection(-1, 0);
        return;
    case Qt::Key_Down:
        m_selection.isEmpty() ? verticalScrollBar()->triggerAction(QScrollBar::SliderSingleStepAdd)
                              : moveSelection(1, 0);
        return;
    case Qt::Key_Left:
        moveSelection(0, -1);
        return;
    case Qt::Key_Right:
        moveSelection(0, 1);
        return;
    case Qt::Key_PageUp:
        verticalScrollBar()->triggerAction(QScrollBar::SliderPageStepSub);
        return;
    case Qt::Key_PageDown:
        verticalScrollBar()->triggerAction(QScrollBar::SliderPageStepAdd);
        return;
    case Qt::Key_Home:
        if (control)
            verticalScrollBar()->setValue(0);
        else
            horizontalScrollBar()->setValue(0);
        return;
    case Qt::Key_End:
        if (control)
            verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        return;
    case Qt::Key_Escape:
        clearSelection();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}
