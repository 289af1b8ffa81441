#include "platform/ui/spin_button.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

CSpinButton::CSpinButton(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
  setFocusPolicy(Qt::StrongFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton* b : {m_up, m_down}) {
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    layout->addWidget(b);
  }
  m_up->setArrowType(Qt::UpArrow);
  m_down->setArrowType(Qt::DownArrow);
  connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
  connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
  for (QToolButton* b : {m_up, m_down})
    connect(b, &QToolButton::released, this, [this] {
      if (onClick) onClick();
    });
}

void CSpinButton::SetRange(int minimum, int maximum) {
  m_min = minimum;
  m_max = maximum;
}

void CSpinButton::GetRange(int& minimum, int& maximum) const {
  minimum = m_min;
  maximum = m_max;
}

void CSpinButton::SetPos(int pos) {
  m_pos = std::clamp(pos, std::min(m_min, m_max), std::max(m_min, m_max));
  if (m_buddy) m_buddy->setText(QString::number(m_pos));
}

int CSpinButton::GetPos() const {
  if (m_buddy) {
    bool ok = false;
    const int value = m_buddy->text().toInt(&ok);
    if (ok) return value;
  }
  return m_pos;
}

void CSpinButton::Step(int delta) {
  const int before = GetPos();
  SetPos(before + delta);
  if (m_pos != before && onScroll) onScroll();
}

void CSpinButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    Step(1);
  } else if (event->key() == Qt::Key_Down) {
    Step(-1);
  } else {
    QWidget::keyPressEvent(event);
  }
}
