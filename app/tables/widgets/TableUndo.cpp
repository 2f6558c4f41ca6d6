#include "TableUndo.h"

#include "TableSnapshot.h"

#include <QUndoCommand>

#include <optional>
#include <utility>

namespace {

// Where a table sits: a table without an owner and the button cells (column,
// row) that lead from it to the table. A nested table is found again through
// its place, since undoing a deleted row gives the row a new table object.
class TTablePlace {
public:
    explicit TTablePlace(TGridTable& table) : FRoot(&table)
    {
        while (TGridTable* owner = FRoot->OwnerTable()) {
            const std::optional<std::pair<int, int>> cell = CellOf(*owner, *FRoot);
            if (!cell)
                break;
            FCells.insert(FCells.begin(), *cell);
            FRoot = owner;
        }
    }

    // The table now in that place; null when the place is gone.
    TGridTable* Find() const
    {
        TGridTable* table = FRoot;
        for (const auto& [col, row] : FCells) {
            if (!table->CellValid(col, row) || table->Column(col).Kind() != TColumnKind::Table)
                return nullptr;
            table = table->GetData(col, row).AsTable();
            if (!table)
                return nullptr;
        }
        return table;
    }

private:
    static std::optional<std::pair<int, int>> CellOf(const TGridTable& owner, const TGridTable& nested)
    {
        for (int col = 0; col < owner.ColumnCount(); ++col)
            if (owner.Column(col).Kind() == TColumnKind::Table)
                for (int row = 0; row < owner.RowCount(); ++row)
                    if (owner.GetData(col, row).AsTable() == &nested)
                        return std::pair{col, row};
        return std::nullopt;
    }

    TGridTable* FRoot;
    std::vector<std::pair<int, int>> FCells;
};

// One table's content before and after a change.
class TTableStep {
public:
    explicit TTableStep(TGridTable& table) : FPlace(table), FBefore(table) {}

    void Finish()
    {
        if (TGridTable* table = FPlace.Find())
            FAfter.emplace(*table);
    }
    bool Changed() const { return FAfter && !(*FAfter == FBefore); }
    void Put(bool before) const
    {
        TGridTable* table = FPlace.Find();
        if (table && FAfter)
            (before ? FBefore : *FAfter).Restore(*table);
    }

private:
    TTablePlace FPlace;
    TTableSnapshot FBefore;
    std::optional<TTableSnapshot> FAfter;
};

class TTableCommand final : public QUndoCommand {
public:
    TTableCommand(const QString& text, const std::vector<TGridTable*>& tables, std::unique_ptr<TUndoState> state)
        : QUndoCommand(text), FStateBefore(std::move(state))
    {
        for (TGridTable* table : tables)
            FSteps.emplace_back(*table);
    }

    void Finish(std::unique_ptr<TUndoState> state)
    {
        for (TTableStep& step : FSteps)
            step.Finish();
        FStateAfter = std::move(state);
    }

    bool Changed() const
    {
        for (const TTableStep& step : FSteps)
            if (step.Changed())
                return true;
        return FStateBefore && FStateAfter && !(*FStateBefore == *FStateAfter);
    }

    void undo() override
    {
        for (auto step = FSteps.rbegin(); step != FSteps.rend(); ++step)
            step->Put(true);
        if (FStateBefore)
            FStateBefore->Restore();
    }

    void redo() override
    {
        // Pushed after the change was made: nothing to do the first time.
        if (FMade) {
            FMade = false;
            return;
        }
        for (const TTableStep& step : FSteps)
            step.Put(false);
        if (FStateAfter)
            FStateAfter->Restore();
    }

private:
    std::vector<TTableStep> FSteps;
    std::unique_ptr<TUndoState> FStateBefore;
    std::unique_ptr<TUndoState> FStateAfter;
    bool FMade = true;
};

}  // namespace

TTableUndo::TTableUndo(QObject* parent) : QUndoStack(parent) {}

void TTableUndo::Record(const QString& text, const std::vector<TGridTable*>& tables, const std::function<void()>& change)
{
    if (FRecording) {
        change();
        return;
    }
    const auto capture = [this] { return CaptureState ? CaptureState() : nullptr; };
    auto command = std::make_unique<TTableCommand>(text, tables, capture());
    FRecording = true;
    const auto finish = [&] {
        FRecording = false;
        command->Finish(capture());
        if (command->Changed())
            push(command.release());
    };
    try {
        change();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

QString TableStepText(const char* what, const TGridTable& table)
{
    return QString::fromLatin1(what) + QStringLiteral(" in ") + QString::fromStdString(table.WindowCaption()).trimmed();
}

void RecordTableChange(const QString& text, const std::vector<TGridTable*>& tables, const std::function<void()>& change)
{
    if (TTableUndo* undo = TTableUndo::Current())
        undo->Record(text, tables, change);
    else
        change();
}
