#include "app/LogPaneSink.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void TLogPaneSink::AppendText(const QString& text)
{
    QTextCursor cursor(FMemo->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    FMemo->moveCursor(QTextCursor::End);
    FMemo->verticalScrollBar()->setValue(FMemo->verticalScrollBar()->maximum());
}

bool TLogPaneSink::AtLineStart() const
{
    // The pane holds its lines as blocks: an empty last block means the text
    // is empty or ends with a line break.
    return FMemo->document()->lastBlock().text().isEmpty();
}
