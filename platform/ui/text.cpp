#include "platform/ui/text.h"

#include <QTextDocument>

QString ToQ(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQ(const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString FromCrLf(const std::string& text) {
  QString q = ToQ(text);
  q.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return q;
}

std::string ToCrLf(const QString& text) {
  QString q = text;
  q.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  q.replace(QLatin1String("\n"), QLatin1String("\r\n"));
  return FromQ(q);
}

QString DocumentText(const QTextDocument& document) {
  QString text = document.toRawText();
  for (QChar& c : text) {
    const char16_t u = c.unicode();
    if (u == QChar::ParagraphSeparator || u == QChar::LineSeparator || u == 0xFDD0 || u == 0xFDD1)
      c = QLatin1Char('\n');
  }
  return text;
}
