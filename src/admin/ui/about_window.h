#pragma once

#include <QDialog>

// frmAbout: the program's name, version and purpose. Modeless; OK closes it.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);
};
