#include "forms/frmcalview.h"

#include "forms/frmdayedit.h"
#include "forms/frmfind.h"
#include "forms/frmsettings.h"
#include "forms/notepreview.h"
#include "forms/placement.h"
#include "forms/qtdates.h"
#include "forms/qtprompt.h"
#include "forms/reportwindows.h"
#include "forms/twips.h"
#include "forms/windows1252.h"
#include "notes/daynotes.h"
#include "notes/password.h"
#include "report/datetext.h"
#include "widgets/monthgrid.h"
#include "widgets/monthview.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QToolTip>

#include <cmath>
#include <utility>

namespace {

// Outer size of the window in twips that each month row and column takes.
constexpr double kTwipsPerMonthRow = 2150;
constexpr double kTwipsPerMonthColumn = 3200;
// The size a maximized window is put back to: the window can't stay maximized.
constexpr double kUnmaximizedWidth = 9405;
constexpr double kUnmaximizedHeight = 9210;

// Halves go to the even number, so 2.5 gives 2 and 3.5 gives 4.
int roundHalfEven(double value)
{
    return static_cast<int>(std::lrint(value));
}

tamcal::Message settingsNotSavedMessage(const tamcal::WriteFailure &failure)
{
    tamcal::Message message;
    message.text = "The settings were not saved.\r\n\r\n" + tamcal::describe(failure);
    message.title = "Not Saved!";
    message.icon = tamcal::MsgIcon::Exclamation;
    return message;
}

} // namespace

frmCalView::frmCalView(std::string executablePath, tamcal::UserPrompt *prompt)
    : m_executablePath(std::move(executablePath)), m_prompt(prompt), m_mvwShow(new MonthView(this)),
      m_btnQuit(new QPushButton(this)), m_menuCal(new QMenu("MenuCal", this))
{
    if (!m_prompt) {
        m_ownPrompt = std::make_unique<QtPrompt>(this);
        m_prompt = m_ownPrompt.get();
    }
    setObjectName("frmCalView");
    setWindowTitle(QString());
    resize(tamcal::pixelSize(6210, 6660));

    m_mvwShow->setObjectName("mvwShow");
    m_mvwShow->setAccessibleName("Calendar");
    m_mvwShow->setGeometry(tamcal::pixelRect(0, 0, 6180, 6660));
    m_mvwShow->installEventFilter(this);
    connect(m_mvwShow, &MonthView::DateClick, this, &frmCalView::mvwShow_DateClick);
    connect(m_mvwShow, &MonthView::DateDblClick, this, &frmCalView::mvwShow_DateDblClick);
    connect(m_mvwShow, &MonthView::activated, this, &frmCalView::mvwShow_DateDblClick);
    connect(m_mvwShow, &MonthView::menuRequested, this, [this](const QPoint &pos) {
        popUpMenu(pos);
        // From the keyboard the first item is ready for Return.
        m_menuCal->setActiveAction(m_menuCal->actions().constFirst());
    });
    connect(m_mvwShow, &MonthView::MouseUp, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
                mvwShow_MouseUp(button, x, y);
            });
    // Queued: the calendar finishes its own change before this window moves it
    // through the new months; the marks still come before the next paint.
    connect(m_mvwShow, &MonthView::shownMonthsChanged, this,
            &frmCalView::mvwShow_shownMonthsChanged, Qt::QueuedConnection);

    // Escape anywhere in the window presses this button, which lies left of
    // the visible area.
    m_btnQuit->setObjectName("btnQuit");
    m_btnQuit->setText("ESC");
    m_btnQuit->setGeometry(tamcal::pixelRect(-600, 960, 615, 375));
    m_btnQuit->setFocusPolicy(Qt::NoFocus);
    connect(m_btnQuit, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_btnQuit, &QPushButton::click);

    buildMenu();
    connect(this, &frmCalView::viewSelectedRequested, this, [this] { showReportWindow(); });
}

// The windows this one opened go before the prompt they share.
frmCalView::~frmCalView()
{
    delete m_view.data();
    delete m_dayEdit;
}

void frmCalView::buildMenu()
{
    m_menuCal->setObjectName("MenuCal");
    const auto addItem = [this](const char *name, const QString &caption) {
        QAction *item = m_menuCal->addAction(caption);
        item->setObjectName(name);
        return item;
    };
    connect(addItem("mnuCalEdit", "Edit..."), &QAction::triggered, this,
            [this] { openDayEditor(m_mvwShow->Value()); });
    m_menuCal->addSeparator()->setObjectName("mnuCalSep1");
    connect(addItem("mnuCalView", "View Selected..."), &QAction::triggered, this,
            &frmCalView::viewSelectedRequested);
    m_menuCal->addSeparator()->setObjectName("mnuCalSep2");
    connect(addItem("mnuCalRefresh", "Refresh"), &QAction::triggered, this,
            &frmCalView::MarkVisibleMonths);
    connect(addItem("mnuCalSettings", "Settings..."), &QAction::triggered, this,
            &frmCalView::mnuCalSettings_Click);
    QAction *find = addItem("mnuCalFind", "Find...");
    find->setShortcut(QKeySequence::Find);
    addAction(find); // Ctrl+F works in the calendar with the menu closed
    connect(find, &QAction::triggered, this, &frmCalView::mnuCalFind_Click);
    m_menuCal->addSeparator()->setObjectName("mnuCalSep3");
    addItem("mnuCalRez3", "<rezerved>")->setVisible(false);
    connect(addItem("mnuCalCan", "Cancel"), &QAction::triggered, this,
            [] { QCoreApplication::processEvents(); });
}

