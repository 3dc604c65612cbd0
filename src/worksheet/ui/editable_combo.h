#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

// An editable combo of the worksheet: it takes free text besides its list,
// text typed is never added to the list, and completion from the list keeps
// the letter case as typed.
//
// A window holds many of these, and most are never touched in a deal, so a
// combo's list popup and its completer are built only when first needed: the
// popup when it is first opened, the completer the first time the combo takes
// the focus or a key, before the key is handled. Typing completes as it would
// with a completer built at once.
QComboBox *makeEditableCombo(QWidget *parent, const QString &name, const QStringList &items);
