#include "resgen/RunLog.h"

TStepLog& TRunLog::AddStep()
{
    FSteps.push_back(std::make_unique<TStepLog>(FLog, FErrors));
    Advance();
    return *FSteps.back();
}

void TRunLog::EndStep(TStepLog& step)
{
    step.End();
    Advance();
}

void TRunLog::Advance()
{
    while (!FSteps.empty()) {
        TStepLog& first = *FSteps.front();
        if (!first.IsLive())
            first.GoLive();
        if (!first.HasEnded())
            return;
        FSteps.pop_front();
    }
}
