#include "forms/frmfind.h"

#include "forms/founddaydelegate.h"
#include "forms/founddaysmodel.h"
#include "forms/placement.h"
#include "forms/silentprompt.h"
#include "forms/twips.h"
#include "forms/windows1252.h"
#include "notes/notesearch.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

bool isReturn(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isUpOrDown(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
           key == Qt::Key_PageDown;
}

QString countText(int count)
{
    if (count == 0)
        return QStringLiteral("No day found");
    return count == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(count);
}

} // namespace

frmFind::frmFind(tamcal::UserPrompt &prompt, QWidget *owner)
    : QWidget(owner, Qt::Window), m_prompt(prompt), m_txtFind(new QLineEdit(this)),
      m_lstFound(new QListView(this)), m_lblCount(new QLabel(this)),
      m_found(new FoundDaysModel(this))
{
    setObjectName("frmFind");
    setWindowTitle("Find");
    resize(tamcal::pixelSize(8400, 5400));

    m_txtFind->setObjectName("txtFind");
    m_txtFind->setPlaceholderText("Words, or a date such as 7/4/2004 or a month such as 7/2004");
    m_txtFind->setAccessibleName("Find");
    m_txtFind->setClearButtonEnabled(true);
    m_txtFind->installEventFilter(this);
    connect(m_txtFind, &QLineEdit::textChanged, this, &frmFind::txtFind_Change);

    m_lstFound->setObjectName("lstFound");
    m_lstFound->setAccessibleName("Days found");
    m_lstFound->setModel(m_found);
    m_lstFound->setItemDelegate(new FoundDayDelegate(m_lstFound));
    m_lstFound->setUniformItemSizes(true);
    m_lstFound->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstFound->installEventFilter(this);
    connect(m_lstFound, &QListView::doubleClicked, this, &frmFind::chooseDay);

    m_lblCount->setObjectName("lblCount");

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_txtFind);
    layout->addWidget(m_lstFound);
    layout->addWidget(m_lblCount);
    setTabOrder(m_txtFind, m_lstFound);

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

frmFind::~frmFind() = default;

void frmFind::startSearch()
{
    // The password dialog, when one is needed, opens here, before the window.
    m_search = std::make_unique<tamcal::NoteSearch>(m_prompt);
    if (!m_isPlaced) {
        tamcal::RestorePlacement(*this);
        m_isPlaced = true;
    }
    show();
    raise();
    activateWindow();
    m_txtFind->setFocus();
    m_txtFind->selectAll();
    txtFind_Change();
}

void frmFind::refresh()
{
    if (!m_search)
        return;
    SilentPrompt silent;
    m_search = std::make_unique<tamcal::NoteSearch>(silent);
    txtFind_Change();
}

void frmFind::txtFind_Change()
{
    const QString text = m_txtFind->text();
    std::vector<tamcal::FoundDay> found;
    // A character the profile cannot hold is in no note.
    if (m_search && tamcal::unstorableCharacters(text).isEmpty())
        found = m_search->find(tamcal::toWindows1252(text));
    m_found->setFound(std::move(found));
    if (m_found->rowCount() > 0)
        m_lstFound->setCurrentIndex(m_found->index(0));
    m_lblCount->setText(text.isEmpty() ? QString() : countText(m_found->rowCount()));
}

void frmFind::chooseDay(const QModelIndex &index)
{
    if (index.isValid())
        emit dayChosen(index.data(FoundDaysModel::DayRole).toDate());
}

void frmFind::chooseCurrentDay()
{
    chooseDay(m_lstFound->currentIndex());
}

// Return chooses the current day from the text box too, and the arrows walk
// the list while the typing goes on.
bool frmFind::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_txtFind || watched == m_lstFound) && isReturn(event)) {
        chooseCurrentDay();
        return true;
    }
    if (watched == m_txtFind && isUpOrDown(event)) {
        QCoreApplication::sendEvent(m_lstFound, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmFind::closeEvent(QCloseEvent *event)
{
    tamcal::SavePlacement(*this);
    QWidget::closeEvent(event);
}
