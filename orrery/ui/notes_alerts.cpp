#include "orrery/ui/notes_alerts.h"

#include "orrery/notes/note_store.h"
#include "orrery/res/resource.h"
#include "platform/strings.h"
#include "platform/ui/ids.h"
#include "platform/ui/session_end.h"
#include "platform/ui/shell.h"
#include "platform/ui/text.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <cstdio>

namespace {
const int kSettleMs = 150;
}

void ShowNotesDamage(QWidget* parent, CNoteStore& store) {
  for (const CNoteStore::Damage& damage : store.TakeDamageReports()) {
    if (CSessionEnd::IsEnding()) {
      std::fprintf(stderr, "Orrery: the notes file '%s' could not be read; it was kept as '%s'\n",
                   damage.file.c_str(), damage.keptAs.c_str());
      continue;
    }
    const QString text =
        ToQ(LoadString(IDS_NOTES_FILE_DAMAGED)).arg(ToQ(damage.file), ToQ(damage.keptAs));
    AfxMessageBox(parent, text, MB_ICONWARNING, ToQ(LoadString(IDS_APP_TITLE)));
  }
}

CNotesWatcher::CNotesWatcher(CNoteStore* store, std::function<void()> onChange, QObject* parent)
    : QObject(parent), m_store(store), m_onChange(std::move(onChange)),
      m_watcher(new QFileSystemWatcher(this)) {
  m_settle.setSingleShot(true);
  m_settle.setInterval(kSettleMs);
  connect(&m_settle, &QTimer::timeout, this, &CNotesWatcher::Check);
  // Saves rename a new file over the old one, which changes the folder.
  connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(); });
  Rewatch();
}

void CNotesWatcher::Rewatch() {
  if (!m_watcher->directories().isEmpty()) m_watcher->removePaths(m_watcher->directories());
  if (!m_watcher->files().isEmpty()) m_watcher->removePaths(m_watcher->files());
  if (!m_store || !m_store->HasDirectory()) return;
  const QString dir = ToQ(m_store->GetDirectory());
  if (QFileInfo(dir).isDir()) m_watcher->addPath(dir);
}

void CNotesWatcher::Check() {
  if (!m_store) return;
  if (m_store->Refresh() && m_onChange) m_onChange();
}
