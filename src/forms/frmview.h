#pragma once

#include "report/reporthost.h"

#include <QDate>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPrinter;
class QProgressBar;
class QStatusBar;
class QToolButton;
class QWebEngineView;

// The report window: turns a range of days into the report file and shows it in
// a browser view, with a wait page, a status line and a progress bar while the
// report is built. It builds nothing until "&Go", and never two reports at once.
class frmView : public QWidget, public tamcal::ReportHost
{
    Q_OBJECT

public:
    // The range starts as the calendar's selection. Messages and the password
    // dialog go through `prompt`.
    frmView(QDate selStart, QDate selEnd, tamcal::UserPrompt &prompt, QWidget *owner = nullptr);
    ~frmView() override;

    // Placement, the range, and a blank page.
    void Form_Load();

    void SetProgress(float sngProgress, float sngMax) override;
    void processPendingEvents() override;
    tamcal::MsgAnswer showMessage(const tamcal::Message &message) override;
    std::optional<std::string> askPassword(const std::string &shown) override;

    bool isBuilding() const;

    // Writes the report shown to a PDF file on the locale's paper. The view
    // finishes later and tells through its pdfPrintingFinished.
    void saveAsPdf(const QString &path);
    // Prints the report shown; the printer must live until the view's printFinished.
    void printOn(QPrinter &printer);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildFrame();
    void buildOutputMenu();
    void mnuSavePdf_Click();
    void mnuPrint_Click();
    void outputFinished(bool isDone, const QString &failure, const char *title);
    void setOutputBusy(bool isBusy);
    void refreshOutput();
    void InitRange();
    void GenerateReport();
    void buildAndShow();
    void ShowWaitPage();
    void showErrorPage();
    void showPage(const std::string &path);
    void navigate(const QUrl &url);
    void loadPendingPage();
    void webReporter_LoadFinished();
    void setStatusText(const QString &text);
    void setMousePointer(std::optional<Qt::CursorShape> shape);
    short textSize() const;
    void dtpBeg_Change(QDate date);
    void dtpEnd_Change(QDate date);
    void webReporter_StatusTextChange(const QString &text);
    void Form_Resize();
    void Form_Unload();

    tamcal::UserPrompt &m_prompt;
    QDate m_selStart;
    QDate m_selEnd;
    std::string m_strBeg;
    std::string m_strEnd;
    bool m_ynLoading = false;
    bool m_isBuilding = false;
    bool m_isClosingAfterBuild = false;
    bool m_hasOverrideCursor = false;
    QString m_hoveredLink;
    bool m_isPageLoading = false;
    // The page to load once the view has finished the one it is loading.
    QUrl m_pendingPage;
    // The report of the last build, and its range, once it is written.
    QUrl m_reportUrl;
    QDate m_reportBegin;
    QDate m_reportEnd;
    // A PDF or a print of the report is being made.
    bool m_isOutputBusy = false;
    std::unique_ptr<QPrinter> m_printer;
    QLabel *m_image1;
    QGroupBox *m_frame1;
    QDateEdit *m_dtpBeg;
    QDateEdit *m_dtpEnd;
    QComboBox *m_cboFontSize;
    QCheckBox *m_chkScripts;
    QToolButton *m_btnSave;
    QToolButton *m_btnOutput;
    QAction *m_mnuSavePdf;
    QAction *m_mnuPrint;
    QProgressBar *m_prbStat;
    QWebEngineView *m_webReporter;
    QStatusBar *m_stbPane;
    QLabel *m_stbPanel1;
};
