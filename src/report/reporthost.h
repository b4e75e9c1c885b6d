#pragma once

#include "profile/userprompt.h"

namespace tamcal {

// What the report build needs from the window that drives it: progress, a
// chance for the window to repaint, and the person's answers.
class ReportHost : public UserPrompt
{
public:
    virtual void SetProgress(float sngProgress, float sngMax) = 0;
    // Lets pending window events run, so the window repaints during a long build.
    virtual void processPendingEvents() = 0;
};

} // namespace tamcal
