#pragma once

#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace tamcal::test {

// Runs the event loop until `done` or for `timeoutMs`, whichever comes first, and
// tells whether `done`. A polling wait that sleeps between rounds starves the
// browser view, which then takes seconds for a page.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

} // namespace tamcal::test
