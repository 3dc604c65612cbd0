#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// A browse bar for a list of rows: first, previous, next and last buttons
// around a caption. It keeps the current position (-1 when there are no
// rows); its owner sets the caption and shows the row at the position.
class BrowseBar : public QWidget
{
    Q_OBJECT

public:
    explicit BrowseBar(QWidget *parent = nullptr);

    QString caption() const;
    void setCaption(const QString &caption);

    // Sets the number of rows and moves to the first one.
    void setRowCount(int count);
    int rowCount() const { return m_rowCount; }
    int position() const { return m_position; }

public slots:
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

signals:
    void positionChanged(int position);

private:
    void moveTo(int position);
    void updateButtons();

    QToolButton *m_first;
    QToolButton *m_previous;
    QToolButton *m_next;
    QToolButton *m_last;
    QLabel *m_caption;
    int m_rowCount = 0;
    int m_position = -1;
};
