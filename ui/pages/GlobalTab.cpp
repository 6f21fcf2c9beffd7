#include "GlobalTab.h"

#include "config/ChoiceLists.h"
#include "config/Counters.h"
#include "config/ExchangeConfig.h"
#include "ui/editing/FieldBinding.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/CounterSpinBox.h"
#include "ui/widgets/TypeScale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <array>
#include <span>

namespace ornis {

namespace {

struct Weekday
{
    const char *name;
    const char *caption;
};
// In the order of G0Days: Sunday first.
constexpr std::array<Weekday, WeekdayCount> Weekdays {{
    {"cbxSu", "Ne"},
    {"cbxMo", "Po"},
    {"cbxTu", "Út"},
    {"cbxWe", "St"},
    {"cbxTh", "Čt"},
    {"cbxFr", "Pá"},
    {"cbxSa", "So"},
}};

constexpr int ChoiceWidth = 50;
constexpr int FaxWidth = 54;
constexpr int CounterWidth = 46;

QComboBox *makeChoice(
    QWidget *parent, const QString &name, std::span<const char *const> items, int width)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    for (const char *item : items)
        box->addItem(QString::fromLatin1(item));
    box->setFixedWidth(typeScaled(width, *parent));
    return box;
}

} // namespace

GlobalTab::GlobalTab(
    FieldBinding &binding, CellGrid *lineGrid, CellGrid *extensionGrid, QWidget *parent)
    : QWidget(parent)
    , binding_(binding)
{
    auto *top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(lineGrid, 0, Qt::AlignTop);
    top->addWidget(buildChoices(), 0, Qt::AlignTop);
    top->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(extensionGrid, 0, Qt::AlignLeft);
    layout->addWidget(buildCounters(), 0, Qt::AlignLeft);
    layout->addStretch();
}

QWidget *GlobalTab::buildChoices()
{
    auto *choices = new QWidget(this);
    auto *layout = new QGridLayout(choices);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(4);
    addG7(layout, 0);
    addG0(layout, 1);
    addG5(layout, 2);
    layout->setColumnStretch(layout->columnCount(), 1);
    return choices;
}

QHBoxLayout *GlobalTab::addParameterRow(QGridLayout *layout, int row, const QString &label)
{
    layout->addWidget(new QLabel(label, layout->parentWidget()), row, 0);
    auto *line = new QHBoxLayout;
    line->setSpacing(4);
    layout->addLayout(line, row, 1, Qt::AlignLeft);
    return line;
}

void GlobalTab::addCaptioned(QHBoxLayout *line, const QString &caption, QWidget *control)
{
    auto *label = new QLabel(caption, control->parentWidget());
    label->setBuddy(control);
    line->addWidget(label);
    line->addWidget(control);
}

void GlobalTab::addG7(QGridLayout *layout, int row)
{
    QWidget *parent = layout->parentWidget();
    QHBoxLayout *line = addParameterRow(layout, row, QStringLiteral("G7:"));
    for (int u = 0; u < int(std::tuple_size_v<decltype(ExchangeConfig::G7U)>); ++u) {
        QComboBox *box
            = makeChoice(parent, QStringLiteral("cbU%1").arg(u + 1), g7Choices(), ChoiceWidth);
        addCaptioned(line, QStringLiteral("U%1").arg(u + 1), box);
        line->addSpacing(4);
        binding_.bind(box, {Field::G7U, u});
    }
}

void GlobalTab::addG0(QGridLayout *layout, int row)
{
    QWidget *parent = layout->parentWidget();
    QHBoxLayout *line = addParameterRow(layout, row, QStringLiteral("G0:"));
    line->setSpacing(6);
    for (std::size_t day = 0; day < Weekdays.size(); ++day) {
        auto *box = new QCheckBox(QString::fromUtf8(Weekdays[day].caption), parent);
        box->setObjectName(QLatin1String(Weekdays[day].name));
        line->addWidget(box);
        binding_.bind(box, {Field::G0Day, int(day)});
    }
}

void GlobalTab::addG5(QGridLayout *layout, int row)
{
    QWidget *parent = layout->parentWidget();
    QHBoxLayout *line = addParameterRow(layout, row, QStringLiteral("G5:"));
    QComboBox *fax = makeChoice(parent, QStringLiteral("cbFax"), faxChoices(), FaxWidth);
    addCaptioned(line, QStringLiteral("F/M"), fax);
    binding_.bind(fax, {Field::FaxExtension});
}

QWidget *GlobalTab::buildCounters()
{
    auto *row = new QWidget(this);
    auto *layout = new QGridLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(1);
    layout->addWidget(new QLabel(QStringLiteral("GG:"), row), 1, 0);
    for (int c = 0; c < CounterCount; ++c) {
        auto *counter = new CounterSpinBox(
            QStringLiteral("udC%1").arg(c), QStringLiteral("edC%1").arg(c), row);
        const CounterRange &range = CounterRanges[std::size_t(c)];
        counter->setRange(range.minimum, range.maximum);
        counter->setFixedWidth(typeScaled(CounterWidth, *this));
        auto *caption = new QLabel(QStringLiteral("C%1").arg(c), row);
        caption->setBuddy(counter);
        layout->addWidget(caption, 0, c + 1, Qt::AlignHCenter);
        layout->addWidget(counter, 1, c + 1);
        binding_.bind(counter, {Field::Counter, c});
    }
    return row;
}

} // namespace ornis
