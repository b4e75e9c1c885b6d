#pragma once

#include <QWidget>

#include <memory>

class FoundDaysModel;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;

namespace tamcal {
class NoteSearch;
class UserPrompt;
} // namespace tamcal

// The search window: a text box and the days whose notes hold its text, newest
// first, updated with every key. Return or a double-click chooses a day. The
// notes are read when a search starts, so that typing never waits on the profile.
class frmFind : public QWidget
{
    Q_OBJECT

public:
    // The password dialog, when a search needs it, goes through `prompt`.
    explicit frmFind(tamcal::UserPrompt &prompt, QWidget *owner = nullptr);
    ~frmFind() override;

    // Reads every note afresh (asking once for the password of protected ones
    // when it is not known yet), shows the window and searches for what the
    // text box holds.
    void startSearch();

    // Reads the notes again without asking anything, for a note saved while the
    // window is open; the password given when the search started still serves.
    void refresh();

signals:
    // The person chose this day in the list.
    void dayChosen(const QDate &day);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtFind_Change();
    void chooseDay(const QModelIndex &index);
    void chooseCurrentDay();

    tamcal::UserPrompt &m_prompt;
    std::unique_ptr<tamcal::NoteSearch> m_search;
    QLineEdit *m_txtFind;
    QListView *m_lstFound;
    QLabel *m_lblCount;
    FoundDaysModel *m_found;
    bool m_isPlaced = false;
};
