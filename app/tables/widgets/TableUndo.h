#pragma once

// The undo history of the project's tables (TTableUndo, a QUndoStack): every
// change made in a table window is one step (a typed entry, a choice in a
// drop-down, Add, Insert and Delete Row, a paste, an import), and so is a
// whole change that a feature makes by code. A step keeps the content of the
// tables it concerns before and after the change (TTableSnapshot), nested
// tables included, and undo and redo put that content back. Values come back
// in the units they were taken in, so a step survives a switch of units.
//
// The main window owns one history, installs it as the current one and clears
// it when another project is taken into use (New, Open):
//   FUndo = new TTableUndo(this);
//   TTableUndo::SetCurrent(FUndo);
//
// A change made by code, as one step with its own text ("Undo Apply
// calibration" in the Edit menu):
//   RecordTableChange(QStringLiteral("Apply calibration"), {&tables.TblTZFactors2},
//                     [&] { ApplyFit(fit, project); });
// Name every table the change writes into (a nested table may be named: the
// step finds it again through its owner's row). The change runs at once; when
// it has changed nothing, no step is recorded. What the current history's
// CaptureState covers beside the tables (the project's option switches, the
// curve source and the Q-w multipliers) is kept with every step as well. A
// change that throws is recorded as far as it went, then the exception goes on.
// Changes recorded while another is being recorded belong to the outer step.
// Without a current history the change simply runs.
//
// A change of a value kept outside the tables (a section of the project's
// extras file, as JSON) is a step of its own through RecordValueChange: the
// value is read before and after the change, and put back by undo and redo.

#include "GridTable.h"

#include <QPointer>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// State beside the tables that a step keeps: taken before and after a change,
// put back by undo and redo.
class TUndoState {
public:
    virtual ~TUndoState() = default;
    virtual bool operator==(const TUndoState& other) const = 0;
    virtual void Restore() const = 0;
};

// Takes a state beside the tables.
using TStateCapture = std::function<std::unique_ptr<TUndoState>()>;

// A value of type T (equality comparable) kept by a step: `put` puts it back.
template <class T>
class TValueState final : public TUndoState {
public:
    TValueState(T value, std::function<void(const T&)> put) : FValue(std::move(value)), FPut(std::move(put)) {}
    bool operator==(const TUndoState& other) const override
    {
        const auto* value = dynamic_cast<const TValueState*>(&other);
        return value && value->FValue == FValue;
    }
    void Restore() const override { FPut(FValue); }

private:
    T FValue;
    std::function<void(const T&)> FPut;
};

class TTableUndo : public QUndoStack {
public:
    explicit TTableUndo(QObject* parent = nullptr);

    // Takes the state beside the tables that every step keeps; none when unset.
    TStateCapture CaptureState;

    // Runs `change` as one step named `text` (see above); `capture` takes a
    // state of this step's own beside the tables.
    void Record(const QString& text, const std::vector<TGridTable*>& tables, const std::function<void()>& change,
                const TStateCapture& capture = {});

    // The history that RecordTableChange and the table windows record into.
    static TTableUndo* Current() { return FCurrent; }
    static void SetCurrent(TTableUndo* undo) { FCurrent = undo; }

private:
    static inline QPointer<TTableUndo> FCurrent;
    bool FRecording = false;
};

// The text of a step that changes one table: "Delete Row in Soil Layers".
QString TableStepText(const char* what, const TGridTable& table);

// Records `change` in the current history, or simply runs it without one.
void RecordTableChange(const QString& text, const std::vector<TGridTable*>& tables, const std::function<void()>& change,
                       const TStateCapture& capture = {});

// Records `change` of a value outside the tables as one step named `text`:
// `take` reads the value, `put` puts it back on undo and redo.
template <class T>
void RecordValueChange(const QString& text, std::function<T()> take, std::function<void(const T&)> put,
                       const std::function<void()>& change)
{
    RecordTableChange(text, {}, change, [take = std::move(take), put = std::move(put)] {
        return std::make_unique<TValueState<T>>(take(), put);
    });
}
