#include "ServicesPage.h"

#include "config/Numbering.h"
#include "ui/dialogs/ReadOnlyTexts.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/pages/ServicesColumn.h"
#include "ui/pages/ServicesRows.h"
#include "ui/widgets/MaskedTimeEdit.h"
#include "ui/widgets/TypeScale.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ornis {

namespace {

constexpr int TopStripHeight = 32;
constexpr int ColumnsPerBlock = 4;
constexpr int ColumnDistance = 104;
constexpr int BlockDistance = 160;
constexpr int LabelGap = 6;

// The row labels, in the order of ServicesRows::Row.
const char *const RowLabels[ServicesRows::Count] = {
    "Pobočka číslo:",
    "Zpětné vyzvánění:",
    "Parkování (1..6):",
    "Přesměrování:",
    "Vyzvánění (91..94):",
    "Buzení jednou/denně:",
};

} // namespace

ServicesPage::ServicesPage(ConfigEditor &editor, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , dialogs_(dialogs)
    , binding_(editor)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildTopStrip());
    layout->addWidget(buildSheets(), 1);
}

QWidget *ServicesPage::buildTopStrip()
{
    auto *strip = new QWidget(this);
    strip->setFixedHeight(typeScaled(TopStripHeight, *this));
    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(6);

    auto *blockRedirectLabel = new QLabel(QStringLiteral("Blokování přesměrování:"), strip);
    blockRedirectLabel->setToolTip(setAtExchangeHint());
    layout->addWidget(blockRedirectLabel);
    auto *blockRedirect = new QCheckBox(strip);
    blockRedirect->setObjectName(QStringLiteral("chbBlockRedir"));
    // Only the exchange sets it; the page shows what the last read delivered.
    blockRedirect->setEnabled(false);
    blockRedirect->setToolTip(setAtExchangeHint());
    binding_.bind(blockRedirect, {Field::BlockRedirect});
    layout->addWidget(blockRedirect);
    layout->addSpacing(24);

    layout->addWidget(new QLabel(QStringLiteral("Generální vyzvánění:"), strip));
    auto *frame = new QFrame(strip);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto *lines = new QHBoxLayout(frame);
    lines->setContentsMargins(8, 2, 8, 2);
    lines->setSpacing(12);
    for (int l = 0; l < LineCount; ++l) {
        auto *box = new QCheckBox(QString::number(lineNumber(l)), frame);
        box->setObjectName(QStringLiteral("chbGenRing%1").arg(lineNumber(l)));
        // The caption stands left of the box.
        box->setLayoutDirection(Qt::RightToLeft);
        binding_.bind(box, {Field::GeneralRing, l});
        lines->addWidget(box);
    }
    layout->addWidget(frame, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    return strip;
}

QTabWidget *ServicesPage::buildSheets()
{
    auto *sheets = new QTabWidget(this);
    sheets->setObjectName(QStringLiteral("pcServices"));
    sheets->setTabPosition(QTabWidget::West);
    sheets->tabBar()->setUsesScrollButtons(false);
    sheets->addTab(buildSheet("tsLine2x", 0), QStringLiteral("21-28"));
    sheets->addTab(buildSheet("tsLine3x", 8), QStringLiteral("31-38"));
    return sheets;
}

QWidget *ServicesPage::buildSheet(const char *name, int firstExtension)
{
    auto *sheet = new QWidget(this);
    sheet->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(typeScaled(BlockDistance - ServicesRows::BlockHeight, *this));
    layout->addWidget(buildBlock(firstExtension, sheet));
    layout->addWidget(buildBlock(firstExtension + ColumnsPerBlock, sheet));
    layout->addStretch(1);
    return sheet;
}

QWidget *ServicesPage::buildBlock(int firstExtension, QWidget *sheet)
{
    const auto scaled = [this](int pixels) { return typeScaled(pixels, *this); };
    auto *block = new QWidget(sheet);
    auto *layout = new QHBoxLayout(block);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(scaled(ColumnDistance) - scaled(ServicesColumn::Width));

    // The labels stand at the heights of the rows inside the columns' frames.
    auto *labels = new QWidget(block);
    auto *rows = new QVBoxLayout(labels);
    const int margin = scaled(ServicesRows::TopMargin);
    rows->setContentsMargins(0, margin, LabelGap, margin);
    rows->setSpacing(scaled(ServicesRows::Spacing) - scaled(ServicesRows::Height));
    for (int row = 0; row < ServicesRows::Count; ++row) {
        auto *label = new QLabel(QString::fromUtf8(RowLabels[row]), labels);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (row == ServicesRows::Parking)
            label->setToolTip(setAtExchangeHint());
        label->setFixedHeight(scaled(ServicesRows::Height));
        rows->addWidget(label);
    }
    layout->addWidget(labels);

    for (int extension = firstExtension; extension < firstExtension + ColumnsPerBlock;
         ++extension) {
        auto *column = new ServicesColumn(binding_, extension, block);
        connect(column, &ServicesColumn::timeRefused, this,
            [this] { dialogs_.showError(this, MaskedTimeEdit::InvalidInputMessage); });
        layout->addWidget(column);
    }
    layout->addStretch(1);
    return block;
}

void ServicesPage::storeEdits()
{
    binding_.commitTyped();
}

void ServicesPage::showValues(const FieldRange &range)
{
    binding_.show(range);
}

} // namespace ornis
