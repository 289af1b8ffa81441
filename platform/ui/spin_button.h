// An up-down control: two arrow buttons that step a position within a range
// and write it into a buddy edit as an integer.
#pragma once

#include <QWidget>

#include <functional>

class QLineEdit;
class QToolButton;

class CSpinButton : public QWidget {
  Q_OBJECT
public:
  explicit CSpinButton(QWidget* parent = nullptr);

  void SetBuddy(QLineEdit* buddy) { m_buddy = buddy; }
  QLineEdit* GetBuddy() const { return m_buddy; }
  void SetRange(int minimum, int maximum);
  void GetRange(int& minimum, int& maximum) const;
  void SetPos(int pos);
  // The position, read back from the buddy when there is one.
  int GetPos() const;
  // One step up (+1) or down (-1), as the arrows and arrow keys do.
  void Step(int delta);

  // Called after a step changed the position (the vertical-scroll message),
  // and after a mouse click on the control (the click notification).
  std::function<void()> onScroll;
  std::function<void()> onClick;

protected:
  void keyPressEvent(QKeyEvent* event) override;

private:
  QToolButton* m_up;
  QToolButton* m_down;
  QLineEdit* m_buddy = nullptr;
  int m_min = 0, m_max = 100, m_pos = 0;
};
