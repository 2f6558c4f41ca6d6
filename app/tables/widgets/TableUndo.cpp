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
    // `states` holds the states beside the tables as they were before.
    TTableCommand(const QString& text, const std::vector<TGridTable*>& tables,
                  std::vector<std::unique_ptr<TUndoState>> states)
        : QUndoCommand(text), FStatesBefore(std::move(states))
    {
        for (TGridTable* table : tables)
            FSteps.emplace_back(*table);
    }

    void Finish(std::vector<std::unique_ptr<TUndoState>> states)
    {
        for (TTableStep& step : FSteps)
            step.Finish();
        FStatesAfter = std::move(states);
    }

    bool Changed() const
    {
        for (const TTableStep& step : FSteps)
            if (step.Changed())
                return true;
        for (size_t i = 0; i < FStatesBefore.size() && i < FStatesAfter.size(); ++i)
            if (!(*FStatesBefore[i] == *FStatesAfter[i]))
                return true;
        return false;
    }

    void undo() override
    {
        for (auto step = FSteps.rbegin(); step != FSteps.rend(); ++step)
            step->Put(true);
        for (const std::unique_ptr<TUndoState>& state : FStatesBefore)
            state->Restore();
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
        for (const std::unique_ptr<TUndoState>& state : FStatesAfter)
            state->Restore();
    }

private:
    std::vector<TTableStep> FSteps;
    std::vector<std::unique_ptr<TUndoState>> FStatesBefore;
    std::vector<std::unique_ptr<TUndoState>> FStatesAfter;
    bool FMade = true;
};

}  // namespace

TTableUndo::TTableUndo(QObject* parent) : QUndoStack(parent) {}

void TTableUndo::Record(const QString& text, const std::vector<TGridTable*>& tables, const std::function<void()>& change,
                        const TStateCapture& own)
{
    if (FRecording) {
        change();
        return;
    }
    const auto capture = [this, &own] {
        std::vector<std::unique_ptr<TUndoState>> states;
        if (CaptureState)
            states.push_back(CaptureState());
        if (own)
            states.push_back(own());
        return states;
    };
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

void RecordTableChange(const QString& text, const std::vector<TGridTable*>& tables, const std::function<void()>& change,
                       const TStateCapture& capture)
{
    if (TTableUndo* undo = TTableUndo::Current())
        undo->Record(text, tables, change, capture);
    else
        change();
}
