#include "forms/frmsettings.h"

#include "forms/frmcalview.h"
#include "forms/windows1252.h"

#include "notes/protection.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "profile/userprompt.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <memory>

namespace {

// Preview of the background picture, in pixels.
constexpr QSize kPreviewSize(200, 120);
// A conversion that has run this long shows its progress, in milliseconds.
constexpr int kProgressDelay = 200;

QString fromProfile(const std::string &bytes)
{
    return tamcal::fromWindows1252(bytes);
}

const char *booleanWord(bool value)
{
    return value ? "True" : "False";
}

int backupsInProfile()
{
    bool isNumber = false;
    const int count =
        QString::fromStdString(tamcal::IniAccess("Main", "Backups", {}, false)).toInt(&isNumber);
    return isNumber && count >= 0 ? count : frmSettings::kDefaultBackups;
}

} // namespace

frmSettings::frmSettings(frmCalView &calView, tamcal::UserPrompt &prompt)
    : QDialog(&calView), m_calView(calView), m_prompt(prompt),
      m_chkUsePass(new QCheckBox("Use a &password")),
      m_btnChangePassword(new QPushButton("C&hange Password...")),
      m_chkDoPopup(new QCheckBox("Open &today's note at start-up")), m_imgPreview(new QLabel),
      m_lblPicture(new QLabel), m_txtViewTitle(new QLineEdit), m_spnBackups(new QSpinBox)
{
    setObjectName("frmSettings");
    setWindowTitle("Settings");
    m_choosePicture = [this] {
        return QFileDialog::getOpenFileName(
            this, "Background Picture", QFileInfo(m_backgroundPath).absolutePath(),
            "Pictures (*.jpg *.jpeg *.png *.gif *.bmp);;All files (*)");
    };
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &frmSettings::btnOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildProtection());
    layout->addWidget(m_chkDoPopup);
    layout->addWidget(buildBackground());
    layout->addWidget(buildReport());
    layout->addWidget(buttons);
    m_chkDoPopup->setObjectName("chkDoPopup");
    loadValues();
}

void frmSettings::setPictureChooser(std::function<QString()> chooser)
{
    m_choosePicture = std::move(chooser);
}

QWidget *frmSettings::buildProtection()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chkUsePass);
    layout->addStretch();
    layout->addWidget(m_btnChangePassword);
    m_chkUsePass->setObjectName("chkUsePass");
    m_chkUsePass->setToolTip("Every note is enciphered under the password when you press OK.");
    m_btnChangePassword->setObjectName("btnChangePassword");
    connect(m_btnChangePassword, &QPushButton::clicked, this,
            &frmSettings::btnChangePassword_Click);
    return row;
}

QWidget *frmSettings::buildBackground()
{
    auto *group = new QGroupBox("Background picture");
    auto *btnBrowse = new QPushButton("&Choose...");
    auto *btnNone = new QPushButton("&None");
    btnBrowse->setObjectName("btnBrowse");
    btnNone->setObjectName("btnNone");
    connect(btnBrowse, &QPushButton::clicked, this, &frmSettings::btnBrowse_Click);
    connect(btnNone, &QPushButton::clicked, this, [this] { showPicture({}); });
    m_imgPreview->setObjectName("imgPreview");
    m_imgPreview->setFixedSize(kPreviewSize);
    m_imgPreview->setAlignment(Qt::AlignCenter);
    m_imgPreview->setFrameShape(QFrame::StyledPanel);
    m_lblPicture->setObjectName("lblPicture");
    m_lblPicture->setWordWrap(true);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(btnBrowse);
    buttons->addWidget(btnNone);
    buttons->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(m_imgPreview);
    row->addLayout(buttons);
    auto *layout = new QVBoxLayout(group);
    layout->addLayout(row);
    layout->addWidget(m_lblPicture);
    return group;
}

