#include "worksheet/ui/editable_combo.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>

namespace {

// Gives its combo the completer on the first event that may need one, then
// goes away.
class CompleterOnDemand : public QObject
{
public:
    explicit CompleterOnDemand(QComboBox *combo) : QObject(combo), m_combo(combo)
    {
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
            attach();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void attach()
    {
        m_combo->removeEventFilter(this);
        if (QLineEdit *line = m_combo->lineEdit()) {
            line->removeEventFilter(this);
            auto *completer = new QCompleter(m_combo->model(), line);
            completer->setCaseSensitivity(Qt::CaseSensitive);
            completer->setCompletionMode(QCompleter::InlineCompletion);
            completer->setCompletionColumn(m_combo->modelColumn());
            m_combo->setCompleter(completer);
        }
        deleteLater();
    }

    QComboBox *m_combo;
};

// Stands in as the completer of every combo not yet given its own, so that
// the combo does not build a default one when it becomes editable. It has no
// list and is never consulted: the real completer replaces it before the
// combo handles its first focus or key.
QCompleter *standIn()
{
    static QPointer<QCompleter> completer;
    if (!completer)
        completer = new QCompleter(qApp);
    return completer;
}

} // namespace

QComboBox *makeEditableCombo(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    // An own line edit, rather than setEditable(), which would build the list
    // popup and a completer at once.
    auto *line = new QLineEdit(combo);
    line->setPalette(combo->palette());
    line->setCompleter(standIn());
    combo->setLineEdit(line);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    new CompleterOnDemand(combo);
    return combo;
}
