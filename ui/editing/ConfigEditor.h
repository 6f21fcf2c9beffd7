#pragma once

#include "config/ExchangeConfig.h"
#include "config/FieldRange.h"

#include <QObject>
#include <optional>
#include <variant>

class QUndoCommand;
class QUndoStack;

namespace ornis {

// A value of any field: integers and flags as numbers, texts and times as their bytes.
using FieldValue = std::variant<int64_t, Text>;

// Every value of the configuration, from the exchange model to the last PE number.
[[nodiscard]] FieldRange wholeConfigRange();

// The one way the user's edits reach the configuration: each edit is a step of the
// history, which undo and redo walk; every change of a value, by an edit, an undo or a
// redo, is announced by valuesChanged, which the views follow.
class ConfigEditor final : public QObject
{
    Q_OBJECT

public:
    ConfigEditor(ExchangeConfig &config, QObject *parent = nullptr);

    [[nodiscard]] const ExchangeConfig &config() const { return config_; }
    [[nodiscard]] QUndoStack &history() const { return *history_; }

    [[nodiscard]] FieldValue value(const FieldRef &ref) const;
    // The user set a value: one step of the history; nothing when it holds `value` already.
    // The exchange model and modules go to setExchangeValue.
    // While `typing`, the next change of the same field joins this step (a time typed digit
    // by digit is one edit); endTyping closes it.
    void setValue(const FieldRef &ref, const FieldValue &value, bool typing = false);
    void endTyping();

    // The exchange model and modules: kept in the preferences, so they are set without a
    // step of the history and without marking the window as holding unsaved changes.
    void setExchangeValue(const FieldRef &ref, int64_t value);

    // Many values changed at once (the defaults, a read): one step from `before` to what
    // the configuration holds now, named `text`. The exchange block is no part of it.
    void recordChange(const ExchangeConfig &before, const QString &text);

    // A read stores into the configuration from now on. Edits, undo and redo while it runs
    // also reach what the window would hold without it, so that undoing the read keeps them.
    void readStarting();
    // The read is over: one step named `text` when it completed or changed a value.
    void readEnded(bool complete, const QString &text);

    // A file was opened: a new history, with nothing unsaved.
    void startHistory();
    // The configuration is in a file now.
    void markSaved();

    // Sets a value for a step of the history and announces it.
    void apply(const FieldRef &ref, const FieldValue &value);
    // Takes the blocks of `from` for a step of the history and announces them.
    void applyBlocks(const ExchangeConfig &from);

signals:
    void valuesChanged(const FieldRange &range);

private:
    ExchangeConfig &config_;
    QUndoStack *history_;
    // The step on top while its field is typed in, open for the next digit.
    QUndoCommand *typing_ = nullptr;
    // While a read runs: the configuration as it would be without the read.
    std::optional<ExchangeConfig> withoutRead_;
};

} // namespace ornis
