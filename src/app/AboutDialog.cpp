#include "app/AboutDialog.h"

#include "model/platform/MemoryStatus.h"
#include "model/NumberFormat.h"
#include "ui/Artwork.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("О программе"));
    setFixedSize(480, 274);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 10);
    column->setSpacing(6);

    bannerLabel = new QLabel(this);
    bannerLabel->setFixedSize(480, 127);
    bannerLabel->setPixmap(Artwork::aboutBanner(QSize(480, 127)));
    column->addWidget(bannerLabel);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(20, 4, 20, 0);
    grid->setHorizontalSpacing(10);
    programNameLabel = new QLabel(QStringLiteral("Расчёты Велтра-Норлекс"), this);
    QFont bold = programNameLabel->font();
    bold.setBold(true);
    programNameLabel->setFont(bold);
    versionLabel = new QLabel(this);
    grid->addWidget(programNameLabel, 0, 0);
    grid->addWidget(versionLabel, 0, 1);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 1, 0, 1, 2);
    physicalMemoryCaption = new QLabel(QStringLiteral("Доступно физической памяти:"), this);
    physicalMemoryLabel = new QLabel(this);
    memoryLoadCaption = new QLabel(QStringLiteral("Используемая память:"), this);
    memoryLoadLabel = new QLabel(this);
    grid->addWidget(physicalMemoryCaption, 2, 0);
    grid->addWidget(physicalMemoryLabel, 2, 1);
    grid->addWidget(memoryLoadCaption, 3, 0);
    grid->addWidget(memoryLoadLabel, 3, 1);
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    column->addStretch(1);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(okButton, 0, Qt::AlignHCenter);

    showMemory();
}

void AboutDialog::showMemory()
{
    const MemoryStatus memory = MemoryStatus::current();
    physicalMemoryLabel->setText(physicalMemoryText(memory.totalKb));
    memoryLoadLabel->setText(memoryLoadText(memory.loadPercent));
}

QString AboutDialog::physicalMemoryText(quint64 totalKb)
{
    return NumberFormat::format(QStringLiteral("#,### KB"), double(totalKb));
}

QString AboutDialog::memoryLoadText(int percent)
{
    return QStringLiteral("%1 %").arg(percent);
}
