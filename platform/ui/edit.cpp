#include "platform/ui/edit.h"

#include "platform/ui/text.h"

#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

CEdit::CEdit(QWidget* parent) : QPlainTextEdit(parent) {}

std::string CEdit::GetWindowText() const { return ToCrLf(DocumentText(*document())); }

void CEdit::SetWindowText(const std::string& text) { setPlainText(FromCrLf(text)); }

int CEdit::GetWindowTextLength() const {
  return std::max(0, document()->characterCount() - 1);
}

void CEdit::SetSel(int start, int end, bool noScroll) {
  const int length = GetWindowTextLength();
  if (start < 0 || start > length) start = length;
  if (end < 0 || end > length) end = length;
  QTextCursor cursor(document());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  if (!noScroll) ensureCursorVisible();
}

void CEdit::GetSel(int& start, int& end) const {
  const QTextCursor cursor = textCursor();
  start = cursor.selectionStart();
  end = cursor.selectionEnd();
}

void CEdit::ReplaceSel(const std::string& text) {
  QTextCursor cursor = textCursor();
  cursor.insertText(FromCrLf(text));
  setTextCursor(cursor);
}

int CEdit::LineFromChar(int pos) const {
  const int length = GetWindowTextLength();
  if (pos < 0) pos = textCursor().selectionStart();
  if (pos > length) pos = length;
  return document()->findBlock(pos).blockNumber();
}

int CEdit::GetLineCount() const { return document()->blockCount(); }

int CEdit::LineIndex(int line) const {
  const QTextBlock block = document()->findBlockByNumber(line);
  return block.isValid() ? block.position() : -1;
}

void CEdit::LineScroll(int lines) {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->value() + lines);
}

void CEdit::SetKeepSelection(bool keep) {
  if (!keep) return;
  QPalette p = palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(p);
}
