#include "DialRow.h"

#include "ui/widgets/DialNumberEdit.h"
#include "ui/widgets/Windows1250Validator.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <limits>

namespace ornis {

QString DialRow::controlName(const char *prefix, DialTable table, int k)
{
    return QStringLiteral("%1%2%3")
        .arg(QLatin1String(prefix),
            table == DialTable::ShortDials ? QLatin1String("Templ") : QLatin1String("PETempl"))
        .arg(k);
}

DialRow::DialRow(DialTable table, int k, QWidget *parent)
    : label_(new QLabel(parent))
    , line_(new QComboBox(parent))
    , number_(new DialNumberEdit(parent))
{
    label_->setObjectName(controlName("lbl", table, k));
    line_->setObjectName(controlName("cb", table, k));
    number_->setObjectName(controlName("med", table, k));
    for (const char *entry : dialLines(table))
        line_->addItem(QString::fromLatin1(entry));
    if (table != DialTable::ShortDials)
        return;
    comment_ = new QLineEdit(parent);
    comment_->setObjectName(controlName("ed", table, k));
    // A comment is kept as long as it is, whatever a file brought.
    comment_->setMaxLength(std::numeric_limits<int>::max());
    comment_->setValidator(new Windows1250Validator(comment_));
    QPalette grey = comment_->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    comment_->setPalette(grey);
}

} // namespace ornis
