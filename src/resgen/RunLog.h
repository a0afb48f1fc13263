#pragma once

#include "resgen/StepLog.h"

#include <deque>
#include <memory>

// The log of a run whose steps may overlap: each step writes into its own
// TStepLog, and the steps reach the log and the error reporter one after the
// other in the order they were added, each one whole.
class TRunLog
{
public:
    TRunLog(ILogSink& log, IErrorReporter& errors) : FLog(log), FErrors(errors) {}

    // The next step's log. Valid until the step has ended and been written.
    TStepLog& AddStep();
    // The step is over; its output, and that of the ended steps after it,
    // goes out once every step before it is out.
    void EndStep(TStepLog& step);

private:
    void Advance();

    ILogSink& FLog;
    IErrorReporter& FErrors;
    std::deque<std::unique_ptr<TStepLog>> FSteps;
};
