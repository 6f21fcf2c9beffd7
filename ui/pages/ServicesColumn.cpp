#include "ServicesColumn.h"

#include "config/ChoiceLists.h"
#include "config/Numbering.h"
#include "ui/dialogs/LineCallBackTexts.h"
#include "ui/dialogs/ReadOnlyTexts.h"
#include "ui/editing/FieldBinding.h"
#include "ui/widgets/MaskedTimeEdit.h"
#include "ui/widgets/TypeScale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace ornis {

namespace {

// The smallest widths; a wider font widens the lists and the time fields as far as the
// column allows.
constexpr int BackRingWidth = 81;
constexpr int RedirectWidth = 41;
constexpr int TimeWidth = 33;

// A time field just wide enough for "00:00" and the cursor.
int timeFieldWidth(const MaskedTimeEdit &edit)
{
    constexpr int textMargins = 2 * 2 + 1;
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const QSize text(edit.fontMetrics().horizontalAdvance(QStringLiteral("00:00")) + textMargins,
        edit.fontMetrics().height());
    const int width
        = edit.style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, &edit).width();
    return std::max(typeScaled(TimeWidth, edit), width);
}

} // namespace

ServicesColumn::ServicesColumn(FieldBinding &binding, int extension, QWidget *parent)
    : QFrame(parent)
    , extension_(extension)
    , binding_(binding)
{
    using namespace ServicesRows;
    setFrameStyle(QFrame::Box | QFrame::Sunken);

    number_ = new QLabel(QStringLiteral(" %1 ").arg(extensionNumber(extension)), this);
    rows_[Number] = {number_};

    backRing_ = addList("cbBackRing", BackRingItemCount, true);
    binding_.bind(backRing_, {Field::BackRing, extension});
    connect(backRing_, &QComboBox::currentIndexChanged, this, &ServicesColumn::showBackRingHint);
    rows_[BackRing] = {backRing_};

    for (int p = 0; p < ParkingPositionCount; ++p) {
        QCheckBox *box = addBox(controlName("chbPark") + QStringLiteral("To%1").arg(p + 1),
            {Field::ParkTo, extension, p});
        // The exchange assigns the parking positions; the page only shows them.
        box->setEnabled(false);
        box->setToolTip(setAtExchangeHint());
        rows_[Parking].append(box);
    }

    redirect_ = addList("cbRedir", RedirectItemCount, false);
    binding_.bind(redirect_, {Field::Redirect, extension});
    redirectWhen_ = new QComboBox(this);
    redirectWhen_->setObjectName(controlName("cbRedirWhen"));
    for (const char *condition : redirectConditions())
        redirectWhen_->addItem(QString::fromLatin1(condition));
    binding_.bind(redirectWhen_, {Field::RedirectWhen, extension});
    rows_[Redirect] = {redirect_, redirectWhen_};

    for (int l = 0; l < LineCount; ++l) {
        const QString name = controlName("chbRing") + QStringLiteral("From%1").arg(lineNumber(l));
        rows_[Ringing].append(addBox(name, {Field::RingFrom, extension, l}));
    }

    alarmOnce_ = addTime("meAlarmOnce");
    binding_.bind(alarmOnce_, {Field::AlarmOnce, extension});
    slash_ = new QLabel(QStringLiteral("/"), this);
    alarmDaily_ = addTime("meAlarmDaily");
    binding_.bind(alarmDaily_, {Field::AlarmDaily, extension});
    rows_[Alarm] = {alarmOnce_, slash_, alarmDaily_};
}

QString ServicesColumn::controlName(const char *prefix) const
{
    return QLatin1String(prefix) + QString::number(extensionNumber(extension_));
}

QComboBox *ServicesColumn::addList(const char *prefix, int itemCount, bool withLines)
{
    auto *list = new QComboBox(this);
    list->setObjectName(controlName(prefix));
    for (int item = 0; item < itemCount; ++item)
        list->addItem(QString::fromStdString(serviceItemText(extension_, item, withLines)));
    if (withLines) {
        // Only the slant is set, so the items keep the list's font otherwise.
        QFont unusual;
        unusual.setItalic(true);
        for (int item = FirstBackRingLineItem; item < itemCount; ++item) {
            list->setItemData(item, lineCallBackHint(), Qt::ToolTipRole);
            list->setItemData(item, unusual, Qt::FontRole);
        }
    }
    return list;
}

QCheckBox *ServicesColumn::addBox(const QString &name, const FieldRef &ref)
{
    auto *box = new QCheckBox(this);
    box->setObjectName(name);
    binding_.bind(box, ref);
    return box;
}

MaskedTimeEdit *ServicesColumn::addTime(const char *prefix)
{
    auto *edit = new MaskedTimeEdit(this);
    edit->setObjectName(controlName(prefix));
    // Deleting every digit is how the user takes a wake-up call back.
    edit->setUnsetAllowed(true);
    connect(edit, &MaskedTimeEdit::refusedOnLeave, this, &ServicesColumn::timeRefused);
    return edit;
}

bool ServicesColumn::event(QEvent *event)
{
    const bool handled = QFrame::event(event);
    // The page is built before it joins the window, whose font then reaches it: arrange
    // once the font is final (polished before it shows), and again if it ever changes.
    const bool polished = testAttribute(Qt::WA_WState_Polished);
    switch (event->type()) {
    case QEvent::Polish:
        arrange();
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
        if (polished)
            arrange();
        break;
    default:
        break;
    }
    return handled;
}

void ServicesColumn::arrange()
{
    using namespace ServicesRows;
    setFixedSize(typeScaled(QSize(Width, BlockHeight), *this));
    backRing_->setFixedWidth(typeScaled(BackRingWidth, *this));
    for (QLabel *label : {number_, slash_})
        label->setFixedWidth(label->sizeHint().width());
    // The two redirection lists stand side by side inside the frame.
    const int half = (width() - 2 * frameWidth()) / 2;
    const int narrowest = typeScaled(RedirectWidth, *this);
    for (QComboBox *list : {redirect_, redirectWhen_})
        list->setFixedWidth(std::clamp(list->sizeHint().width(), narrowest, half));
    for (MaskedTimeEdit *edit : {alarmOnce_, alarmDaily_})
        edit->setFixedWidth(timeFieldWidth(*edit));
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    for (Row row : {Parking, Ringing}) {
        for (QWidget *box : rows_[row])
            box->setFixedWidth(indicator);
    }

    placeRow(Number, 0);
    placeRow(BackRing, 0);
    placeRow(Parking, 1);
    placeRow(Redirect, 0);
    placeRow(Ringing, 8);
    placeRow(Alarm, 2);
}

void ServicesColumn::placeRow(ServicesRows::Row row, int gap)
{
    const QList<QWidget *> &widgets = rows_[row];
    int total = gap * int(widgets.size() - 1);
    for (const QWidget *widget : widgets)
        total += widget->width();
    int x = std::max(0, (width() - total) / 2);
    const int top = typeScaled(ServicesRows::top(row), *this);
    const int height = typeScaled(ServicesRows::Height, *this);
    for (QWidget *widget : widgets) {
        widget->setGeometry(x, top, widget->width(), height);
        x += widget->width() + gap;
    }
}

void ServicesColumn::showBackRingHint(int item)
{
    backRing_->setToolTip(isLineCallBack(item) ? lineCallBackHint() : QString());
}

} // namespace ornis