QWidget *frmSettings::buildReport()
{
    auto *form = new QWidget;
    auto *layout = new QFormLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    m_txtViewTitle->setObjectName("txtViewTitle");
    m_txtViewTitle->setPlaceholderText("Made from the version");
    m_spnBackups->setObjectName("spnBackups");
    m_spnBackups->setRange(0, 999);
    m_spnBackups->setSpecialValueText("Off");
    m_spnBackups->setSuffix(" days");
    layout->addRow("Report &title:", m_txtViewTitle);
    layout->addRow("&Keep daily copies:", m_spnBackups);
    return form;
}

void frmSettings::loadValues()
{
    m_chkUsePass->setChecked(tamcal::AppSettings.UsePass);
    m_btnChangePassword->setEnabled(tamcal::AppSettings.UsePass);
    m_chkDoPopup->setChecked(m_calView.ynDoDailyPopup());
    showPicture(fromProfile(tamcal::AppSettings.BackgroundPath));
    m_txtViewTitle->setText(fromProfile(tamcal::IniAccess("Main", "ViewTitle", {}, false)));
    m_spnBackups->setValue(backupsInProfile());
}

void frmSettings::showPicture(const QString &path)
{
    m_backgroundPath = path;
    const QPixmap picture(path);
    if (path.isEmpty() || picture.isNull()) {
        m_imgPreview->setPixmap({});
        m_imgPreview->setText(path.isEmpty() ? "None" : "Not a picture");
    } else {
        m_imgPreview->setPixmap(
            picture.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    m_lblPicture->setText(path.isEmpty() ? "No picture" : QFileInfo(path).fileName());
    m_lblPicture->setToolTip(path);
}

void frmSettings::btnBrowse_Click()
{
    const QString chosen = m_choosePicture();
    if (!chosen.isEmpty())
        showPicture(chosen);
}

void frmSettings::btnChangePassword_Click()
{
    tamcal::changePassword(m_prompt, progressBar());
}

void frmSettings::btnOK_Click()
{
    if (!applyProtection() || !writeSettings())
        return;
    m_calView.setYnDoDailyPopup(m_chkDoPopup->isChecked());
    tamcal::AppSettings.BackgroundPath = tamcal::toWindows1252(m_backgroundPath);
    m_calView.showBackground(tamcal::AppSettings.BackgroundPath);
    accept();
}

// Converts the notes when protection was switched; false when that did not
// happen, and the box then shows protection as it stands.
bool frmSettings::applyProtection()
{
    const bool wanted = m_chkUsePass->isChecked();
    if (wanted == tamcal::AppSettings.UsePass)
        return true;
    const bool done = wanted ? tamcal::turnProtectionOn(m_prompt, progressBar())
                             : tamcal::turnProtectionOff(m_prompt, progressBar());
    m_chkUsePass->setChecked(tamcal::AppSettings.UsePass);
    m_btnChangePassword->setEnabled(tamcal::AppSettings.UsePass);
    return done;
}

bool frmSettings::writeSettings()
{
    const tamcal::WriteResult written =
        tamcal::WriteIniBatch({{"Main", "UsePass", booleanWord(tamcal::AppSettings.UsePass)},
                               {"Main", "DoPopup", booleanWord(m_chkDoPopup->isChecked())},
                               {"Main", "Background", tamcal::toWindows1252(m_backgroundPath)},
                               {"Main", "ViewTitle", tamcal::toWindows1252(m_txtViewTitle->text())},
                               {"Main", "Backups", std::to_string(m_spnBackups->value())}},
                              tamcal::AppSettings.IniPath);
    if (!written)
        m_prompt.showMessage(
            {"The settings were not saved.\r\n\r\n" + tamcal::describe(*written.failure()),
             "Not Saved!", tamcal::MsgButtons::Ok, tamcal::MsgIcon::Exclamation, 1});
    return bool(written);
}

// A progress dialog that shows once a conversion has run kProgressDelay.
tamcal::ConversionProgress frmSettings::progressBar()
{
    auto dialog =
        std::make_shared<QProgressDialog>("Converting the notes...", QString(), 0, 1, this);
    dialog->setObjectName("prbConversion");
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(kProgressDelay);
    dialog->setAutoClose(true);
    return [dialog](std::size_t done, std::size_t total) {
        dialog->setMaximum(int(total));
        dialog->setValue(int(done));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}
