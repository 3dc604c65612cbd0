#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QToolButton;

// The browse bar of a record-at-a-time window: first, previous, next and
// last buttons (cmdFirst, cmdPrevious, cmdNext, cmdLast) around a caption
// (lblCaption). The bar only asks to move; the window
// decides whether it may leave the record shown (a change that cannot be
// written keeps it there) and then tells the bar where it stands.
class RecordBar : public QWidget
{
    Q_OBJECT

public:
    enum class Step { First, Previous, Next, Last };

    explicit RecordBar(const QString &caption, QWidget *parent = nullptr);

    QString caption() const;
    void setCaption(const QString &caption);
    // Where the window stands: a row of `rowCount`, -1 for none, rowCount
    // for a new row after the last.
    void setPlace(int position, int rowCount);
    // The position a step leads to from the place last set; -1 for none.
    int target(Step step) const;

signals:
    void stepRequested(RecordBar::Step step);

private:
    QLabel *m_caption;
    std::array<QToolButton *, 4> m_buttons{};
    int m_position = -1;
    int m_rowCount = 0;
};
