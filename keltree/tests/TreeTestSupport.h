#pragma once

#include "DbPu.h"
#include "DbToken.h"
#include "DbTreeInfo.h"
#include "KelMsg.h"
#include "TreeCnr.h"
#include "TreeCnrModel.h"
#include "TreeNode.h"

#include <QStringList>

#include <string>
#include <vector>

/// A small program with a data division (kind-3 records) and a procedure division with two
/// sections of one paragraph each.
inline const char *const treeProgram = "       IDENTIFICATION DIVISION.\n"
                                       "       PROGRAM-ID. TREEONE.\n"
                                       "       DATA DIVISION.\n"
                                       "       WORKING-STORAGE SECTION.\n"
                                       "       01  WS-REC.\n"
                                       "           05  WS-A          PIC X.\n"
                                       "       77  WS-COUNT          PIC 99.\n"
                                       "       PROCEDURE DIVISION.\n"
                                       "       MAIN SECTION.\n"
                                       "       MAIN-PARA.\n"
                                       "           MOVE 'A' TO WS-A\n"
                                       "           PERFORM SUB-PARA.\n"
                                       "       SUB SECTION.\n"
                                       "       SUB-PARA.\n"
                                       "           DISPLAY WS-A\n"
                                       "           ADD 1 TO WS-COUNT\n"
                                       "           STOP RUN.\n";

/// A second unit for the execution-unit tree.
inline const char *const otherProgram = "       IDENTIFICATION DIVISION.\n"
                                        "       PROGRAM-ID. TREETWO.\n"
                                        "       DATA DIVISION.\n"
                                        "       WORKING-STORAGE SECTION.\n"
                                        "       01  WS-X              PIC X.\n"
                                        "       PROCEDURE DIVISION.\n"
                                        "       ONLY-PARA.\n"
                                        "           DISPLAY WS-X\n"
                                        "           GOBACK.\n";

/// The texts of the nodes a tree shows, depth first, indented by two blanks per level.
inline QStringList outline(const TreeCnr &tree, const QModelIndex &parent = {}, int depth = 0)
{
    QStringList lines;
    const TreeCnrModel *model = tree.treeModel();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        lines << QString(depth * 2, QLatin1Char(' ')) + model->data(index).toString();
        lines << outline(tree, index, depth + 1);
    }
    return lines;
}

/// The node of the first record with `text` that the tree shows; null when none.
inline TreeNode *nodeNamed(const TreeCnr &tree, const QString &text, const QModelIndex &parent = {})
{
    const TreeCnrModel *model = tree.treeModel();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (model->data(index).toString() == text)
            return model->nodeAt(index);
        if (TreeNode *below = nodeNamed(tree, text, index))
            return below;
    }
    return nullptr;
}

/// The first token of `pu` with `text` after the token with `after` (empty: from the start).
inline DbToken *tokenNamed(DbPu &pu, const std::string &text, const std::string &after = {})
{
    bool seen = after.empty();
    for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n) {
        DbToken *token = pu.numberToToken(n);
        if (seen && token->text() == text)
            return token;
        if (token->text() == after)
            seen = true;
    }
    return nullptr;
}

/// Collects the messages KelMsg shows while the object lives.
class MessageCatcher final
{
public:
    MessageCatcher()
    {
        m_previous = KelMsg::setDisplay([this](const KelMessage &m) { m_messages.push_back(m); });
    }
    ~MessageCatcher() { KelMsg::setDisplay(m_previous); }
    MessageCatcher(const MessageCatcher &) = delete;
    MessageCatcher &operator=(const MessageCatcher &) = delete;

    const std::vector<KelMessage> &messages() const { return m_messages; }
    /// "text (file:line)" of every message, for comparisons.
    QStringList lines() const
    {
        QStringList all;
        for (const KelMessage &m : m_messages)
            all << QStringLiteral("%1 (%2:%3)")
                       .arg(QString::fromStdString(m.text), QString::fromStdString(m.sourceFile))
                       .arg(m.line);
        return all;
    }

private:
    KelMsg::Display m_previous;
    std::vector<KelMessage> m_messages;
};
