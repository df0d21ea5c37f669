#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's name and version, and the machine's memory
// at the moment the box is opened.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);

    QLabel *ProgramIcon = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *LabelVer = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *PhysMem = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *FreeRes = nullptr;
    QPushButton *OKButton = nullptr;

    // The memory figures as the labels show them.
    static QString physicalMemoryText(quint64 totalKb);
    static QString memoryLoadText(int percent);

private:
    void FormCreate();
};
