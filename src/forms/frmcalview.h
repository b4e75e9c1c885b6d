#pragma once

#include "profile/settings.h"

#include <QDate>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class MonthView;
class QMenu;
class QPushButton;
class frmDayEdit;
class frmFind;
class frmSettings;

namespace tamcal {
class UserPrompt;
}

// The start-up window: the multi-month calendar with every shown day that holds
// a note in bold, on a tiled background picture. It starts and ends the run; the
// day editor is owned by it. Marks follow the calendar when it scrolls.
class frmCalView : public QWidget, public tamcal::SettingsHost
{
    Q_OBJECT

public:
    // The profile sits beside `executablePath`. `prompt` answers every message and
    // password request of this window and those it opens; without one they all
    // share real dialogs made here.
    explicit frmCalView(std::string executablePath = tamcal::runningExecutablePath(),
                        tamcal::UserPrompt *prompt = nullptr);
    ~frmCalView() override;

    // Settings, placement, the password offer, show, mark, the daily pop-up.
    void Form_Load();

    bool ynDoDailyPopup() const override;
    void setYnDoDailyPopup(bool vNewValue) override;
    void loadPicture(const std::string &path) override;
    bool hasPicture() const;
    // The picture at `path` as the background at once; none for an empty path.
    void showBackground(const std::string &path);

    // "Settings...": the settings dialog, open (window-modal) and deleted when closed.
    frmSettings *mnuCalSettings_Click();

    // Marks the days of the month that holds the calendar's current value.
    void ReloadDayDots();

    // The day editor, created on first use.
    frmDayEdit &dayEditor();

    // The report window on the calendar's selection, loaded when it is not open
    // and only brought forward when it is. Nothing when its library can't be
    // loaded; the person is told why.
    QWidget *showReportWindow();

signals:
    // "View Selected..." was chosen: the report window opens on the selection.
    void viewSelectedRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenu();
    void Form_Resize();
    void Form_Unload();
    void MarkVisibleMonths();
    void markMonthsCameIntoView();
    void markDaysOf(QDate dayOfMonth);
    void openDayEditor(QDate date);
    QWidget *loadReportWindow();
    void mvwShow_DateClick();
    void mvwShow_DateDblClick(const QDate &date);
    void mvwShow_MouseUp(Qt::MouseButton button, int x, int y);
    void popUpMenu(const QPoint &calendarPos);
    void mvwShow_shownMonthsChanged();
    void markSavedDay(const QDate &day);
    void mnuCalFind_Click();

    std::string m_executablePath;
    std::unique_ptr<tamcal::UserPrompt> m_ownPrompt;
    tamcal::UserPrompt *m_prompt;
    MonthView *m_mvwShow;
    QPushButton *m_btnQuit;
    QMenu *m_menuCal;
    frmDayEdit *m_dayEdit = nullptr;
    frmFind *m_find = nullptr;
    QPointer<QWidget> m_view;
    QPixmap m_picture1;
    bool m_ynDoDailyPopup = false;
    bool m_ynMarking = false;
    // Marks follow scrolling once the first full marking has run.
    bool m_marksFollowScrolling = false;
    // First days of the first and last month known to be marked.
    QDate m_markedFirst;
    QDate m_markedLast;
};
