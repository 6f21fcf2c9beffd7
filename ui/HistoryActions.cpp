#include "HistoryActions.h"

#include "config/ConfigFields.h"
#include "ui/MainActions.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/editing/ConfigEditor.h"

#include <QAction>
#include <QStringList>
#include <QUndoStack>
#include <algorithm>

namespace ornis {

namespace {

QString verbOf(bool back)
{
    return back ? QStringLiteral("Zpět") : QStringLiteral("Znovu");
}

} // namespace

HistoryActions::HistoryActions(
    ConfigEditor &editor, const MainActions &actions, Setup setup, QObject *parent)
    : QObject(parent)
    , editor_(editor)
    , setup_(std::move(setup))
{
    QUndoStack &history = editor_.history();
    connect(&history, &QUndoStack::canUndoChanged, actions.acUndo, &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, actions.acRedo, &QAction::setEnabled);
    const QString undoIdle = actions.acUndo->statusTip();
    const QString redoIdle = actions.acRedo->statusTip();
    connect(&history, &QUndoStack::undoTextChanged, this,
        [this, action = actions.acUndo, undoIdle](
            const QString &step) { showStep(action, Way::Back, step, undoIdle); });
    connect(&history, &QUndoStack::redoTextChanged, this,
        [this, action = actions.acRedo, redoIdle](
            const QString &step) { showStep(action, Way::Forward, step, redoIdle); });
    connect(actions.acUndo, &QAction::triggered, this, &HistoryActions::undo);
    connect(actions.acRedo, &QAction::triggered, this, &HistoryActions::redo);
}

void HistoryActions::showStep(
    QAction *action, Way way, const QString &step, const QString &idle) const
{
    const QString tip
        = step.isEmpty() ? idle : verbOf(way == Way::Back) + QStringLiteral(": ") + step;
    action->setStatusTip(tip);
    action->setToolTip(tip);
}

void HistoryActions::undo()
{
    if (!editor_.undoRevertsRead()) {
        walk(Way::Back);
        return;
    }
    // The answer comes later: only the step asked about is undone.
    const int asked = editor_.history().index();
    setup_.dialogs.ask(
        setup_.dialogParent, QStringLiteral("Vrátit celé načtení z ústředny ?"), [this, asked] {
            if (editor_.history().index() == asked && editor_.undoRevertsRead())
                walk(Way::Back);
        });
}

void HistoryActions::redo()
{
    walk(Way::Forward);
}

void HistoryActions::walk(Way way)
{
    QUndoStack &history = editor_.history();
    const bool back = way == Way::Back;
    const QString step = back ? history.undoText() : history.redoText();
    if (back ? !history.canUndo() : !history.canRedo())
        return;
    // The pages whose values the step changes, as the editor announces them.
    std::vector<MainPage> changed;
    const QMetaObject::Connection listening = connect(
        &editor_, &ConfigEditor::valuesChanged, this, [&changed](const FieldRange &range) {
            const std::optional<Block> block = blockOf(range.first.field);
            const MainPage page = block ? pageOfBlock(*block) : MainPage::Setup;
            if (std::ranges::find(changed, page) == changed.end())
                changed.push_back(page);
        });
    back ? history.undo() : history.redo();
    disconnect(listening);
    setup_.say(verbOf(back) + QStringLiteral(": ") + step + pagesNote(changed));
}

QString HistoryActions::pagesNote(const std::vector<MainPage> &pages) const
{
    const std::optional<MainPage> inView = setup_.pageInView();
    QStringList elsewhere;
    for (const MainPageInfo &info : MainPageTable) {
        if (info.page != inView && std::ranges::find(pages, info.page) != pages.end())
            elsewhere.append(pageCaption(info.page));
    }
    if (elsewhere.isEmpty())
        return QString();
    return elsewhere.size() == 1
        ? QStringLiteral(" (na stránce %1)").arg(elsewhere.first())
        : QStringLiteral(" (na stránkách %1)").arg(elsewhere.join(QStringLiteral(", ")));
}

} // namespace ornis
