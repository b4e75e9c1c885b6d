#pragma once

#include "profile/userprompt.h"

#include <QPointer>

class QWidget;

// The person's side of UserPrompt: real message boxes and the password dialog,
// both modal. One prompt serves every window: a dialog goes over the active
// window, or over the owner when no window is active.
class QtPrompt : public tamcal::UserPrompt
{
public:
    explicit QtPrompt(QWidget *owner);

    tamcal::MsgAnswer showMessage(const tamcal::Message &message) override;
    std::optional<std::string> askPassword(const std::string &shown) override;

private:
    QWidget *dialogParent() const;

    QPointer<QWidget> m_owner;
};