void frmCalView::Form_Load()
{
    m_ynDoDailyPopup = false;
    tamcal::LoadSettings(*this, m_executablePath);
    tamcal::RestorePlacement(*this);
    m_ynMarking = false;
    tamcal::AskSavePassword = true;
    show();
    // On screen before the marking starts: the request to show the window goes
    // out now rather than when the marking is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_mvwShow->setValue(QDate::currentDate());
    MarkVisibleMonths();
    const QDate today = QDate::currentDate();
    m_mvwShow->setValue(today);
    if (m_ynDoDailyPopup && m_mvwShow->DayBold(today))
        openDayEditor(today);
}

bool frmCalView::ynDoDailyPopup() const
{
    return m_ynDoDailyPopup;
}

void frmCalView::setYnDoDailyPopup(bool vNewValue)
{
    m_ynDoDailyPopup = vNewValue;
}

void frmCalView::loadPicture(const std::string &path)
{
    QPixmap picture;
    if (!picture.load(QFile::decodeName(QByteArray::fromStdString(path))))
        return;
    m_picture1 = picture;
    update();
}

void frmCalView::showBackground(const std::string &path)
{
    if (path.empty()) {
        m_picture1 = QPixmap();
        update();
    }
    loadPicture(path);
}

frmSettings *frmCalView::mnuCalSettings_Click()
{
    auto *dialog = new frmSettings(*this, *m_prompt);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

bool frmCalView::hasPicture() const
{
    return !m_picture1.isNull();
}

void frmCalView::ReloadDayDots()
{
    markDaysOf(m_mvwShow->Value());
}

// Marks the days of dayOfMonth's month; a new run stops one in progress.
void frmCalView::markDaysOf(QDate dayOfMonth)
{
    if (m_ynMarking) {
        m_ynMarking = false;
        QCoreApplication::processEvents();
        repaint();
        QCoreApplication::processEvents();
    }
    m_ynMarking = true;
    const tamcal::DateValue value = tamcal::dateValueOf(dayOfMonth);
    const QDate first = tamcal::dateOfText(tamcal::FirstOfMonthText(value));
    const QDate last = tamcal::dateOfText(tamcal::LastOfMonthText(value));
    const int dayCount = last.isValid() ? last.day() : 0;
    if (dayCount == 0)
        return;
    for (int i = 0; i < dayCount && m_ynMarking; ++i) {
        const QDate day = first.addDays(i);
        const bool hasNote = tamcal::DayHasNote(tamcal::shortDateOf(day));
        // A day the calendar doesn't show ends the days it can mark.
        if (!m_mvwShow->setDayBold(day, hasNote))
            break;
    }
    m_ynMarking = false;
}

// The months are marked where they stand: the calendar's value and the
// selection stay where the person put them, shown or not.
void frmCalView::MarkVisibleMonths()
{
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    const QDate first = monthgrid::firstOfMonth(m_mvwShow->VisibleDays(1));
    const int count = m_mvwShow->MonthRows() * m_mvwShow->MonthColumns();
    for (int i = 0; i < count; ++i)
        markDaysOf(first.addMonths(i));
    m_markedFirst = first;
    m_markedLast = first.addMonths(count - 1);
    m_marksFollowScrolling = true;
    // When the grid starts with a leading day, the last month shown is not
    // among those above.
    markMonthsCameIntoView();
    QGuiApplication::restoreOverrideCursor();
}

void frmCalView::markMonthsCameIntoView()
{
    const QDate shownFirst = m_mvwShow->firstShownMonth();
    const QDate shownLast = monthgrid::firstOfMonth(m_mvwShow->lastShownDay());
    QList<QDate> cameIntoView;
    for (QDate month = shownFirst; month <= shownLast; month = month.addMonths(1)) {
        if (!m_markedFirst.isValid() || month < m_markedFirst || month > m_markedLast)
            cameIntoView.append(month);
    }
    m_markedFirst = shownFirst;
    m_markedLast = shownLast;
    for (const QDate &month : cameIntoView)
        markDaysOf(month);
}

frmDayEdit &frmCalView::dayEditor()
{
    if (!m_dayEdit) {
        m_dayEdit = new frmDayEdit(*m_prompt, this);
        connect(m_dayEdit, &frmDayEdit::closing, this, [this](bool closes) {
            ReloadDayDots();
            // A close the person cancelled leaves the editor in front.
            if (closes)
                activateWindow();
        });
        connect(m_dayEdit, &frmDayEdit::daySaved, this, &frmCalView::markSavedDay);
    }
    return *m_dayEdit;
}

QWidget *frmCalView::showReportWindow()
{
    if (!m_view)
        m_view = loadReportWindow();
    if (!m_view)
        return nullptr;
    m_view->show();
    m_view->raise();
    m_view->activateWindow();
    return m_view;
}

QWidget *frmCalView::loadReportWindow()
{
    QString error;
    if (const tamcal::ReportWindowMaker maker = tamcal::reportWindowMaker(error))
        return maker(m_mvwShow->SelStart(), m_mvwShow->SelEnd(), *m_prompt, this);
    m_prompt->showMessage({"The report window could not be opened: its library did not load.\r\n" +
                               tamcal::toWindows1252(error),
                           {},
                           tamcal::MsgButtons::Ok,
                           tamcal::MsgIcon::Critical});
    return nullptr;
}

void frmCalView::openDayEditor(QDate date)
{
    dayEditor().setEditDay(QString::fromStdString(tamcal::displayDateOf(date)));
}

// A saved day shows its mark at once, whichever month the editor saved it in,
// and the search finds its new text.
void frmCalView::markSavedDay(const QDate &day)
{
    m_mvwShow->setDayBold(day, tamcal::DayHasNote(tamcal::shortDateOf(day)));
    if (m_find)
        m_find->refresh();
}

// A day chosen in the search window opens in the editor, its month in view.
void frmCalView::mnuCalFind_Click()
{
    if (!m_find) {
        m_find = new frmFind(*m_prompt, this);
        connect(m_find, &frmFind::dayChosen, this, [this](const QDate &day) {
            m_mvwShow->setValue(day);
            openDayEditor(day);
        });
    }
    m_find->startSearch();
}

void frmCalView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// Without a window manager a maximize changes the state but not the size, so
// the state change alone puts the window back too.
void frmCalView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMaximized())
        Form_Resize();
}

