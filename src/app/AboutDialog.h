#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's name and version, and the machine's memory
// at the moment the box is opened.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    QLabel *bannerLabel = nullptr;
    QLabel *programNameLabel = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *physicalMemoryCaption = nullptr;
    QLabel *physicalMemoryLabel = nullptr;
    QLabel *memoryLoadCaption = nullptr;
    QLabel *memoryLoadLabel = nullptr;
    QPushButton *okButton = nullptr;

    // The memory figures as the labels show them.
    static QString physicalMemoryText(quint64 totalKb);
    static QString memoryLoadText(int percent);

private:
    void showMemory();
};
