#include "forms/frmdayedit.h"

#include "forms/placement.h"
#include "forms/qtdates.h"
#include "forms/twips.h"
#include "forms/windows1252.h"
#include "notes/daynotes.h"
#include "profile/settings.h"
#include "profile/userprompt.h"
#include "widgets/monthview.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

using tamcal::pixelRect;
using tamcal::pixelsFromTwips;
using tamcal::twipsFromPixels;

namespace {

// The smallest outer size of the window, in twips.
constexpr double kMinimumWidth = 3300;
constexpr double kMinimumHeight = 3960;
// The gap the text box leaves to the right and bottom edges, in twips.
constexpr double kTextMargin = 50;

// The picture of the day picker's button: a calendar leaf with a red header.
QIcon dayIcon()
{
    QPixmap leaf(32, 32);
    leaf.fill(Qt::transparent);
    QPainter painter(&leaf);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(2.5, 3.5, 27, 26), 3, 3);
    painter.setBrush(QColor(200, 40, 40));
    painter.drawRoundedRect(QRectF(2.5, 3.5, 27, 8), 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::darkGray);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column)
            painter.drawRect(6 + column * 6, 15 + row * 5, 3, 3);
    }
    return QIcon(leaf);
}

// The box's text with one LF between lines, character for character, so its
// positions are the document's. Raw text keeps no-break spaces as they are.
QString boxText(const QPlainTextEdit &box)
{
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

tamcal::Message saveQuestion(const QString &editDay)
{
    tamcal::Message message;
    message.text = "The text in Day " + editDay.toStdString() +
                   " has changed.\r\n\r\nDo you want to save the changes?";
    message.title = "Save Changes?";
    message.buttons = tamcal::MsgButtons::YesNoCancel;
    message.icon = tamcal::MsgIcon::Exclamation;
    return message;
}

// One message that says why the note was not stored. A marker clash has been
// explained by its own box already; anything else is told here.
std::optional<tamcal::Message> notSavedMessage(const QString &editDay,
                                               const tamcal::SaveResult &result)
{
    if (result.cause == tamcal::SaveCause::NotEnciphered)
        return std::nullopt;
    std::string text = "The note of Day " + editDay.toStdString() + " was not saved.\r\n\r\n" +
                       tamcal::describe(result);
    if (result.cause == tamcal::SaveCause::NoPassword && !tamcal::AppSettings.UsePass)
        text += " Password protection is now off: save again to store the note without it.";
    text += "\r\n\r\nThe note is still in the editor.";
    tamcal::Message message;
    message.text = text;
    message.title = "Not Saved!";
    message.icon = tamcal::MsgIcon::Exclamation;
    return message;
}

// Space presses a focused button by itself; Return and Enter press the leaf too.
bool isActivationKey(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QToolButton *pictureButton(QWidget *parent, const char *name, QStyle::StandardPixmap picture)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

} // namespace

frmDayEdit::frmDayEdit(tamcal::UserPrompt &prompt, QWidget *owner)
    : QMainWindow(owner, Qt::Window), m_prompt(prompt), m_surface(new QWidget(this)),
      m_imgIcon(new QToolButton(m_surface)),
      m_btnSave(pictureButton(m_surface, "btnSave", QStyle::SP_DialogSaveButton)),
      m_btnClose(pictureButton(m_surface, "btnClose", QStyle::SP_DialogCloseButton)),
      m_txtDayEdit(new QPlainTextEdit(m_surface)), m_fraButtons(new QGroupBox(m_surface)),
      m_mvDayEdit(new MonthView(m_fraButtons))
{
    setObjectName("frmDayEdit");
    setWindowTitle("Edit Day");
    setCentralWidget(m_surface);
    resize(tamcal::pixelSize(3135, 3270));
    buildControls();
    buildMenu();
    tamcal::RestorePlacement(*this);
}

frmDayEdit::~frmDayEdit() = default;

void frmDayEdit::buildControls()
{
    // Moving the mouse over the bare window closes the day picker.
    m_surface->setMouseTracking(true);
    m_surface->installEventFilter(this);

    m_imgIcon->setObjectName("imgIcon");
    m_imgIcon->setGeometry(pixelRect(75, 60, 480, 480));
    m_imgIcon->setIcon(dayIcon());
    m_imgIcon->setIconSize(m_imgIcon->size());
    m_imgIcon->setAutoRaise(true);
    m_imgIcon->setFocusPolicy(Qt::TabFocus);
    m_imgIcon->setAccessibleName("Change Day to Edit");
    m_imgIcon->installEventFilter(this);
    m_imgIcon->setToolTip("Click here to change Day to Edit");
    connect(m_imgIcon, &QToolButton::clicked, this, &frmDayEdit::imgIcon_Click);

    m_btnSave->setText("&Save");
    m_btnSave->setGeometry(pixelRect(600, 0, 700, 600));
    m_btnSave->setToolTip("Save Text into Day (F12)");
    connect(m_btnSave, &QToolButton::clicked, this, &frmDayEdit::btnSave_Click);

    m_btnClose->setText("&Cancel");
    m_btnClose->setGeometry(pixelRect(1440, 0, 650, 600));
    m_btnClose->setToolTip("Close this window (Escape Key)");
    connect(m_btnClose, &QToolButton::clicked, this, &QWidget::close);
    // Escape closes an open day picker first, and the window only after that.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_fraButtons->isVisible()) {
            hidePicker();
            m_imgIcon->setFocus(Qt::ShortcutFocusReason);
        } else {
            m_btnClose->click();
        }
    });

    m_txtDayEdit->setObjectName("txtDayEdit");
    m_txtDayEdit->move(pixelsFromTwips(0), pixelsFromTwips(600));
    m_txtDayEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtDayEdit->setAccessibleName("Note");
    // Tab walks on to the picker and the buttons, as in any dialog, and never lands in a note.
    m_txtDayEdit->setTabChangesFocus(true);
    m_txtDayEdit->installEventFilter(this);
    connect(m_txtDayEdit, &QPlainTextEdit::textChanged, this, [this] { setDirty(true); });

    // The picker frame grows to hold the month when the font needs more room.
    m_fraButtons->setObjectName("fraButtons");
    m_fraButtons->setTitle("Editing Day:");
    m_fraButtons->setAutoFillBackground(true);
    m_mvDayEdit->setObjectName("mvDayEdit");
    m_mvDayEdit->setAccessibleName("Editing Day");
    const QRect picker = pixelRect(45, 210, 2700, 2370);
    m_mvDayEdit->setGeometry(
        QRect(picker.topLeft(), picker.size().expandedTo(m_mvDayEdit->sizeHint())));
    const QRect frame = pixelRect(240, 480, 2820, 2640);
    const QSize around = frame.size() - picker.size();
    m_fraButtons->setGeometry(
        QRect(frame.topLeft(), frame.size().expandedTo(m_mvDayEdit->size() + around)));
    m_fraButtons->hide();
    connect(m_mvDayEdit, &MonthView::DateClick, this, &frmDayEdit::mvDayEdit_DateClick);
    connect(m_mvDayEdit, &MonthView::activated, this, &frmDayEdit::mvDayEdit_DateClick);

    setTabOrder(m_txtDayEdit, m_imgIcon);
    setTabOrder(m_imgIcon, m_mvDayEdit);
    setTabOrder(m_mvDayEdit, m_btnSave);
    setTabOrder(m_btnSave, m_btnClose);
    m_txtDayEdit->setFocus();
}