void frmCalView::Form_Resize()
{
    if (isMaximized()) {
        showNormal();
        tamcal::Placement normal = tamcal::windowPlacement(*this);
        normal.Width = kUnmaximizedWidth;
        normal.Height = kUnmaximizedHeight;
        tamcal::applyPlacement(*this, normal);
        QCoreApplication::processEvents();
    }
    const tamcal::Placement outer = tamcal::windowPlacement(*this);
    m_mvwShow->setMonthRows(roundHalfEven(outer.Height / kTwipsPerMonthRow));
    m_mvwShow->setMonthColumns(roundHalfEven(outer.Width / kTwipsPerMonthColumn));
    m_mvwShow->adjustSize();
}

void frmCalView::paintEvent(QPaintEvent *)
{
    if (m_picture1.isNull())
        return;
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), m_picture1);
}

void frmCalView::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    Form_Resize();
}

void frmCalView::closeEvent(QCloseEvent *event)
{
    // An open editor may hold unsaved text: it asks first, and may keep the run going.
    if (m_dayEdit && m_dayEdit->isVisible() && !m_dayEdit->close()) {
        event->ignore();
        return;
    }
    if (m_view)
        m_view->close();
    if (m_find)
        m_find->close();
    Form_Unload();
    QWidget::closeEvent(event);
}

// Hovering a day with a note shows its first lines.
bool frmCalView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_mvwShow || event->type() != QEvent::ToolTip)
        return QWidget::eventFilter(watched, event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QDate day = m_mvwShow->dateAt(help->pos());
    const QString preview = day.isValid() && m_mvwShow->DayBold(day) ? notePreview(day) : QString();
    if (preview.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), preview, m_mvwShow, m_mvwShow->dayRect(day));
    return true;
}

void frmCalView::Form_Unload()
{
    tamcal::SavePlacement(*this);
    const tamcal::WriteResult saved = tamcal::SaveSettings(*this);
    if (saved)
        return;
    QtPrompt ownPrompt(this);
    tamcal::UserPrompt &prompt = m_prompt ? *m_prompt : ownPrompt;
    prompt.showMessage(settingsNotSavedMessage(*saved.failure()));
}

void frmCalView::mvwShow_DateClick()
{
    ReloadDayDots();
}

void frmCalView::mvwShow_DateDblClick(const QDate &date)
{
    openDayEditor(date);
}

void frmCalView::mvwShow_MouseUp(Qt::MouseButton button, int x, int y)
{
    if (button == Qt::RightButton)
        popUpMenu(QPoint(x, y));
}

void frmCalView::popUpMenu(const QPoint &calendarPos)
{
    m_menuCal->popup(m_mvwShow->mapToGlobal(calendarPos));
}

void frmCalView::mvwShow_shownMonthsChanged()
{
    if (m_marksFollowScrolling)
        markMonthsCameIntoView();
}
