#include "resgen/StepLog.h"

void TStepLog::AppendText(const QString& text)
{
    if (FLive)
        FLog.AppendText(text);
    else
        FHeld.push_back({kText, text});
}

void TStepLog::AppendLine(const QString& line)
{
    // Whether a held line needs a line break before it depends on what the
    // log holds when it is written out: it is kept as a line, not as text.
    if (FLive)
        FLog.AppendLine(line);
    else
        FHeld.push_back({kLine, line});
}

void TStepLog::EndLine()
{
    if (FLive)
        FLog.EndLine();
    else
        FHeld.push_back({kEndLine, QString()});
}

bool TStepLog::AtLineStart() const
{
    if (FLive)
        return FLog.AtLineStart();
    for (auto it = FHeld.rbegin(); it != FHeld.rend(); ++it) {
        if (it->Kind == kLine || it->Kind == kEndLine)
            return true;
        if (it->Kind == kText && !it->Text.isEmpty())
            return it->Text.endsWith(u'\n') || it->Text.endsWith(u'\r');
    }
    return true;
}

void TStepLog::ShowError(const QString& text)
{
    if (FLive)
        FErrors.ShowError(text);
    else
        FHeld.push_back({kError, text});
}

void TStepLog::GoLive()
{
    FLive = true;
    for (const TPiece& piece : FHeld) {
        if (piece.Kind == kText)
            FLog.AppendText(piece.Text);
        else if (piece.Kind == kLine)
            FLog.AppendLine(piece.Text);
        else if (piece.Kind == kEndLine)
            FLog.EndLine();
        else
            FErrors.ShowError(piece.Text);
    }
    FHeld.clear();
}
