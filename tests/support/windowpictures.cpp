#include "support/windowpictures.h"

#include "forms/qtdates.h"
#include "notes/cipher.h"
#include "notes/daynotes.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <cstdio>

namespace tamcal::test {

WindowPictures::WindowPictures(int argc, char *argv[])
    : m_folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."))
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
}

void WindowPictures::shoot(const QString &name, const QRect &area) const
{
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(
        0, area.x(), area.y(), area.width(), area.height());
    const QString path = QDir(m_folder).filePath(name);
    std::printf("%s %s\n", qPrintable(path), picture.save(path) ? "saved" : "NOT SAVED");
}

void WindowPictures::shoot(const QString &name, const QWidget &window) const
{
    shoot(name, window.frameGeometry());
}

void writeProfile(const QString &folder, const std::string &text)
{
    QFile file(QDir(folder).filePath("tamcal.ini"));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) < 0)
        std::printf("cannot write %s\n", qPrintable(file.fileName()));
}

std::string noteLine(QDate day, const std::string &note)
{
    const auto key = dayKey(displayDateOf(day));
    return *key + "=" + HexCode(note, false) + "\r\n";
}

} // namespace tamcal::test
