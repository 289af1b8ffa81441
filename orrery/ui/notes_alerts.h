// Telling the user about notes files: one that could not be read and was
// kept aside, and a watch on the notes folder for other writers.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class CNoteStore;
class QFileSystemWatcher;
class QWidget;

// A message box for each damaged notes file the store has kept aside since
// the last call (each is shown once); to standard error while the session
// ends.
void ShowNotesDamage(QWidget* parent, CNoteStore& store);

// Watches the store's folder and calls onChange once a burst of changes by
// another writer has settled and the store took them in (CNoteStore::Refresh).
class CNotesWatcher : public QObject {
  Q_OBJECT
public:
  CNotesWatcher(CNoteStore* store, std::function<void()> onChange, QObject* parent = nullptr);

  // Watches the store's folder anew (after a change of folder).
  void Rewatch();
  // Refreshes the store now; what a settled change runs.
  void Check();

private:
  CNoteStore* m_store;
  std::function<void()> m_onChange;
  QFileSystemWatcher* m_watcher;
  QTimer m_settle;
};
