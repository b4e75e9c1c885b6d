#pragma once

#include "notes/notesearch.h"

#include <QAbstractListModel>
#include <QDate>

#include <vector>

// The days a search found, one row each: the display role reads "MM/DD/YYYY: line"
// for screen readers, and the roles below give the painter its pieces.
class FoundDaysModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        DayRole = Qt::UserRole, // QDate
        LineRole,               // QString, the matching line
        MatchStartRole,         // int, in characters of the line
        MatchLengthRole,        // int, 0 when the day was found by its date
        UnreadableRole,         // bool
    };

    using QAbstractListModel::QAbstractListModel;

    void setFound(std::vector<tamcal::FoundDay> found);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    std::vector<tamcal::FoundDay> m_found;
};
