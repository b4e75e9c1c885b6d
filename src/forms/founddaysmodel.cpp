#include "forms/founddaysmodel.h"

#include "forms/qtdates.h"
#include "forms/windows1252.h"
#include "report/datetext.h"

#include <utility>

namespace {

const QString kUnreadableText = QStringLiteral("Protected note, cannot be read");

} // namespace

void FoundDaysModel::setFound(std::vector<tamcal::FoundDay> found)
{
    beginResetModel();
    m_found = std::move(found);
    endResetModel();
}

int FoundDaysModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_found.size());
}

// Every Windows-1252 byte is one character on screen, so byte offsets in the
// line are character offsets too.
QVariant FoundDaysModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const tamcal::FoundDay &found = m_found[static_cast<std::size_t>(index.row())];
    const QString line = found.isUnreadable ? kUnreadableText : tamcal::fromWindows1252(found.line);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromStdString(tamcal::displayDateText(found.day)) + ": " + line;
    case DayRole:
        return tamcal::qDate(found.day);
    case LineRole:
        return line;
    case MatchStartRole:
        return static_cast<int>(found.matchStart);
    case MatchLengthRole:
        return static_cast<int>(found.matchLength);
    case UnreadableRole:
        return found.isUnreadable;
    default:
        return {};
    }
}