void frmDayEdit::buildMenu()
{
    QMenu *menuAction = menuBar()->addMenu("&Action");
    menuAction->setObjectName("MenuAction");
    m_mnuActionSave = menuAction->addAction("&Save");
    m_mnuActionSave->setObjectName("mnuActionSave");
    m_mnuActionSave->setShortcut(Qt::Key_F12);
    connect(m_mnuActionSave, &QAction::triggered, this, &frmDayEdit::btnSave_Click);
    menuAction->addSeparator()->setObjectName("mnuActionSep1");
    QAction *close = menuAction->addAction("&Close");
    close->setObjectName("mnuActionClose");
    connect(close, &QAction::triggered, this, &QWidget::close);
}

tamcal::UserPrompt &frmDayEdit::prompt()
{
    return m_prompt;
}

QString frmDayEdit::EditDay() const
{
    return m_editDay;
}

void frmDayEdit::setEditDay(const QString &vNewValue)
{
    if (m_dirty && AskSaveChanges() == SaveAnswer::Cancel)
        return;
    const QDate day = tamcal::dateOfText(vNewValue.toStdString());
    if (!day.isValid())
        return;
    m_editDay = QString::fromStdString(tamcal::displayDateOf(day));
    const std::string note = tamcal::ReadDayNote(m_editDay.toStdString(), prompt());
    m_txtDayEdit->setPlainText(tamcal::screenTextOf(note));
    SetLocked(note == tamcal::kUnreadableNote);
    show();
    raise();
    activateWindow();
    setDirty(false);
}

bool frmDayEdit::Dirty() const
{
    return m_dirty;
}

void frmDayEdit::setDirty(bool vNewValue)
{
    m_dirty = vNewValue;
    m_btnClose->setText(vNewValue ? "&Cancel" : "&Close");
    setWindowTitle("Edit Day " + m_editDay + (vNewValue ? " *" : ""));
}

