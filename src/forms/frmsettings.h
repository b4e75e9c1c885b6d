#pragma once

#include "notes/protection.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class frmCalView;

namespace tamcal {
class UserPrompt;
}

// The settings of section Main in one dialog. OK writes them to the profile at
// once and hands them to the calendar window, so what it writes at exit is the
// same; Cancel changes nothing. Turning protection on or off converts every
// note when OK is pressed; "Change Password..." converts them at once.
class frmSettings : public QDialog
{
    Q_OBJECT

public:
    frmSettings(frmCalView &calView, tamcal::UserPrompt &prompt);

    // How a picture file is chosen: a file dialog unless a test says otherwise.
    // An empty name means none was chosen.
    void setPictureChooser(std::function<QString()> chooser);

    // The number of daily copies when the profile names none or no whole number.
    static constexpr int kDefaultBackups = 14;

private:
    QWidget *buildProtection();
    QWidget *buildBackground();
    QWidget *buildReport();
    void loadValues();
    void showPicture(const QString &path);
    void btnBrowse_Click();
    void btnChangePassword_Click();
    void btnOK_Click();
    bool applyProtection();
    bool writeSettings();
    tamcal::ConversionProgress progressBar();

    frmCalView &m_calView;
    tamcal::UserPrompt &m_prompt;
    std::function<QString()> m_choosePicture;
    QString m_backgroundPath;
    QCheckBox *m_chkUsePass;
    QPushButton *m_btnChangePassword;
    QCheckBox *m_chkDoPopup;
    QLabel *m_imgPreview;
    QLabel *m_lblPicture;
    QLineEdit *m_txtViewTitle;
    QSpinBox *m_spnBackups;
};
