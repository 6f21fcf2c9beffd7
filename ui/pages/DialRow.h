#pragma once

#include "config/DialPageWindows.h"
#include "config/ExchangeConfig.h"

#include <cstdint>

class QComboBox;
class QString;
class QLabel;
class QLineEdit;
class QWidget;

namespace ornis {

class DialNumberEdit;

// One row of the short-dial or PE page: its label, the line choice, the number and, for
// short dials, the comment. The row is a window on one record at a time.
//
// The row remembers what it shows and which fields the user edited since: a fill touches
// only what changed (a read fills the rows after every byte), and a store takes the
// user's edits and leaves every field the user did not edit as the model holds it.
class DialRow final
{
public:
    // The controls are named after `table` and `k` (1..20): lblTemplK, cbTemplK, medTemplK,
    // edTemplK; lblPETemplK, cbPETemplK, medPETemplK.
    DialRow(DialTable table, int k, QWidget *parent);
    DialRow(const DialRow &) = delete;
    // The name of a control of the page of `table` numbered `k`: "cbTempl3", "pnlPETempl2".
    [[nodiscard]] static QString controlName(const char *prefix, DialTable table, int k);
    DialRow &operator=(const DialRow &) = delete;

    [[nodiscard]] QLabel *label() const { return label_; }
    [[nodiscard]] QComboBox *line() const { return line_; }
    [[nodiscard]] DialNumberEdit *number() const { return number_; }
    // Nothing on the PE page.
    [[nodiscard]] QLineEdit *comment() const { return comment_; }

    void fill(const ShortDialRecord &record);
    void fill(const PERecord &record);
    void store(ShortDialRecord &record);
    void store(PERecord &record);

private:
    void fillLine(int32_t line);
    void fillNumber(const Text &number);
    void fillComment(const Text &comment);
    void storeLine(int32_t &line);
    void storeNumber(Text &number);
    void storeComment(Text &comment);

    QLabel *label_;
    QComboBox *line_;
    DialNumberEdit *number_;
    QLineEdit *comment_ = nullptr;
    int lineCount_;

    // What the controls show, as the model held it when they were filled.
    int32_t shownLine_ = 0;
    Text shownNumber_;
    Text shownComment_;
    bool lineEdited_ = false;
    bool numberEdited_ = false;
    bool commentEdited_ = false;
};

} // namespace ornis
