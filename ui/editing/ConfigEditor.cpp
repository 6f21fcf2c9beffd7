#include "ConfigEditor.h"

#include "common/ItemNames.h"
#include "config/Blocks.h"

#include <QUndoStack>
#include <limits>

namespace ornis {

namespace {

constexpr int FieldEditId = 1;

// One value changed by the user.
class FieldEdit final : public QUndoCommand
{
public:
    FieldEdit(ConfigEditor &editor, const FieldRef &ref, FieldValue before, FieldValue after,
        bool joinsTyping, bool typing)
        : QUndoCommand(itemName(ref))
        , editor_(editor)
        , ref_(ref)
        , before_(std::move(before))
        , after_(std::move(after))
        , joinsTyping_(joinsTyping)
        , typing_(typing)
    {
    }

    [[nodiscard]] const FieldRef &ref() const { return ref_; }
    // The field was left: the next change of it is a step of its own.
    void endTyping() { typing_ = false; }

    void redo() override { editor_.apply(ref_, after_); }
    void undo() override { editor_.apply(ref_, before_); }
    [[nodiscard]] int id() const override { return FieldEditId; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const FieldEdit *>(other);
        if (!next->joinsTyping_ || !typing_ || next->ref_ != ref_)
            return false;
        after_ = next->after_;
        typing_ = next->typing_;
        // Typed back to where it started: no step at all.
        setObsolete(after_ == before_);
        return true;
    }

private:
    ConfigEditor &editor_;
    const FieldRef ref_;
    const FieldValue before_;
    FieldValue after_;
    const bool joinsTyping_;
    bool typing_;
};

// Many values at once: the blocks before and after.
class BlocksChange final : public QUndoCommand
{
public:
    BlocksChange(ConfigEditor &editor, ExchangeConfig before, const QString &text)
        : QUndoCommand(text)
        , editor_(editor)
        , before_(std::move(before))
        , after_(editor.config())
    {
    }

    void redo() override
    {
        // The change is made already when the step is recorded.
        if (std::exchange(recorded_, false))
            return;
        editor_.applyBlocks(after_);
    }
    void undo() override { editor_.applyBlocks(before_); }

private:
    ConfigEditor &editor_;
    const ExchangeConfig before_;
    const ExchangeConfig after_;
    bool recorded_ = true;
};

} // namespace

FieldRange wholeConfigRange()
{
    constexpr int last = std::numeric_limits<int>::max();
    return {{Field::ExchangeType, 0, 0}, {Field::PENumber, last, last}};
}

ConfigEditor::ConfigEditor(ExchangeConfig &config, QObject *parent)
    : QObject(parent)
    , config_(config)
    , history_(new QUndoStack(this))
{
    // An undo or redo ends the typing of a field.
    connect(history_, &QUndoStack::indexChanged, this, [this] { typing_ = nullptr; });
}

FieldValue ConfigEditor::value(const FieldRef &ref) const
{
    const FieldKind kind = kindOf(ref.field);
    if (kind == FieldKind::Text || kind == FieldKind::Time)
        return textValue(config_, ref);
    return integerValue(config_, ref);
}

void ConfigEditor::setValue(const FieldRef &ref, const FieldValue &value, bool typing)
{
    if (!blockOf(ref.field)) {
        setExchangeValue(ref, std::get<int64_t>(value));
        return;
    }
    FieldValue before = this->value(ref);
    if (before == value) {
        if (!typing)
            endTyping();
        return;
    }
    const bool joins = typing_ && static_cast<FieldEdit *>(typing_)->ref() == ref;
    history_->push(new FieldEdit(*this, ref, std::move(before), value, joins, typing));
    // The step on top is the one this value went into, joined or new.
    typing_ = nullptr;
    const QUndoCommand *top
        = history_->index() > 0 ? history_->command(history_->index() - 1) : nullptr;
    if (typing && top && top->id() == FieldEditId
        && static_cast<const FieldEdit *>(top)->ref() == ref)
        typing_ = const_cast<QUndoCommand *>(top);
}

void ConfigEditor::endTyping()
{
    if (typing_)
        static_cast<FieldEdit *>(typing_)->endTyping();
    typing_ = nullptr;
}

void ConfigEditor::setExchangeValue(const FieldRef &ref, int64_t value)
{
    if (integerValue(config_, ref) == value)
        return;
    setIntegerValue(config_, ref, value);
    emit valuesChanged({ref, ref});
}

void ConfigEditor::recordChange(const ExchangeConfig &before, const QString &text)
{
    endTyping();
    history_->push(new BlocksChange(*this, before, text));
}

void ConfigEditor::readStarting()
{
    withoutRead_ = config_;
}

void ConfigEditor::readEnded(bool complete, const QString &text)
{
    if (!withoutRead_)
        return;
    ExchangeConfig before = std::move(*withoutRead_);
    withoutRead_.reset();
    if (complete || before != config_) {
        endTyping();
        history_->push(new BlocksChange(*this, std::move(before), text));
    }
}

void ConfigEditor::startHistory()
{
    typing_ = nullptr;
    history_->clear();
}

void ConfigEditor::markSaved()
{
    endTyping();
    history_->setClean();
}

void ConfigEditor::apply(const FieldRef &ref, const FieldValue &value)
{
    const auto set = [&ref, &value](ExchangeConfig &config) {
        if (const auto *number = std::get_if<int64_t>(&value))
            setIntegerValue(config, ref, *number);
        else
            setTextValue(config, ref, std::get<Text>(value));
    };
    set(config_);
    if (withoutRead_)
        set(*withoutRead_);
    emit valuesChanged({ref, ref});
}

void ConfigEditor::applyBlocks(const ExchangeConfig &from)
{
    copyBlocks(from, config_, BlockSet::all());
    if (withoutRead_)
        copyBlocks(from, *withoutRead_, BlockSet::all());
    emit valuesChanged(wholeConfigRange());
}

} // namespace ornis
