#include "forms/frmview.h"

#include "forms/datepicker.h"
#include "forms/placement.h"
#include "forms/qtdates.h"
#include "forms/reportoutput.h"
#include "forms/togglefont.h"
#include "forms/twips.h"
#include "forms/viewpages.h"
#include "forms/windows1252.h"
#include "profile/settings.h"
#include "report/reportdocument.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <climits>
#include <cmath>
#include <utility>

using tamcal::pixelRect;
using tamcal::pixelsFromTwips;
using tamcal::twipsFromPixels;

namespace {

// The gap the browser leaves to the right edge and above the status bar, in twips.
constexpr double kBrowserMargin = 50;
// The status bar's designed height, in twips.
constexpr double kStatusBarHeight = 255;

const char *const kFontSizes[] = {"2",  "3",  "4",  "5",  "6",  "7",  "8", "9",
                                  "10", "11", "12", "14", "16", "18", "20"};

// Places a control at its designed rectangle (twips), grown where the font
// needs more room than the design gave it.
void place(QWidget *control, double left, double top, double width, double height)
{
    const QRect designed = pixelRect(left, top, width, height);
    control->setGeometry(
        QRect(designed.topLeft(), designed.size().expandedTo(control->minimumSizeHint())));
}

QLabel *label(QWidget *parent, const char *name, const QString &caption)
{
    auto *text = new QLabel(caption, parent);
    text->setObjectName(name);
    return text;
}

QDateEdit *datePicker(QWidget *parent, const char *name)
{
    auto *picker = new DatePicker(parent);
    picker->setObjectName(name);
    return picker;
}

// A number the progress bar can take: whole, and within an int.
std::optional<int> barNumber(float value)
{
    if (!std::isfinite(value) || value < float(INT_MIN) || value > float(INT_MAX))
        return std::nullopt;
    return static_cast<int>(std::lround(value));
}

QUrl fileUrl(const std::string &path)
{
    return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
}

bool hasContent(const std::string &path)
{
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(path)));
    return !path.empty() && file.isFile() && file.size() > 0;
}

} // namespace

