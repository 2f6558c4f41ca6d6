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

#include "GridTable.h"

#include <QPointer>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <vector>

// State beside the tables that a step keeps: taken before and after a change,
// put back by undo and redo.
class TUndoState {
public:
    virtual ~TUndoState() = default;
    virtual bool operator==(const TUndoState& other) const = 0;
    virtual void Restore() const = 0;
};

class TTableUndo : public QUndoStack {
public:
    explicit TTableUndo(QObject* parent = nullptr);

    // Takes the state beside the tables; none when unset.
    std::function<std::unique_ptr<TUndoState>()> CaptureState;

    // Runs `change` as one step named `text` (see above).
    void Record(const QString& text, const std::vector<TGridTable*>& tables, const std::function<void()>& change);

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
void RecordTableChange(const QString& text, const std::vector<TGridTable*>& tables, const std::function<void()>& change);
