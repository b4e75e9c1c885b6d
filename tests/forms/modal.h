#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace tamcal::test {

// Runs `answer` on the next modal dialog from inside its own event loop, so a
// test can look at a real dialog and close it.
inline void whenModal(std::function<void(QWidget *)> answer)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        answer(dialog);
    });
    poll->start(5);
}

} // namespace tamcal::test
