#pragma once

#include <QString>

class QDate;

// What the calendar's tooltip shows of a day's note: its first three lines, at most
// 300 characters. It never asks for the password: a protected note shows only
// when the password is known this run, otherwise "Protected note". Empty for a
// day without a note.
QString notePreview(const QDate &day);
