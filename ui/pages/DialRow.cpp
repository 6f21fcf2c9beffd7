#include "DialRow.h"

#include "common/Windows1250.h"
#include "ui/widgets/DialNumberEdit.h"
#include "ui/widgets/Windows1250Validator.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <limits>

namespace ornis {

namespace {

// Every byte has a character in the model's code page, so a model text always shows.
QString shown(const Text &text)
{
    return fromWindows1250(text).value_or(QString());
}

// A field needs showing anew when the model holds something else than it shows or the
// user has edited it; either way it shows the model from then on.
bool needsFill(const Text &text, Text &shownText, bool &edited)
{
    if (!edited && text == shownText)
        return false;
    shownText = text;
    edited = false;
    return true;
}

// Takes what the user typed into `target`; a field the user did not edit leaves the
// model's text as it is, with every byte.
void storeText(const QString &typed, Text &target, Text &shownText, bool &edited)
{
    if (!edited)
        return;
    // The field takes only characters of the code page; were one not, the field stays
    // edited rather than lose it.
    if (const std::optional<Text> bytes = toWindows1250(typed)) {
        target = *bytes;
        shownText = target;
        edited = false;
    }
}

} // namespace

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
    , lineCount_(int(dialLines(table).size()))
{
    label_->setObjectName(controlName("lbl", table, k));
    line_->setObjectName(controlName("cb", table, k));
    number_->setObjectName(controlName("med", table, k));
    for (const char *entry : dialLines(table))
        line_->addItem(QString::fromLatin1(entry));
    QObject::connect(line_, &QComboBox::activated, line_, [this] { lineEdited_ = true; });
    QObject::connect(number_, &QLineEdit::textEdited, number_, [this] { numberEdited_ = true; });
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
    QObject::connect(
        comment_, &QLineEdit::textEdited, comment_, [this] { commentEdited_ = true; });
}

void DialRow::fill(const ShortDialRecord &record)
{
    fillLine(record.Line);
    fillNumber(record.Number);
    fillComment(record.Comment);
}

void DialRow::fill(const PERecord &record)
{
    fillLine(record.Line);
    fillNumber(record.Number);
}

void DialRow::store(ShortDialRecord &record)
{
    storeLine(record.Line);
    storeNumber(record.Number);
    storeComment(record.Comment);
}

void DialRow::store(PERecord &record)
{
    storeLine(record.Line);
    storeNumber(record.Number);
}

void DialRow::fillLine(int32_t line)
{
    if (!lineEdited_ && line == shownLine_)
        return;
    // A line beyond the list (a read may bring one) selects no entry.
    line_->setCurrentIndex(line >= 0 && line < lineCount_ ? line : -1);
    shownLine_ = line;
    lineEdited_ = false;
}

void DialRow::fillNumber(const Text &number)
{
    if (needsFill(number, shownNumber_, numberEdited_))
        number_->setModelText(shown(number));
}

void DialRow::fillComment(const Text &comment)
{
    if (comment_ && needsFill(comment, shownComment_, commentEdited_)) {
        comment_->setText(shown(comment));
        comment_->setModified(false);
        // A comment longer than its field shows its beginning.
        comment_->setCursorPosition(0);
    }
}

void DialRow::storeLine(int32_t &line)
{
    if (lineEdited_) {
        line = line_->currentIndex();
        shownLine_ = line;
        lineEdited_ = false;
    } else if (line < 0 || line >= lineCount_) {
        // The row shows no entry for it, and no entry is stored as -1.
        line = -1;
    }
}

void DialRow::storeNumber(Text &number)
{
    storeText(number_->text(), number, shownNumber_, numberEdited_);
}

void DialRow::storeComment(Text &comment)
{
    storeText(comment_->text(), comment, shownComment_, commentEdited_);
}

} // namespace ornis
