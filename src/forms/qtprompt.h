#pragma once

#include "profile/userprompt.h"

#include <QPointer>

class QWidget;
class frmPassword;

// The person's side of UserPrompt: real message boxes and the password dialog,
// modal over the window they belong to.
class QtPrompt : public tamcal::UserPrompt
{
public:
    explicit QtPrompt(QWidget *owner);

    tamcal::MsgAnswer showMessage(const tamcal::Message &message) override;
    std::optional<std::string> askPassword(const std::string &shown) override;
    std::optional<std::string> confirmPassword() override;
    std::optional<std::string> askNewPassword() override;

private:
    QWidget *boxParent() const;
    std::optional<std::string> passwordOf(frmPassword &dialog);

    QPointer<QWidget> m_owner;
};
