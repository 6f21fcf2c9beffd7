#pragma once

#include "config/Blocks.h"
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

// The one way into the window's configuration. Each change is a step of the history, which
// undo and redo walk: a value the user set, or many values at once (the defaults, an
// import, a paste, a read), each step named. A file opened starts a new history. Every
// change of a value, undo and redo included, is announced by valuesChanged with the
// ranges it touched, which the views follow.
class ConfigEditor final : public QObject
{
    Q_OBJECT

public:
    // The configuration starts as the program starts: every factory value.
    explicit ConfigEditor(QObject *parent = nullptr);
    ~ConfigEditor() override;

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
    // The same for the model and every module as `source` holds them (the preferences).
    void setExchangeBlock(const ExchangeConfig &source);

    // Many values at once: every value of `blocks` as `source` holds it, one step named
    // `step` (the defaults, an import, a paste). The exchange block is no part of it.
    void applyBlocks(const ExchangeConfig &source, BlockSet blocks, const QString &step);
    // A configuration opened: the values of `blocks`, and the exchange model and modules
    // when `withExchange`, as `source` holds them; a new history starts.
    void startHistory(const ExchangeConfig &source, BlockSet blocks, bool withExchange);

    // A read stores into the configuration from now on. Edits, undo and redo while it runs
    // also reach what the window would hold without it, so that undoing the read keeps them.
    void readStarting();
    // The read is over: one step named `step` when it completed or changed a value.
    void readEnded(bool complete, const QString &step);
    // The next undo takes back a read.
    [[nodiscard]] bool undoRevertsRead() const;

    // The configuration is in a file now.
    void markSaved();

signals:
    void valuesChanged(const FieldRange &range);

private:
    // The transfer flow hands the configuration to the engine, which reads into it and
    // writes from it. It stores into it only during a read, between readStarting and
    // readEnded: the editor's read window.
    friend class TransferFlow;
    [[nodiscard]] ExchangeConfig &transferTarget() { return config_; }

    class FieldEdit;
    class BlocksChange;

    // Sets a value for a step of the history and announces it.
    void apply(const FieldRef &ref, const FieldValue &value);
    // Takes the values of `blocks` from `source` for a step of the history and announces
    // the blocks that changed.
    void takeBlocks(const ExchangeConfig &source, BlockSet blocks);
    void push(QUndoCommand *step);

    ExchangeConfig config_;
    QUndoStack *history_;
    // The step on top while its field is typed in, open for the next digit.
    FieldEdit *typing_ = nullptr;
    // While a read runs: the configuration as it would be without the read.
    std::optional<ExchangeConfig> withoutRead_;
};

} // namespace ornis
