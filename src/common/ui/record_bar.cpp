#include "common/ui/record_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {

struct ButtonSpec
{
    RecordBar::Step step;
    const char *name;
    Qt::ArrowType arrow;
    const char *tip;
};

constexpr ButtonSpec kButtons[] = {
    {RecordBar::Step::First, "cmdFirst", Qt::UpArrow, "First record"},
    {RecordBar::Step::Previous, "cmdPrevious", Qt::LeftArrow, "Previous record"},
    {RecordBar::Step::Next, "cmdNext", Qt::RightArrow, "Next record"},
    {RecordBar::Step::Last, "cmdLast", Qt::DownArrow, "Last record"},
};

} // namespace

RecordBar::RecordBar(const QString &caption, QWidget *parent)
    : QWidget(parent), m_caption(new QLabel(caption, this))
{
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    m_caption->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_caption->setFrameShape(QFrame::StyledPanel);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const ButtonSpec &entry = kButtons[i];
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setArrowType(entry.arrow);
        button->setToolTip(tr(entry.tip));
        button->setAccessibleName(tr(entry.tip));
        connect(button, &QToolButton::clicked, this,
                [this, step = entry.step] { emit stepRequested(step); });
        m_buttons[i] = button;
    }
    layout->addWidget(m_buttons[0]);
    layout->addWidget(m_buttons[1]);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_buttons[2]);
    layout->addWidget(m_buttons[3]);
    setPlace(-1, 0);
}

QString RecordBar::caption() const
{
    return m_caption->text();
}

void RecordBar::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}

void RecordBar::setPlace(int position, int rowCount)
{
    m_position = position;
    m_rowCount = rowCount;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const int to = target(kButtons[i].step);
        m_buttons[i]->setEnabled(to >= 0 && to != m_position);
    }
}

int RecordBar::target(Step step) const
{
    if (m_rowCount == 0)
        return -1;
    switch (step) {
    case Step::First:
        return 0;
    case Step::Previous:
        return m_position > 0 ? qMin(m_position, m_rowCount) - 1 : -1;
    case Step::Next:
        return m_position >= 0 && m_position + 1 < m_rowCount ? m_position + 1 : -1;
    case Step::Last:
        return m_rowCount - 1;
    }
    return -1;
}
