#include "forms/frmcalview.h"

#include "forms/frmdayedit.h"
#include "forms/frmview.h"
#include "forms/placement.h"
#include "forms/qtdates.h"
#include "forms/qtprompt.h"
#include "forms/twips.h"
#include "notes/daynotes.h"
#include "notes/password.h"
#include "report/datetext.h"
#include "widgets/monthview.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

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

QDate firstOfMonth(QDate date)
{
    return {date.year(), date.month(), 1};
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

// Lets this window walk the calendar through months without its scroll handler
// reacting, and puts the current value and the selection back afterwards.
class frmCalView::MarkingGuard
{
public:
    explicit MarkingGuard(frmCalView &window)
        : m_window(window), m_value(window.m_mvwShow->Value()),
          m_selStart(window.m_mvwShow->SelStart()), m_selEnd(window.m_mvwShow->SelEnd()),
          m_wasFollowing(std::exchange(window.m_marksFollowScrolling, false))
    {
    }

    ~MarkingGuard()
    {
        MonthView &calendar = *m_window.m_mvwShow;
        calendar.setValue(m_value);
        if (calendar.SelStart() != m_selStart || calendar.SelEnd() != m_selEnd)
            calendar.setSelection(m_selStart, m_selEnd);
        m_window.m_marksFollowScrolling = m_wasFollowing;
    }

    MarkingGuard(const MarkingGuard &) = delete;
    MarkingGuard &operator=(const MarkingGuard &) = delete;

private:
    frmCalView &m_window;
    QDate m_value;
    QDate m_selStart;
    QDate m_selEnd;
    bool m_wasFollowing;
};

frmCalView::frmCalView(std::string executablePath, tamcal::UserPrompt *prompt)
    : m_executablePath(std::move(executablePath)), m_prompt(prompt), m_mvwShow(new MonthView(this)),
      m_btnQuit(new QPushButton(this)), m_menuCal(new QMenu("MenuCal", this))
{
    setObjectName("frmCalView");
    setWindowTitle(QString());
    resize(tamcal::pixelSize(6210, 6660));

    m_mvwShow->setObjectName("mvwShow");
    m_mvwShow->setGeometry(tamcal::pixelRect(0, 0, 6180, 6660));
    connect(m_mvwShow, &MonthView::DateClick, this, &frmCalView::mvwShow_DateClick);
    connect(m_mvwShow, &MonthView::DateDblClick, this, &frmCalView::mvwShow_DateDblClick);
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

frmCalView::~frmCalView() = default;

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

bool frmCalView::hasPicture() const
{
    return !m_picture1.isNull();
}

void frmCalView::ReloadDayDots()
{
    if (m_ynMarking) {
        m_ynMarking = false;
        QCoreApplication::processEvents();
        repaint();
        QCoreApplication::processEvents();
    }
    m_ynMarking = true;
    const tamcal::DateValue value = tamcal::dateValueOf(m_mvwShow->Value());
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

void frmCalView::MarkVisibleMonths()
{
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    {
        MarkingGuard guard(*this);
        m_mvwShow->setValue(m_mvwShow->VisibleDays(1));
        const QDate first(m_mvwShow->Year(), m_mvwShow->Month(), 1);
        const int count = m_mvwShow->MonthRows() * m_mvwShow->MonthColumns();
        for (int i = 0; i < count; ++i)
            markMonth(first.addMonths(i));
        m_markedFirst = first;
        m_markedLast = first.addMonths(count - 1);
    }
    m_marksFollowScrolling = true;
    // When the grid starts with a leading day, the last month shown is not
    // among those above.
    markMonthsCameIntoView();
    QGuiApplication::restoreOverrideCursor();
}

void frmCalView::markMonthsCameIntoView()
{
    const QDate shownFirst = m_mvwShow->firstShownMonth();
    const QDate shownLast = firstOfMonth(m_mvwShow->lastShownMonth());
    QList<QDate> cameIntoView;
    for (QDate month = shownFirst; month <= shownLast; month = month.addMonths(1)) {
        if (!m_markedFirst.isValid() || month < m_markedFirst || month > m_markedLast)
            cameIntoView.append(month);
    }
    m_markedFirst = shownFirst;
    m_markedLast = shownLast;
    if (cameIntoView.isEmpty())
        return;
    MarkingGuard guard(*this);
    for (const QDate &month : cameIntoView)
        markMonth(month);
}

void frmCalView::markMonth(QDate dayOfMonth)
{
    m_mvwShow->setValue(dayOfMonth);
    ReloadDayDots();
}

frmDayEdit &frmCalView::dayEditor()
{
    if (!m_dayEdit) {
        m_dayEdit = new frmDayEdit(m_prompt, this);
        connect(m_dayEdit, &frmDayEdit::closing, this, [this] {
            ReloadDayDots();
            activateWindow();
        });
        connect(m_dayEdit, &frmDayEdit::daySaved, this, &frmCalView::markSavedDay);
    }
    return *m_dayEdit;
}

frmView &frmCalView::showReportWindow()
{
    if (!m_view) {
        m_view = new frmView(m_mvwShow->SelStart(), m_mvwShow->SelEnd(), m_prompt, this);
        m_view->Form_Load();
    }
    m_view->show();
    m_view->raise();
    m_view->activateWindow();
    return *m_view;
}

void frmCalView::openDayEditor(QDate date)
{
    dayEditor().setEditDay(QString::fromStdString(tamcal::displayDateOf(date)));
}

// A saved day shows its mark at once, whichever month the editor saved it in.
void frmCalView::markSavedDay(const QDate &day)
{
    m_mvwShow->setDayBold(day, tamcal::DayHasNote(tamcal::shortDateOf(day)));
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
    Form_Unload();
    QWidget::closeEvent(event);
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
        m_menuCal->popup(m_mvwShow->mapToGlobal(QPoint(x, y)));
}

void frmCalView::mvwShow_shownMonthsChanged()
{
    if (m_marksFollowScrolling)
        markMonthsCameIntoView();
}
