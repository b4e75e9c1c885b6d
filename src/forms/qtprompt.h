#pragma once

#include "profile/userprompt.h"

#include <QPointer>

class QWidget;

// The person's side of UserPrompt: real message boxes and the password dialog,
// modal over the window they belong to.
class QtPrompt : public tamcal::UserPrompt
{
public:
    explicit QtPrompt(QWidget *owner);

    tamcal::MsgAnswer showMessage(const tamcal::Message &message) override;
    std::optional<std::string> askPassword(const std::string &shown) override;

private:
    QWidget *boxParent() const;

    QPointer<QWidget> m_owner;
};
