#include "KitMarkup.h"

#include <QColor>
#include <QList>

namespace {

enum class TagKind { Bold, Italic, Underline, Color, Size };

struct Tag
{
    TagKind kind = TagKind::Bold;
    bool closing = false;
    QString value; // colour as #rrggbb, or size in points
    qsizetype length = 0;
};

/// Parses a tag at `text[pos]` (which is '<'); false when it is not one of the kit's tags.
bool parseTag(const QString &text, qsizetype pos, Tag &tag)
{
    const qsizetype end = text.indexOf(u'>', pos + 1);
    if (end < 0)
        return false;
    QString body = text.mid(pos + 1, end - pos - 1);
    tag.length = end - pos + 1;
    tag.closing = body.startsWith(u'/');
    if (tag.closing)
        body.remove(0, 1);
    const QString lower = body.toLower();
    if (tag.closing) {
        static const QList<QPair<QString, TagKind>> names = {{"b", TagKind::Bold},
                                                             {"i", TagKind::Italic},
                                                             {"u", TagKind::Underline},
                                                             {"color", TagKind::Color},
                                                             {"size", TagKind::Size}};
        for (const auto &[name, kind] : names) {
            if (lower == name) {
                tag.kind = kind;
                return true;
            }
        }
        return false;
    }
    if (lower == u"b" || lower == u"i" || lower == u"u") {
        tag.kind = lower == u"b" ? TagKind::Bold
                                 : (lower == u"i" ? TagKind::Italic : TagKind::Underline);
        return true;
    }
    if (lower.startsWith(u"color=")) {
        const QColor color = QColor::fromString(body.mid(6).trimmed());
        if (!color.isValid())
            return false;
        tag.kind = TagKind::Color;
        tag.value = color.name();
        return true;
    }
    if (lower.startsWith(u"size=")) {
        bool ok = false;
        const int points = body.mid(5).trimmed().toInt(&ok);
        if (!ok || points < 1 || points > 99)
            return false;
        tag.kind = TagKind::Size;
        tag.value = QString::number(points);
        return true;
    }
    return false;
}

QString openHtml(const Tag &tag)
{
    switch (tag.kind) {
    case TagKind::Bold:
        return QStringLiteral("<b>");
    case TagKind::Italic:
        return QStringLiteral("<i>");
    case TagKind::Underline:
        return QStringLiteral("<u>");
    case TagKind::Color:
        return QStringLiteral("<span style=\"color:%1\">").arg(tag.value);
    case TagKind::Size:
        return QStringLiteral("<span style=\"font-size:%1pt\">").arg(tag.value);
    }
    return {};
}

QString closeHtml(const Tag &tag)
{
    switch (tag.kind) {
    case TagKind::Bold:
        return QStringLiteral("</b>");
    case TagKind::Italic:
        return QStringLiteral("</i>");
    case TagKind::Underline:
        return QStringLiteral("</u>");
    case TagKind::Color:
    case TagKind::Size:
        return QStringLiteral("</span>");
    }
    return {};
}

void appendEscaped(QString &out, QChar c, QChar previous)
{
    if (c == u'<')
        out += QStringLiteral("&lt;");
    else if (c == u'>')
        out += QStringLiteral("&gt;");
    else if (c == u'&')
        out += QStringLiteral("&amp;");
    else if (c == u'"')
        out += QStringLiteral("&quot;");
    else if (c == u'\n')
        out += QStringLiteral("<br/>");
    else if (c == u' ' && (previous == u' ' || previous == u'\n' || previous.isNull()))
        out += QStringLiteral("&nbsp;"); // HTML would fold runs of blanks into one
    else if (c == u'\t')
        out += QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;");
    else
        out += c;
}

} // namespace

namespace KitMarkup {

QString toRichText(const QString &markup)
{
    QString out;
    QList<Tag> open;
    QChar previous;
    for (qsizetype pos = 0; pos < markup.size();) {
        Tag tag;
        if (markup.at(pos) == u'<' && parseTag(markup, pos, tag)) {
            pos += tag.length;
            if (!tag.closing) {
                out += openHtml(tag);
                open.append(tag);
                continue;
            }
            // Close the innermost open tag of this kind; tags opened after it are closed and
            // reopened so that the HTML stays properly nested.
            qsizetype index = open.size() - 1;
            while (index >= 0 && open.at(index).kind != tag.kind)
                --index;
            if (index < 0)
                continue;
            for (qsizetype i = open.size() - 1; i >= index; --i)
                out += closeHtml(open.at(i));
            open.removeAt(index);
            for (qsizetype i = index; i < open.size(); ++i)
                out += openHtml(open.at(i));
            continue;
        }
        appendEscaped(out, markup.at(pos), previous);
        previous = markup.at(pos);
        ++pos;
    }
    for (qsizetype i = open.size() - 1; i >= 0; --i)
        out += closeHtml(open.at(i));
    return out;
}

QString toPlainText(const QString &markup)
{
    QString out;
    for (qsizetype pos = 0; pos < markup.size();) {
        Tag tag;
        if (markup.at(pos) == u'<' && parseTag(markup, pos, tag)) {
            pos += tag.length;
            continue;
        }
        out += markup.at(pos++);
    }
    return out;
}

} // namespace KitMarkup
