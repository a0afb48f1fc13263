#include "app/OverrideCursor.h"

#include <QApplication>
#include <QCursor>

TOverrideCursor::TOverrideCursor(Qt::CursorShape Shape)
{
    QApplication::setOverrideCursor(QCursor(Shape));
}

TOverrideCursor::~TOverrideCursor()
{
    QApplication::restoreOverrideCursor();
}
