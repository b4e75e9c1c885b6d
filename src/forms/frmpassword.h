#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tamcal {
class UserPrompt;
}

// The modal dialog that asks for the password of the run. OK with an empty box,
// a password beginning with the cipher marker "737", or characters the profile
// can't hold, tells the person so through the prompt and keeps the dialog open.
// The box masks what is typed.
class frmPassword : public QDialog
{
    Q_OBJECT

public:
    frmPassword(tamcal::UserPrompt &prompt, QWidget *parent = nullptr);

    // Asks for a new password a second time, with an empty box and a caption that says so.
    void setConfirming();
    void setPassword(const QString &password);
    QString password() const;

private:
    void btnOK_Click();
    void centreOnScreen();

    tamcal::UserPrompt &m_prompt;
    QLabel *m_label1;
    QLineEdit *m_txtPassword;
    QPushButton *m_btnOK;
    QPushButton *m_btnClose;
};
