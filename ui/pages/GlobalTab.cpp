#include "GlobalTab.h"

#include "config/Counters.h"
#include "config/ExchangeConfig.h"
#include "config/ListTexts.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/CounterSpinBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
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

// The combo box index that shows a model list index: none when the list has no entry.
int shownIndex(const QComboBox &box, int index)
{
    return index >= 0 && index < box.count() ? index : -1;
}

QComboBox *makeChoice(
    QWidget *parent, const QString &name, std::span<const char *const> items, int width)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    for (const char *item : items)
        box->addItem(QString::fromLatin1(item));
    box->setFixedWidth(width);
    return box;
}

} // namespace

GlobalTab::GlobalTab(
    ExchangeConfig &config, CellGrid *lineGrid, CellGrid *extensionGrid, QWidget *parent)
    : QWidget(parent)
    , config_(config)
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
    for (int u = 0; u < int(config_.G7U.size()); ++u) {
        QComboBox *box
            = makeChoice(parent, QStringLiteral("cbU%1").arg(u + 1), g7Choices(), ChoiceWidth);
        addCaptioned(line, QStringLiteral("U%1").arg(u + 1), box);
        line->addSpacing(4);
        connect(box, &QComboBox::activated, this,
            [this, u](int index) { config_.G7U[std::size_t(u)] = index; });
        cbU_.append(box);
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
        connect(
            box, &QCheckBox::toggled, this, [this, day](bool on) { config_.G0Days[day] = on; });
        weekdays_.append(box);
    }
}

void GlobalTab::addG5(QGridLayout *layout, int row)
{
    QWidget *parent = layout->parentWidget();
    QHBoxLayout *line = addParameterRow(layout, row, QStringLiteral("G5:"));
    cbFax_ = makeChoice(parent, QStringLiteral("cbFax"), faxChoices(), FaxWidth);
    addCaptioned(line, QStringLiteral("F/M"), cbFax_);
    connect(
        cbFax_, &QComboBox::activated, this, [this](int index) { config_.FaxExtension = index; });
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
        counter->setFixedWidth(CounterWidth);
        auto *caption = new QLabel(QStringLiteral("C%1").arg(c), row);
        caption->setBuddy(counter);
        layout->addWidget(caption, 0, c + 1, Qt::AlignHCenter);
        layout->addWidget(counter, 1, c + 1);
        connect(counter, &QSpinBox::valueChanged, this,
            [this, c](int value) { config_.Counters[std::size_t(c)] = int16_t(value); });
        counters_.append(counter);
    }
    return row;
}

void GlobalTab::refresh()
{
    // Called for every counter, weekday and choice byte a read brings: controls that show
    // their value already are left alone.
    for (qsizetype u = 0; u < cbU_.size(); ++u)
        cbU_[u]->setCurrentIndex(shownIndex(*cbU_[u], config_.G7U[std::size_t(u)]));
    for (qsizetype day = 0; day < weekdays_.size(); ++day)
        weekdays_[day]->setChecked(config_.G0Days[std::size_t(day)]);
    cbFax_->setCurrentIndex(shownIndex(*cbFax_, config_.FaxExtension));
    for (qsizetype c = 0; c < counters_.size(); ++c) {
        // The counter's control holds the value: one beyond its range (from a file) becomes
        // the nearest limit, which is also what a write would send.
        int16_t &value = config_.Counters[std::size_t(c)];
        value = CounterRanges[std::size_t(c)].clamp(value);
        if (counters_[c]->value() != value) {
            const QSignalBlocker quiet(counters_[c]);
            counters_[c]->setValue(value);
        }
    }
}

} // namespace ornis