frmView::frmView(QDate selStart, QDate selEnd, tamcal::UserPrompt &prompt, QWidget *owner)
    : QWidget(owner, Qt::Window), m_prompt(prompt), m_selStart(selStart), m_selEnd(selEnd),
      m_image1(new QLabel(this)), m_frame1(new QGroupBox(this)),
      m_dtpBeg(datePicker(m_frame1, "dtpBeg")), m_dtpEnd(datePicker(m_frame1, "dtpEnd")),
      m_cboFontSize(new QComboBox(m_frame1)), m_chkScripts(new QCheckBox(m_frame1)),
      m_btnSave(new QToolButton(m_frame1)), m_btnOutput(new QToolButton(m_frame1)),
      m_mnuSavePdf(new QAction("Save as &PDF...", this)),
      m_mnuPrint(new QAction("&Print...", this)), m_prbStat(new QProgressBar(m_frame1)),
      m_webReporter(new QWebEngineView(this)), m_stbPane(new QStatusBar(this)),
      m_stbPanel1(new QLabel(m_stbPane))
{
    setObjectName("frmView");
    setWindowTitle("Multi Day View");
    // Closing unloads the window; the next "View Selected..." loads it afresh.
    setAttribute(Qt::WA_DeleteOnClose);
    resize(tamcal::pixelSize(6330, 6060));
    buildControls();
    // Escape closes the window as its close box does (during a build: after it).
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

frmView::~frmView()
{
    setMousePointer(std::nullopt);
}

void frmView::buildControls()
{
    m_image1->setObjectName("Image1");
    m_image1->setGeometry(pixelRect(120, 120, 480, 480));
    m_image1->setPixmap(
        style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(m_image1->size()));

    buildFrame();
    buildOutputMenu();

    m_webReporter->setObjectName("webReporter");
    m_webReporter->setAccessibleName("Report");
    m_webReporter->setGeometry(pixelRect(0, 1320, 6255, 4455));
    // The report and its pages are Windows-1252 text without a character set of their own.
    m_webReporter->settings()->setDefaultTextEncoding("windows-1252");
    m_webReporter->page()->scripts().insert(toggleFontScript());
    connect(m_webReporter->page(), &QWebEnginePage::linkHovered, this,
            &frmView::webReporter_StatusTextChange);
    connect(m_webReporter, &QWebEngineView::loadStarted, this, [this] { m_isPageLoading = true; });
    connect(m_webReporter, &QWebEngineView::loadFinished, this, &frmView::webReporter_LoadFinished);
    connect(m_webReporter, &QWebEngineView::pdfPrintingFinished, this,
            [this](const QString &path, bool isDone) {
                outputFinished(isDone, "The report could not be saved as " + path + ".",
                               "PDF Not Saved");
            });
    connect(m_webReporter, &QWebEngineView::printFinished, this, [this](bool isDone) {
        outputFinished(isDone, "The report could not be printed.", "Not Printed");
    });

    m_stbPane->setObjectName("stbPane");
    m_stbPanel1->setObjectName("stbPanel1");
    m_stbPane->addWidget(m_stbPanel1, 1);
}

void frmView::buildFrame()
{
    m_frame1->setObjectName("Frame1");
    m_frame1->setGeometry(pixelRect(720, 0, 5415, 1215));

    place(label(m_frame1, "Label3", "Range:"), 240, 240, 615, 255);
    place(m_dtpBeg, 960, 240, 1335, 285);
    m_dtpBeg->setAccessibleName("First day of the range");
    place(label(m_frame1, "Label1", "To"), 2415, 300, 195, 195);
    place(m_dtpEnd, 2760, 240, 1335, 285);
    m_dtpEnd->setAccessibleName("Last day of the range");
    connect(m_dtpBeg, &QDateEdit::dateChanged, this, &frmView::dtpBeg_Change);
    connect(m_dtpEnd, &QDateEdit::dateChanged, this, &frmView::dtpEnd_Change);

    QLabel *sizeLabel = label(m_frame1, "Label2", "Text Size:");
    place(sizeLabel, 120, 600, 735, 255);
    // A screen reader reads an editable box's text as its name, and its label from here.
    sizeLabel->setBuddy(m_cboFontSize);
    m_cboFontSize->setObjectName("cboFontSize");
    m_cboFontSize->setEditable(true);
    // The list stays the fixed choice of sizes; a typed size is used, not added.
    m_cboFontSize->setInsertPolicy(QComboBox::NoInsert);
    for (const char *size : kFontSizes)
        m_cboFontSize->addItem(size);
    m_cboFontSize->setEditText("10");
    m_cboFontSize->setToolTip("Select the Size of the Font for the Day Text.");
    place(m_cboFontSize, 960, 600, 1335, 315);

    m_chkScripts->setObjectName("chkScripts");
    m_chkScripts->setText("No Scripts");
    m_chkScripts->setToolTip("Check this if you dont want Scripting in the Report");
    place(m_chkScripts, 2745, 645, 1215, 255);

    m_btnSave->setObjectName("btnSave");
    m_btnSave->setText("&Go");
    m_btnSave->setToolTip("Generate The Report");
    m_btnSave->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_btnSave->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Small enough that the picture and the caption fit the designed button.
    m_btnSave->setIconSize(QSize(12, 12));
    place(m_btnSave, 4320, 720, 465, 480);
    connect(m_btnSave, &QToolButton::clicked, this, &frmView::GenerateReport);

    m_prbStat->setObjectName("prbStat");
    m_prbStat->setTextVisible(false);
    m_prbStat->setAccessibleName("Build progress");
    m_prbStat->setGeometry(pixelRect(120, 960, 4095, 135));
}

// Beside "&Go", so that the controls of the range keep their places. Its
// choices wait for a report to be shown.
void frmView::buildOutputMenu()
{
    m_mnuSavePdf->setObjectName("mnuSavePdf");
    connect(m_mnuSavePdf, &QAction::triggered, this, &frmView::mnuSavePdf_Click);
    m_mnuPrint->setObjectName("mnuPrint");
    m_mnuPrint->setShortcut(QKeySequence::Print);
    addAction(m_mnuPrint);
    connect(m_mnuPrint, &QAction::triggered, this, &frmView::mnuPrint_Click);

    auto *menu = new QMenu(m_btnOutput);
    menu->setObjectName("mnuOutput");
    menu->addAction(m_mnuSavePdf);
    menu->addAction(m_mnuPrint);
    m_btnOutput->setObjectName("btnOutput");
    m_btnOutput->setMenu(menu);
    m_btnOutput->setPopupMode(QToolButton::InstantPopup);
    m_btnOutput->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    m_btnOutput->setToolTip("Save the Report as PDF or Print it");
    m_btnOutput->setAccessibleName("Save as PDF or print");
    place(m_btnOutput, 4860, 720, 465, 480);
    refreshOutput();
}

void frmView::Form_Load()
{
    tamcal::RestorePlacement(*this);
    m_prbStat->setValue(0);
    m_ynLoading = true;
    InitRange();
    m_ynLoading = false;
}

void frmView::InitRange()
{
    navigate(QUrl("about:blank"));
    m_strBeg = tamcal::displayDateOf(m_selStart);
    m_strEnd = tamcal::displayDateOf(m_selEnd);
    m_dtpBeg->setDate(tamcal::dateOfText(m_strBeg));
    m_dtpEnd->setDate(tamcal::dateOfText(m_strEnd));
    GenerateReport();
}

bool frmView::isBuilding() const
{
    return m_isBuilding;
}

void frmView::GenerateReport()
{
    // A press of "&Go" reaches here again through the build's own event
    // processing; a second build inside the first is not started.
    if (m_ynLoading || m_isBuilding)
        return;
    m_isBuilding = true;
    m_reportUrl.clear();
    refreshOutput();
    buildAndShow();
    m_isBuilding = false;
    refreshOutput();
    if (std::exchange(m_isClosingAfterBuild, false))
        close();
}

void frmView::buildAndShow()
{
    const bool scripts = !m_chkScripts->isChecked();
    // "No Scripts" means none at all: a script in a note stays inert too.
    m_webReporter->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, scripts);
    short size = textSize();
    // The pickers may move while the build yields; this build keeps the range it began with.
    const std::string begin = m_strBeg;
    std::string end = m_strEnd;
    ShowWaitPage();
    tamcal::LoadReportDays(begin, end, *this);
    processPendingEvents();
    setStatusText("Please Wait Building Report...");
    processPendingEvents();
    setMousePointer(Qt::WaitCursor);
    const std::string path = tamcal::BuildReport(begin, end, scripts, size, *this);
    setMousePointer(Qt::BusyCursor);
    // A build that wrote nothing shows why instead of leaving the wait page up.
    if (hasContent(path)) {
        m_reportUrl = fileUrl(path);
        m_reportBegin = tamcal::dateOfText(begin);
        m_reportEnd = tamcal::dateOfText(end);
        showPage(path);
    } else
        showErrorPage();
    setMousePointer(std::nullopt);
}

