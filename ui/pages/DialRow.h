#pragma once

#include "DialPageWindows.h"

class QComboBox;
class QString;
class QLabel;
class QLineEdit;
class QWidget;

namespace ornis {

class DialNumberEdit;

// One row of the short-dial or PE page: its label, the line choice, the number and, for
// short dials, the comment. The page binds the controls to the record the row shows.
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

private:
    QLabel *label_;
    QComboBox *line_;
    DialNumberEdit *number_;
    QLineEdit *comment_ = nullptr;
};

} // namespace ornis
