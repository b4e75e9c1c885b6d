#include "forms/qtprompt.h"

#include "forms/frmpassword.h"
#include "forms/windows1252.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>
#include <vector>

using tamcal::MsgAnswer;
using tamcal::MsgButtons;
using tamcal::MsgIcon;

namespace {

// The title a message box gets when its message names none.
constexpr const char *kDefaultTitle = "TamCal";

std::vector<std::pair<QMessageBox::StandardButton, MsgAnswer>> buttonsOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return {{QMessageBox::Ok, MsgAnswer::Ok}};
    case MsgButtons::YesNo:
        return {{QMessageBox::Yes, MsgAnswer::Yes}, {QMessageBox::No, MsgAnswer::No}};
    case MsgButtons::YesNoCancel:
        return {{QMessageBox::Yes, MsgAnswer::Yes},
                {QMessageBox::No, MsgAnswer::No},
                {QMessageBox::Cancel, MsgAnswer::Cancel}};
    case MsgButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, MsgAnswer::Abort},
                {QMessageBox::Retry, MsgAnswer::Retry},
                {QMessageBox::Ignore, MsgAnswer::Ignore}};
    }
    return {{QMessageBox::Ok, MsgAnswer::Ok}};
}

QMessageBox::Icon iconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtPrompt::QtPrompt(QWidget *owner) : m_owner(owner) {}

// One prompt serves every window, so a box opens over the window the person is
// working in: a dialog that asked it (the password dialog), else the active
// window, else the owner.
QWidget *QtPrompt::boxParent() const
{
    if (QWidget *dialog = QApplication::activeModalWidget())
        return dialog;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return m_owner;
}

MsgAnswer QtPrompt::showMessage(const tamcal::Message &message)
{
    const QString title = message.title.empty() ? QString::fromLatin1(kDefaultTitle)
                                                : tamcal::fromWindows1252(message.title);
    QMessageBox box(iconOf(message.icon), title, tamcal::screenTextOf(message.text),
                    QMessageBox::NoButton, boxParent());
    const auto buttons = buttonsOf(message.buttons);
    for (const auto &[button, answer] : buttons)
        box.addButton(button);
    const auto defaultIndex = static_cast<std::size_t>(message.defaultButton - 1);
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].first);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto &[button, answer] : buttons) {
        if (button == clicked)
            return answer;
    }
    // Closed without a button (Escape where there is no Cancel): the last button.
    return buttons.back().second;
}

std::optional<std::string> QtPrompt::askPassword(const std::string &shown)
{
    frmPassword dialog(*this, boxParent());
    dialog.setPassword(tamcal::fromWindows1252(shown));
    return passwordOf(dialog);
}

std::optional<std::string> QtPrompt::confirmPassword()
{
    frmPassword dialog(*this, boxParent());
    dialog.setConfirming();
    return passwordOf(dialog);
}

std::optional<std::string> QtPrompt::askNewPassword()
{
    frmPassword dialog(*this, boxParent());
    dialog.setWindowTitle("Enter New Password");
    return passwordOf(dialog);
}

std::optional<std::string> QtPrompt::passwordOf(frmPassword &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return tamcal::toWindows1252(dialog.password());
}
