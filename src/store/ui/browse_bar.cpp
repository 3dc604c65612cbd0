#include "browse_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {

QToolButton *button(QWidget *parent, const char *name, Qt::ArrowType arrow, const QString &tip)
{
    auto *result = new QToolButton(parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setArrowType(arrow);
    result->setToolTip(tip);
    result->setAccessibleName(tip);
    return result;
}

} // namespace

BrowseBar::BrowseBar(QWidget *parent)
    : QWidget(parent), m_first(button(this, "cmdFirst", Qt::UpArrow, tr("First record"))),
      m_previous(button(this, "cmdPrevious", Qt::LeftArrow, tr("Previous record"))),
      m_next(button(this, "cmdNext", Qt::RightArrow, tr("Next record"))),
      m_last(button(this, "cmdLast", Qt::DownArrow, tr("Last record"))), m_caption(new QLabel(this))
{
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setFrameShape(QFrame::StyledPanel);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_first);
    layout->addWidget(m_previous);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_next);
    layout->addWidget(m_last);

    connect(m_first, &QToolButton::clicked, this, &BrowseBar::moveFirst);
    connect(m_previous, &QToolButton::clicked, this, &BrowseBar::movePrevious);
    connect(m_next, &QToolButton::clicked, this, &BrowseBar::moveNext);
    connect(m_last, &QToolButton::clicked, this, &BrowseBar::moveLast);
    updateButtons();
}

QString BrowseBar::caption() const
{
    return m_caption->text();
}

void BrowseBar::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}

void BrowseBar::setRowCount(int count)
{
    m_rowCount = qMax(0, count);
    m_position = -2; // so that the move below always reports its position
    moveTo(m_rowCount > 0 ? 0 : -1);
}

void BrowseBar::moveFirst()
{
    if (m_rowCount > 0)
        moveTo(0);
}

void BrowseBar::movePrevious()
{
    if (m_position > 0)
        moveTo(m_position - 1);
}

void BrowseBar::moveNext()
{
    if (m_position >= 0 && m_position + 1 < m_rowCount)
        moveTo(m_position + 1);
}

void BrowseBar::moveLast()
{
    if (m_rowCount > 0)
        moveTo(m_rowCount - 1);
}

void BrowseBar::moveTo(int position)
{
    const bool changed = position != m_position;
    m_position = position;
    updateButtons();
    if (changed)
        emit positionChanged(m_position);
}

void BrowseBar::updateButtons()
{
    m_first->setEnabled(m_position > 0);
    m_previous->setEnabled(m_position > 0);
    m_next->setEnabled(m_position >= 0 && m_position + 1 < m_rowCount);
    m_last->setEnabled(m_position >= 0 && m_position + 1 < m_rowCount);
}
