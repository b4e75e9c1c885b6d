#pragma once

#include <QMainWindow>

class MonthView;
class QAction;
class QGroupBox;
class QPlainTextEdit;
class QToolButton;

namespace tamcal {
class UserPrompt;
}

// The window in which one day's note is read, edited and saved. It switches
// days through its small month picker and asks before unsaved text is dropped;
// text is saved only when every character can be stored in the profile.
class frmDayEdit : public QMainWindow
{
    Q_OBJECT

public:
    enum class SaveAnswer { None, Yes, No, Cancel };

    // Messages and the password dialog go through `prompt`.
    explicit frmDayEdit(tamcal::UserPrompt &prompt, QWidget *owner = nullptr);
    ~frmDayEdit() override;

    // The edited day as "MM/DD/YYYY". Assigning any date text switches to that
    // day (asking about unsaved text first) and shows the window.
    QString EditDay() const;
    void setEditDay(const QString &vNewValue);

    bool Dirty() const;
    void setDirty(bool vNewValue);

signals:
    // The note of `day` reached the profile.
    void daySaved(const QDate &day);
    // The window was asked to close; sent after the save question, whether or
    // not the close goes ahead (`closes`).
    void closing(bool closes);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenu();
    tamcal::UserPrompt &prompt();
    void SetLocked(bool locked);
    SaveAnswer AskSaveChanges();
    bool storeNote();
    void btnSave_Click();
    void imgIcon_Click();
    void mvDayEdit_DateClick(const QDate &date);
    void hidePicker();
    void fitTextBox();

    tamcal::UserPrompt &m_prompt;
    QString m_editDay;
    bool m_dirty = false;
    QWidget *m_surface;
    QToolButton *m_imgIcon;
    QToolButton *m_btnSave;
    QToolButton *m_btnClose;
    QPlainTextEdit *m_txtDayEdit;
    QGroupBox *m_fraButtons;
    MonthView *m_mvDayEdit;
    QAction *m_mnuActionSave;
};