short frmView::textSize() const
{
    // A whole number is read as typed; a fraction rounds half to even ("12.5" is 12).
    bool isNumber = false;
    const double size = m_cboFontSize->currentText().trimmed().toDouble(&isNumber);
    const double rounded = std::nearbyint(size);
    if (!isNumber || rounded < SHRT_MIN || rounded > SHRT_MAX)
        return 0;
    return short(rounded);
}

void frmView::ShowWaitPage()
{
    std::string path = tamcal::AppSettings.AppFolder + "pleasewait.htm";
    showPage(tamcal::WriteTextFile(tamcal::waitPageText(), path, *this));
}

void frmView::showErrorPage()
{
    std::string path = tamcal::AppSettings.AppFolder + "viewerror.htm";
    showPage(tamcal::WriteTextFile(tamcal::errorPageText(), path, *this));
}

void frmView::showPage(const std::string &path)
{
    navigate(fileUrl(path));
}

// A load asked for while the view is still finishing the page before can be
// dropped by the view, leaving that page up for good. So a load waits for the
// one in progress to finish; of several waiting, the newest is loaded.
void frmView::navigate(const QUrl &url)
{
    m_pendingPage = url;
    loadPendingPage();
}

void frmView::loadPendingPage()
{
    if (m_isPageLoading || m_pendingPage.isEmpty())
        return;
    m_isPageLoading = true;
    m_webReporter->load(std::exchange(m_pendingPage, QUrl()));
}

void frmView::webReporter_LoadFinished()
{
    m_isPageLoading = false;
    // A page shown after the build is the browser's idle state: the build's
    // status has done its work.
    if (!m_isBuilding && m_pendingPage.isEmpty()) {
        m_hoveredLink.clear();
        setStatusText(QString());
    }

    // The next load goes once the view has settled after this one.
    if (!m_pendingPage.isEmpty())
        QTimer::singleShot(0, this, &frmView::loadPendingPage);
    refreshOutput();
}

// A PDF or a print is of the report itself, never of the wait page.
void frmView::refreshOutput()
{
    const bool isShown = !m_reportUrl.isEmpty() && !m_isPageLoading && m_pendingPage.isEmpty() &&
                         m_webReporter->url() == m_reportUrl;
    const bool isReady = isShown && !m_isBuilding && !m_isOutputBusy;
    m_btnOutput->setEnabled(isReady);
    m_mnuSavePdf->setEnabled(isReady);
    m_mnuPrint->setEnabled(isReady);
}

void frmView::setOutputBusy(bool isBusy)
{
    m_isOutputBusy = isBusy;
    refreshOutput();
}

void frmView::mnuSavePdf_Click()
{
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString path = QFileDialog::getSaveFileName(
        this, "Save as PDF", folder.filePath(tamcal::proposedPdfName(m_reportBegin, m_reportEnd)),
        "PDF files (*.pdf)");
    if (!path.isEmpty())
        saveAsPdf(path);
}

