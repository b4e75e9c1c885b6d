#include "forms/togglefont.h"

#include <QFile>
#include <QWebEngineScript>

namespace {

QByteArray toggleFontData()
{
    QFile font(":/fonts/toggles.ttf");
    return font.open(QIODevice::ReadOnly) ? font.readAll() : QByteArray();
}

} // namespace

// The font travels inside the script as a data URL: a file page may not load
// from the program's resources.
QWebEngineScript toggleFontScript()
{
    const QString source = QStringLiteral("(function () {"
                                          "  var face = new FontFace('WebDings',"
                                          "      'url(data:font/ttf;base64,%1)');"
                                          "  document.fonts.add(face);"
                                          "  face.load();"
                                          "})();")
                               .arg(QString::fromLatin1(toggleFontData().toBase64()));
    QWebEngineScript script;
    script.setName("toggleFont");
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    return script;
}
