#include "platform/ui/list_controls.h"

#include <QAbstractItemView>
#include <QSignalBlocker>

namespace {

// Where text goes in a list kept sorted as the system sorts list boxes:
// ignoring case, after items that compare equal.
template <typename TextAt>
int SortedPosition(int count, const QString& text, TextAt textAt) {
  int low = 0, high = count;
  while (low < high) {
    const int mid = (low + high) / 2;
    if (QString::compare(textAt(mid), text, Qt::CaseInsensitive) <= 0)
      low = mid + 1;
    else
      high = mid;
  }
  return low;
}

}  // namespace

// ---- CListBox

CListBox::CListBox(QWidget* parent, bool sorted) : QListWidget(parent), m_sorted(sorted) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (!m_silent) emit selectionChangedByUser();
  });
  connect(this, &QListWidget::itemDoubleClicked, this, [this] {
    if (!m_silent) emit itemDoubleClickedByUser();
  });
}

int CListBox::AddString(const QString& text) {
  const int at = m_sorted ? SortedPosition(count(), text, [this](int i) { return item(i)->text(); })
                          : count();
  m_silent = true;
  insertItem(at, text);
  m_silent = false;
  return at;
}

void CListBox::ResetContent() {
  m_silent = true;
  clear();
  m_silent = false;
}

QString CListBox::GetText(int index) const {
  const QListWidgetItem* it = item(index);
  return it ? it->text() : QString();
}

int CListBox::GetCurSel() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

int CListBox::SetCurSel(int index) {
  m_silent = true;
  if (index < 0 || index >= count()) {
    clearSelection();
    setCurrentRow(-1);
    index = -1;
  } else {
    setCurrentRow(index);
    scrollToItem(item(index));
  }
  m_silent = false;
  return index;
}

// ---- CComboBox

CComboBox::CComboBox(QWidget* parent, bool sorted) : QComboBox(parent) {
  setEditable(false);
  setInsertPolicy(sorted ? QComboBox::InsertAlphabetically : QComboBox::InsertAtBottom);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(1);
  connect(this, &QComboBox::activated, this, [this] { emit selectionChangedByUser(); });
}

int CComboBox::AddString(const QString& text) {
  const QSignalBlocker block(this);
  const bool sorted = insertPolicy() == QComboBox::InsertAlphabetically;
  const int at = sorted ? SortedPosition(count(), text, [this](int i) { return itemText(i); }) : count();
  const int current = currentIndex();
  insertItem(at, text);
  // Inserting into an empty box selects nothing, as a list box does.
  setCurrentIndex(current < 0 ? -1 : (current >= at ? current + 1 : current));
  return at;
}

void CComboBox::ResetContent() {
  const QSignalBlocker block(this);
  clear();
}

int CComboBox::SetCurSel(int index) {
  const QSignalBlocker block(this);
  if (index < 0 || index >= count()) index = -1;
  setCurrentIndex(index);
  return index;
}

int CComboBox::FindStringExact(int start, const QString& text) const {
  const int n = count();
  if (n == 0) return -1;
  const int first = start < 0 || start >= n ? 0 : start + 1;
  for (int k = 0; k < n; ++k) {
    const int i = (first + k) % n;
    if (QString::compare(itemText(i), text, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

bool CComboBox::SetItemData(int index, int data) {
  if (index < 0 || index >= count()) return false;
  setItemData(index, data);
  return true;
}

int CComboBox::GetItemData(int index) const {
  if (index < 0 || index >= count()) return -1;
  return itemData(index).toInt();
}

void CComboBox::SetDroppedWidth(int width) { view()->setMinimumWidth(width > this->width() ? width : 0); }

int CComboBox::GetDroppedWidth() const {
  const int minimum = view()->minimumWidth();
  return minimum > width() ? minimum : width();
}