void frmDayEdit::SetLocked(bool locked)
{
    if (locked)
        m_txtDayEdit->setPlainText("Password Incorrect!");
    m_txtDayEdit->setReadOnly(locked);
    QPalette colours = m_txtDayEdit->palette();
    colours.setColor(QPalette::Base, locked ? palette().color(QPalette::Disabled, QPalette::Text)
                                            : palette().color(QPalette::Base));
    m_txtDayEdit->setPalette(colours);
    m_btnSave->setEnabled(!locked);
    m_mnuActionSave->setEnabled(!locked);
}

frmDayEdit::SaveAnswer frmDayEdit::AskSaveChanges()
{
    if (!m_dirty)
        return SaveAnswer::None;
    switch (prompt().showMessage(saveQuestion(m_editDay))) {
    case tamcal::MsgAnswer::Yes:
        // A note that did not reach the profile keeps the editor where it is.
        return storeNote() ? SaveAnswer::Yes : SaveAnswer::Cancel;
    case tamcal::MsgAnswer::No:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}

// Stores the box's text under the edited day. Text with characters the profile
// can't hold, or a write that fails, is not saved and the person is told.
bool frmDayEdit::storeNote()
{
    const QString text = boxText(*m_txtDayEdit);
    const auto unstorable = tamcal::unstorableCharacters(text);
    if (!unstorable.isEmpty()) {
        prompt().showMessage(tamcal::unstorableMessage(unstorable));
        const auto first = tamcal::firstUnstorable(text);
        QTextCursor cursor(m_txtDayEdit->document());
        cursor.setPosition(static_cast<int>(first.start));
        cursor.setPosition(static_cast<int>(first.start + first.length), QTextCursor::KeepAnchor);
        m_txtDayEdit->setTextCursor(cursor);
        return false;
    }
    const tamcal::SaveResult saved =
        tamcal::WriteDayNote(m_editDay.toStdString(), tamcal::noteTextOf(text), prompt());
    if (!saved) {
        if (const auto message = notSavedMessage(m_editDay, saved))
            prompt().showMessage(*message);
        return false;
    }
    emit daySaved(tamcal::dateOfText(m_editDay.toStdString()));
    return true;
}

void frmDayEdit::btnSave_Click()
{
    if (storeNote())
        setDirty(false);
}

void frmDayEdit::imgIcon_Click()
{
    if (m_fraButtons->isVisible()) {
        hidePicker();
        return;
    }
    const QDate editDay = tamcal::dateOfText(m_editDay.toStdString());
    if (editDay.isValid())
        m_mvDayEdit->setValue(editDay);
    m_fraButtons->show();
    m_fraButtons->raise();
    m_mvDayEdit->setFocus(Qt::OtherFocusReason);
}

void frmDayEdit::mvDayEdit_DateClick(const QDate &date)
{
    hidePicker();
    setEditDay(QString::fromStdString(tamcal::displayDateOf(date)));
    m_txtDayEdit->setFocus(Qt::OtherFocusReason);
}

void frmDayEdit::hidePicker()
{
    m_fraButtons->hide();
}

bool frmDayEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_imgIcon && isActivationKey(event)) {
        m_imgIcon->click();
        return true;
    }
    const bool isFocusIntoText = watched == m_txtDayEdit && event->type() == QEvent::FocusIn;
    const bool isMoveOverSurface =
        watched == m_surface && event->type() == QEvent::MouseMove &&
        !m_surface->childAt(static_cast<QMouseEvent *>(event)->position().toPoint());
    if (isFocusIntoText || isMoveOverSurface)
        hidePicker();
    if (watched == m_surface && event->type() == QEvent::Resize)
        fitTextBox();
    return QMainWindow::eventFilter(watched, event);
}

void frmDayEdit::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    const QSize frameExtra = frameGeometry().size() - size();
    setMinimumSize(tamcal::pixelSize(kMinimumWidth, kMinimumHeight) - frameExtra);
}

void frmDayEdit::fitTextBox()
{
    const QPoint at = m_txtDayEdit->pos();
    const double width =
        twipsFromPixels(m_surface->width()) - twipsFromPixels(at.x()) - kTextMargin;
    const double height =
        twipsFromPixels(m_surface->height()) - twipsFromPixels(at.y()) - kTextMargin;
    m_txtDayEdit->resize(tamcal::pixelSize(width, height));
}

void frmDayEdit::closeEvent(QCloseEvent *event)
{
    tamcal::SavePlacement(*this);
    if (AskSaveChanges() == SaveAnswer::Cancel) {
        event->ignore();
        // The unsaved text stays in front, ready for more typing.
        raise();
        activateWindow();
        m_txtDayEdit->setFocus();
    } else {
        // The window is used again for the next day; what it held is dropped.
        setDirty(false);
        event->accept();
    }
    emit closing(event->isAccepted());
}
