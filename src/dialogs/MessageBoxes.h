#pragma once

#include "dialogs/DefaultMonitor.h"

#include <QString>

// Information and error boxes, behind an interface so that tests can answer
// them without a modal window.
class IMessageBoxes
{
public:
    virtual ~IMessageBoxes() = default;
    // An information box titled Title ("Information" when empty) with one OK
    // button; returns the pressed button's result (1 for OK).
    virtual int ShowInfo(const QString& Title, const QString& Text, TDefaultMonitor Monitor) = 0;
    // An error box captioned "Error" with one OK button; returns 1 for OK.
    virtual int ShowError(const QString& Text, TDefaultMonitor Monitor) = 0;
    // A question captioned "Confirm" with Yes and No, No the default and
    // Esc; true for Yes.
    virtual bool Confirm(const QString& Text, TDefaultMonitor Monitor) = 0;
};

// The real boxes: modal, on top of all windows, centred on the chosen monitor.
class TMessageBoxes : public IMessageBoxes
{
public:
    int ShowInfo(const QString& Title, const QString& Text, TDefaultMonitor Monitor) override;
    int ShowError(const QString& Text, TDefaultMonitor Monitor) override;
    bool Confirm(const QString& Text, TDefaultMonitor Monitor) override;
};
