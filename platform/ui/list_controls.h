// The list box and the drop-down list of dialog templates, with the
// framework's index-based operations. Changes made through these calls are
// silent; only the user's own choices notify the window (LBN_SELCHANGE,
// LBN_DBLCLK, CBN_SELCHANGE).
#pragma once

#include <QComboBox>
#include <QListWidget>

// Notification codes of controls (BN_CLICKED goes to OnCommand).
enum : unsigned {
  LBN_SELCHANGE = 1,
  LBN_DBLCLK = 2,
  CBN_SELCHANGE = 1,
};

class CListBox : public QListWidget {
  Q_OBJECT
public:
  explicit CListBox(QWidget* parent = nullptr, bool sorted = false);

  // Adds an item (in order when sorted); returns its index.
  int AddString(const QString& text);
  void ResetContent();
  int GetCount() const { return count(); }
  QString GetText(int index) const;
  // The selected item, or -1.
  int GetCurSel() const;
  // Selects index; -1 or an index out of range clears the selection and
  // returns -1.
  int SetCurSel(int index);

signals:
  // The user changed the selection, or double-clicked an item.
  void selectionChangedByUser();
  void itemDoubleClickedByUser();

private:
  bool m_sorted;
  bool m_silent = false;
};

class CComboBox : public QComboBox {
  Q_OBJECT
public:
  explicit CComboBox(QWidget* parent = nullptr, bool sorted = false);

  int AddString(const QString& text);
  void ResetContent();
  int GetCount() const { return count(); }
  QString GetLBText(int index) const { return itemText(index); }
  int GetCurSel() const { return currentIndex(); }
  int SetCurSel(int index);
  // The first item from start + 1 on (wrapping; -1: from the top) whose
  // whole text equals text, ignoring case; -1 for none.
  int FindStringExact(int start, const QString& text) const;
  bool SetItemData(int index, int data);
  // The item's data; -1 for an index out of range.
  int GetItemData(int index) const;
  // The width of the drop-down part in pixels; never narrower than the box.
  void SetDroppedWidth(int width);
  int GetDroppedWidth() const;

signals:
  // The user chose an item (with the mouse or the keyboard).
  void selectionChangedByUser();
};
