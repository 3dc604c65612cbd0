#pragma once

#include <QDialog>

// frmAbout: the program's name, version and purpose, and the folder that
// holds its files. Modeless; OK closes it.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    // `databaseNote`, when given, says where the deals are kept on a server
    // and whether the connection to it is encrypted.
    explicit AboutWindow(const QString &dataFolder, const QString &databaseNote = {},
                         QWidget *parent = nullptr);
};
