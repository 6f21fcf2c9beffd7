#include "DifferencesDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ornis {

namespace {

constexpr QSize TableSize {620, 360};

QTableWidget *differencesTable(
    const std::vector<Difference> &differences, const QString &leftTitle, QWidget *parent)
{
    auto *table = new QTableWidget(int(differences.size()), 4, parent);
    table->setObjectName(QStringLiteral("tbDifferences"));
    table->setHorizontalHeaderLabels({QStringLiteral("Blok"), QStringLiteral("Položka"), leftTitle,
        QStringLiteral("V ústředně")});
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    for (int row = 0; row < int(differences.size()); ++row) {
        const Difference &d = differences[std::size_t(row)];
        int column = 0;
        for (const QString &text : {d.block, d.item, d.left, d.right})
            table->setItem(row, column++, new QTableWidgetItem(text));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setMinimumSize(TableSize);
    return table;
}

} // namespace

DifferencesDialog::DifferencesDialog(
    const std::vector<Difference> &differences, QWidget *parent, Kind kind)
    : QDialog(parent)
{
    const bool verification = kind == Kind::Verification;
    setObjectName(QStringLiteral("DifferencesDialog"));
    setWindowTitle(
        verification ? QStringLiteral("Ověření zápisu") : QStringLiteral("Porovnání s ústřednou"));
    auto *layout = new QVBoxLayout(this);
    QString summary;
    if (verification)
        summary = differences.empty()
            ? QStringLiteral("Ústředna obsahuje to, co do ní bylo zapsáno.")
            : QStringLiteral("Položky, v nichž se ústředna liší od zapsaných dat: %1")
                  .arg(differences.size());
    else
        summary = differences.empty()
            ? QStringLiteral("Konfigurace v okně a v ústředně se shodují.")
            : QStringLiteral("Položky, v nichž se okno liší od ústředny: %1")
                  .arg(differences.size());
    layout->addWidget(new QLabel(summary, this));
    if (!differences.empty())
        layout->addWidget(differencesTable(differences,
            verification ? QStringLiteral("Zapsáno") : QStringLiteral("V okně"), this));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace ornis
