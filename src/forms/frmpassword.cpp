#include "forms/frmpassword.h"

#include "forms/twips.h"
#include "forms/windows1252.h"
#include "notes/cipher.h"
#include "profile/userprompt.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

using tamcal::pixelRect;

namespace {

tamcal::Message markerMessage()
{
    tamcal::Message message;
    message.text = "A password cannot begin with \"737\": no note could ever be saved "
                   "under it.\r\n\r\nPlease choose another password.";
    message.title = "Password Not Usable";
    message.icon = tamcal::MsgIcon::Exclamation;
    return message;
}

} // namespace

frmPassword::frmPassword(tamcal::UserPrompt &prompt, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_prompt(prompt), m_label1(new QLabel(this)), m_txtPassword(new QLineEdit(this)),
      m_btnOK(new QPushButton(this)), m_btnClose(new QPushButton(this))
{
    setObjectName("frmPassword");
    setWindowTitle("Enter Password");

    m_label1->setObjectName("Label1");
    m_label1->setText("If you forget your password, You are Plum out of luck!");
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QRect label = pixelRect(120, 120, 2415, 375);
    // The warning takes the lines its font needs; what is below moves down.
    const int extraHeight = std::max(0, m_label1->heightForWidth(label.width()) - label.height());
    m_label1->setGeometry(label.adjusted(0, 0, 0, extraHeight));
    setFixedSize(tamcal::pixelSize(3720, 1095) + QSize(0, extraHeight));

    m_txtPassword->setObjectName("txtPassword");
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_txtPassword->setAccessibleName("Password");
    m_txtPassword->setGeometry(pixelRect(120, 600, 2415, 285).translated(0, extraHeight));

    m_btnOK->setObjectName("btnOK");
    m_btnOK->setText("Ok");
    m_btnOK->setGeometry(pixelRect(2760, 120, 855, 375));
    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, &frmPassword::btnOK_Click);

    m_btnClose->setObjectName("btnClose");
    m_btnClose->setText("Cancel");
    m_btnClose->setGeometry(pixelRect(2760, 600, 855, 375));
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_txtPassword, m_btnOK);
    setTabOrder(m_btnOK, m_btnClose);
    m_txtPassword->setFocus();
    centreOnScreen();
}

void frmPassword::setConfirming()
{
    setWindowTitle("Enter Password Again");
    m_txtPassword->clear();
}

void frmPassword::setPassword(const QString &password)
{
    m_txtPassword->setText(password);
    m_txtPassword->selectAll();
}

QString frmPassword::password() const
{
    return m_txtPassword->text();
}

void frmPassword::btnOK_Click()
{
    const QString text = m_txtPassword->text();
    if (text.isEmpty()) {
        tamcal::Message message;
        message.text = "Password cannot be blank!";
        message.title = "1D10T Error!";
        message.icon = tamcal::MsgIcon::Exclamation;
        m_prompt.showMessage(message);
        return;
    }
    // Every enciphered note begins with the marker; a password that does too
    // would make the note to encipher look enciphered already.
    if (text.startsWith(QLatin1String(tamcal::kCipherMarker.data(), 3))) {
        m_prompt.showMessage(markerMessage());
        m_txtPassword->selectAll();
        return;
    }
    const auto unstorable = tamcal::unstorableCharacters(text);
    if (!unstorable.isEmpty()) {
        m_prompt.showMessage(tamcal::unstorableMessage(unstorable));
        const auto first = tamcal::firstUnstorable(text);
        m_txtPassword->setSelection(static_cast<int>(first.start), static_cast<int>(first.length));
        return;
    }
    accept();
}

void frmPassword::centreOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - rect().center());
}
