#pragma once

class QWebEngineScript;

// The report draws its fold toggles as the characters "6" and "4" in the WebDings
// family, which Linux lacks. This script, run in every page of the report view,
// gives that family the program's own toggle font (a down and a right triangle),
// so the report file itself stays as it is written.
QWebEngineScript toggleFontScript();
