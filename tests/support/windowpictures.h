#pragma once

#include <QDate>
#include <QString>
#include <QTemporaryDir>

#include <string>

class QRect;
class QWidget;

namespace tamcal::test {

// What the picture programs share: the folder the pictures go to (the first
// argument, else the current folder) and a per-user placement store of their own.
class WindowPictures
{
public:
    WindowPictures(int argc, char *argv[]);

    // Saves what the screen shows in `area` as `name` and prints where it went.
    void shoot(const QString &name, const QRect &area) const;
    void shoot(const QString &name, const QWidget &window) const;

private:
    QString m_folder;
    QTemporaryDir m_settings;
};

// Writes `text` as the profile tamcal.ini of the program folder `folder`.
void writeProfile(const QString &folder, const std::string &text);

// The [Days] line of a day holding `note` in plain hex, with its line break.
std::string noteLine(QDate day, const std::string &note);

} // namespace tamcal::test
