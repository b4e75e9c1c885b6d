#pragma once

#include "report/reporthost.h"
#include "support/fakeprompt.h"

#include <utility>
#include <vector>

namespace tamcal::test {

// A ReportHost that records progress and yields, and answers messages through
// a scripted FakePrompt.
class FakeReportHost : public ReportHost
{
public:
    FakePrompt prompt;
    std::vector<std::pair<float, float>> progress;
    int yields = 0;

    void SetProgress(float sngProgress, float sngMax) override
    {
        progress.emplace_back(sngProgress, sngMax);
    }
    void processPendingEvents() override { ++yields; }
    MsgAnswer showMessage(const Message &message) override { return prompt.showMessage(message); }
    std::optional<std::string> askPassword(const std::string &shown) override
    {
        return prompt.askPassword(shown);
    }
};

} // namespace tamcal::test
