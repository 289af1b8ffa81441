// One running instance per user: the first start listens on a local socket
// named after its window title; a later start finds it there, asks it to
// come to the front and ends.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

class CSingleInstance : public QObject {
  Q_OBJECT
public:
  explicit CSingleInstance(const QString& title, QObject* parent = nullptr);
  ~CSingleInstance() override;

  // The socket's full path: in $XDG_RUNTIME_DIR, else in the temporary
  // folder with the user's id added.
  static QString SocketPath(const QString& title);

  // True when this is the first instance: it now listens (unless the socket
  // cannot be made), and onActivate runs whenever a later start knocks.
  // False when another instance runs; it has been asked to come to the front.
  bool Claim();
  bool IsListening() const;

  std::function<void()> onActivate;

private:
  bool Knock();
  void Accept();

  QString m_path;
  QLocalServer* m_server = nullptr;
};
