#pragma once

#include <QDialog>

// frmAbout: the program's name, version and purpose, and the folder that
// holds its files. Modeless; OK closes it.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(const QString &dataFolder, QWidget *parent = nullptr);
};