void frmView::saveAsPdf(const QString &path)
{
    // The view tells only whether it worked; opening the file first gives the reason.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        outputFinished(false,
                       "The report could not be saved as " + path + ": " + file.errorString() + ".",
                       "PDF Not Saved");
        return;
    }
    file.close();
    setOutputBusy(true);
    m_webReporter->printToPdf(path, tamcal::reportPageLayout(QLocale()));
}

void frmView::mnuPrint_Click()
{
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPageLayout(tamcal::reportPageLayout(QLocale()));
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        printOn(*m_printer);
}

void frmView::printOn(QPrinter &printer)
{
    setOutputBusy(true);
    m_webReporter->print(&printer);
}

void frmView::outputFinished(bool isDone, const QString &failure, const char *title)
{
    setOutputBusy(false);
    if (isDone)
        return;
    tamcal::Message message;
    message.text = tamcal::toWindows1252(failure);
    message.title = title;
    message.icon = tamcal::MsgIcon::Exclamation;
    m_prompt.showMessage(message);
}

void frmView::SetProgress(float sngProgress, float sngMax)
{
    // A maximum or a value that the bar can't take is not applied.
    const std::optional<int> maximum = barNumber(sngMax);
    if (maximum && *maximum != m_prbStat->maximum() && *maximum > m_prbStat->minimum())
        m_prbStat->setMaximum(*maximum);
    const std::optional<int> value = barNumber(sngProgress);
    if (value && *value >= m_prbStat->minimum() && *value <= m_prbStat->maximum())
        m_prbStat->setValue(*value);
    processPendingEvents();
}

void frmView::processPendingEvents()
{
    QCoreApplication::processEvents();
}

tamcal::MsgAnswer frmView::showMessage(const tamcal::Message &message)
{
    return m_prompt.showMessage(message);
}

std::optional<std::string> frmView::askPassword(const std::string &shown)
{
    return m_prompt.askPassword(shown);
}

void frmView::setStatusText(const QString &text)
{
    m_stbPanel1->setText(text);
}

// The pointer is the application's, so that it shows over the browser view as
// well; nothing (std::nullopt) gives the default pointer back.
void frmView::setMousePointer(std::optional<Qt::CursorShape> shape)
{
    if (!shape) {
        if (m_hasOverrideCursor)
            QGuiApplication::restoreOverrideCursor();
        m_hasOverrideCursor = false;
        return;
    }
    if (m_hasOverrideCursor)
        QGuiApplication::changeOverrideCursor(*shape);
    else
        QGuiApplication::setOverrideCursor(*shape);
    m_hasOverrideCursor = true;
}

void frmView::dtpBeg_Change(QDate date)
{
    const std::string text = tamcal::displayDateOf(date);
    if (text != m_strBeg)
        m_strBeg = text;
}

void frmView::dtpEnd_Change(QDate date)
{
    const std::string text = tamcal::displayDateOf(date);
    if (text != m_strEnd)
        m_strEnd = text;
}

void frmView::webReporter_StatusTextChange(const QString &text)
{
    // The view also reports "no link" whenever a page loads; that clears a link
    // it showed, never the window's own status text.
    if (text.isEmpty() && m_stbPanel1->text() != m_hoveredLink)
        return;
    m_hoveredLink = text;
    setStatusText(text);
}

void frmView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The status bar keeps to the bottom edge across the whole width.
    const int barHeight = qMax(pixelsFromTwips(kStatusBarHeight), m_stbPane->sizeHint().height());
    m_stbPane->setGeometry(0, height() - barHeight, width(), barHeight);
    Form_Resize();
}

void frmView::Form_Resize()
{
    const QRect browser = m_webReporter->geometry();
    const double width =
        twipsFromPixels(this->width()) - twipsFromPixels(browser.left()) - kBrowserMargin;
    const double height = twipsFromPixels(this->height()) - twipsFromPixels(browser.top()) -
                          twipsFromPixels(m_stbPane->height()) - kBrowserMargin;
    // A size the view can't take leaves that dimension as it is.
    m_webReporter->resize(width < 0 ? browser.width() : pixelsFromTwips(width),
                          height < 0 ? browser.height() : pixelsFromTwips(height));
}

void frmView::showEvent(QShowEvent *event)
{
    m_isClosingAfterBuild = false;
    QWidget::showEvent(event);
}

void frmView::closeEvent(QCloseEvent *event)
{
    // Unloading deletes the window, which the running build still uses: it
    // goes out of sight now and closes once the build is done.
    if (m_isBuilding) {
        m_isClosingAfterBuild = true;
        hide();
        event->ignore();
        return;
    }
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmView::Form_Unload()
{
    tamcal::SavePlacement(*this);
    if (QWidget *calendar = parentWidget())
        calendar->activateWindow();
}
