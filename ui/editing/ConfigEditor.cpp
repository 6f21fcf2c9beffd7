#include "ConfigEditor.h"

#include "common/ItemNames.h"
#include "config/FactoryDefaults.h"

#include <QUndoStack>
#include <utility>

namespace ornis {

namespace {

constexpr int FieldEditId = 1;
// A read's step: undoing it is asked about first.
constexpr int ReadStepId = 2;

} // namespace

// One value changed by the user.
class ConfigEditor::FieldEdit final : public QUndoCommand
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
class ConfigEditor::BlocksChange final : public QUndoCommand
{
public:
    // `read`: the configuration holds `after` already (a read stored it), and the first
    // redo has nothing to do.
    BlocksChange(ConfigEditor &editor, ExchangeConfig before, ExchangeConfig after,
        BlockSet blocks, const QString &text, bool read = false)
        : QUndoCommand(text)
        , editor_(editor)
        , before_(std::move(before))
        , after_(std::move(after))
        , blocks_(blocks)
        , read_(read)
        , inPlace_(read)
    {
    }

    [[nodiscard]] int id() const override { return read_ ? ReadStepId : -1; }

    void redo() override
    {
        if (!std::exchange(inPlace_, false))
            editor_.takeBlocks(after_, blocks_);
    }
    void undo() override { editor_.takeBlocks(before_, blocks_); }

private:
    ConfigEditor &editor_;
    const ExchangeConfig before_;
    const ExchangeConfig after_;
    const BlockSet blocks_;
    const bool read_;
    bool inPlace_;
};

ConfigEditor::ConfigEditor(QObject *parent)
    : QObject(parent)
    , config_(factoryConfig())
    , history_(new QUndoStack(this))
{
    // An undo or redo ends the typing of a field.
    connect(history_, &QUndoStack::indexChanged, this, [this] { typing_ = nullptr; });
}

ConfigEditor::~ConfigEditor()
{
    // The history clears itself as it goes and must tell nobody.
    history_->disconnect();
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
    const bool joins = typing_ && typing_->ref() == ref;
    history_->push(new FieldEdit(*this, ref, std::move(before), value, joins, typing));
    // The step on top is the one this value went into, joined or new.
    typing_ = nullptr;
    const QUndoCommand *top
        = history_->index() > 0 ? history_->command(history_->index() - 1) : nullptr;
    if (typing && top && top->id() == FieldEditId
        && static_cast<const FieldEdit *>(top)->ref() == ref)
        typing_ = const_cast<FieldEdit *>(static_cast<const FieldEdit *>(top));
}

void ConfigEditor::endTyping()
{
    if (typing_)
        typing_->endTyping();
    typing_ = nullptr;
}

void ConfigEditor::setExchangeValue(const FieldRef &ref, int64_t value)
{
    if (integerValue(config_, ref) == value)
        return;
    setIntegerValue(config_, ref, value);
    if (withoutRead_)
        setIntegerValue(*withoutRead_, ref, value);
    emit valuesChanged({ref, ref});
}

void ConfigEditor::setExchangeBlock(const ExchangeConfig &source)
{
    forEachField({}, true, [this, &source](const FieldRef &ref) {
        setExchangeValue(ref, integerValue(source, ref));
    });
}

void ConfigEditor::applyBlocks(const ExchangeConfig &source, BlockSet blocks, const QString &step)
{
    ExchangeConfig after = config_;
    copyBlocks(source, after, blocks);
    push(new BlocksChange(*this, config_, std::move(after), blocks, step));
}

void ConfigEditor::startHistory(const ExchangeConfig &source, BlockSet blocks, bool withExchange)
{
    typing_ = nullptr;
    history_->clear();
    takeBlocks(source, blocks);
    if (withExchange)
        setExchangeBlock(source);
}

void ConfigEditor::readStarting()
{
    withoutRead_ = config_;
}

void ConfigEditor::readEnded(bool complete, const QString &step)
{
    if (!withoutRead_)
        return;
    ExchangeConfig before = std::move(*withoutRead_);
    withoutRead_.reset();
    if (!complete && before == config_)
        return;
    push(new BlocksChange(*this, std::move(before), config_, BlockSet::all(), step, true));
}

bool ConfigEditor::undoRevertsRead() const
{
    const int index = history_->index();
    return index > 0 && history_->command(index - 1)->id() == ReadStepId;
}

void ConfigEditor::markSaved()
{
    endTyping();
    history_->setClean();
}

void ConfigEditor::push(QUndoCommand *step)
{
    endTyping();
    history_->push(step);
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

void ConfigEditor::takeBlocks(const ExchangeConfig &source, BlockSet blocks)
{
    const BlockSet changed = differingBlocks(config_, source, blocks);
    copyBlocks(source, config_, changed);
    if (withoutRead_)
        copyBlocks(source, *withoutRead_, blocks);
    for (const Block block : AllBlocks) {
        if (changed.contains(block))
            emit valuesChanged(blockRange(block));
    }
}

} // namespace ornis
