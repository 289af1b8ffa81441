// Texts between the 8-bit strings of the core (user's charset, CR LF line
// breaks) and Qt's strings (UTF-16, LF line breaks).
#pragma once

#include <QString>

class QTextDocument;

#include <string>

// 8-bit text in the user's charset to a QString; CR LF stays as it is.
QString ToQ(const std::string& text);
std::string FromQ(const QString& text);

// CR LF (and lone CR) to LF, for showing in a Qt text control.
QString FromCrLf(const std::string& text);
// LF to CR LF, for handing a Qt control's text back to the core.
std::string ToCrLf(const QString& text);

// A text control's document as the user typed it, line breaks as LF; unlike
// QTextDocument::toPlainText it keeps non-breaking spaces.
QString DocumentText(const QTextDocument& document);
