// A multi-line edit control with the selection and line operations of the
// framework's edit class. Positions count characters of the shown text,
// where a line break is one character.
#pragma once

#include <QPlainTextEdit>

#include <string>

class CEdit : public QPlainTextEdit {
  Q_OBJECT
public:
  explicit CEdit(QWidget* parent = nullptr);

  // The text with CR LF line breaks, in the user's charset.
  std::string GetWindowText() const;
  void SetWindowText(const std::string& text);
  int GetWindowTextLength() const;

  void SetSel(int start, int end, bool noScroll = false);
  void GetSel(int& start, int& end) const;
  // Replaces the selection (inserts at the caret without one).
  void ReplaceSel(const std::string& text);
  // The line holding pos; the line count; the first position of a line, or
  // -1 past the last line.
  int LineFromChar(int pos) const;
  int GetLineCount() const;
  int LineIndex(int line) const;
  // Scrolls by lines (negative: up).
  void LineScroll(int lines);
  // Scrolls the caret into view.
  void ScrollCaret() { ensureCursorVisible(); }
  // Keeps the selection painted while the control has no focus.
  void SetKeepSelection(bool keep);
};
