#include "app/reabout.h"

#include "app/MemoryStatus.h"
#include "model/NumberFormat.h"
#include "ui/Artwork.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
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

    ProgramIcon = new QLabel(this);
    ProgramIcon->setFixedSize(480, 127);
    ProgramIcon->setPixmap(Artwork::aboutBanner(QSize(480, 127)));
    column->addWidget(ProgramIcon);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(20, 4, 20, 0);
    grid->setHorizontalSpacing(10);
    Label1 = new QLabel(QStringLiteral("Расчёты Велтра-Норлекс"), this);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    LabelVer = new QLabel(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(LabelVer, 0, 1);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 1, 0, 1, 2);
    Label3 = new QLabel(QStringLiteral("Доступно физической памяти:"), this);
    PhysMem = new QLabel(this);
    Label4 = new QLabel(QStringLiteral("Используемая память:"), this);
    FreeRes = new QLabel(this);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(PhysMem, 2, 1);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(FreeRes, 3, 1);
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    column->addStretch(1);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(OKButton, 0, Qt::AlignHCenter);

    FormCreate();
}

void TAboutBox::FormCreate()
{
    const MemoryStatus memory = MemoryStatus::current();
    PhysMem->setText(physicalMemoryText(memory.totalKb));
    FreeRes->setText(memoryLoadText(memory.loadPercent));
}

QString TAboutBox::physicalMemoryText(quint64 totalKb)
{
    return NumberFormat::format(QStringLiteral("#,### KB"), double(totalKb));
}

QString TAboutBox::memoryLoadText(int percent)
{
    return QStringLiteral("%1 %").arg(percent);
}
