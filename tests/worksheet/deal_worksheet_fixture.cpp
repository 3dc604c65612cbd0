#include "deal_worksheet_fixture.h"

#include <QApplication>
#include <QTest>

DealWorksheet &DealWorksheetTest::start()
{
    form = std::make_unique<DealWorksheet>(dir.folder(), prompts);
    form->startUp();
    return *form;
}

void DealWorksheetTest::showActive()
{
    form->show();
    QApplication::setActiveWindow(form.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void DealWorksheetTest::moveFocusTo(QWidget *next)
{
    next->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
}

QWidget *DealWorksheetTest::focusedControl() const
{
    QWidget *focused = QApplication::focusWidget();
    // An editable combo's line edit stands for the combo.
    if (focused && qobject_cast<QComboBox *>(focused->parentWidget()))
        return focused->parentWidget();
    return focused;
}

QString DealWorksheetTest::text(const QString &name) const
{
    QWidget *w = control(name);
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *l = qobject_cast<QLineEdit *>(w))
        return l->text();
    return w ? w->property("text").toString() : QString();
}

void DealWorksheetTest::activateAnotherWindowAndReturn()
{
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(form.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QCoreApplication::processEvents();
}
