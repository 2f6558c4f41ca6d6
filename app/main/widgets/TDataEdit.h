#pragma once

// Numeric field of the data dialogs. What the user types is an arithmetic
// expression; leaving the field (or pressing Enter) evaluates it, enforces
// the bounds and the integer rule and shows the result. The attached label
// reads "Caption (unit)", the unit expanded for the current unit system.
//
// Escape while typing puts back the number the field showed before. A
// field that is not being edited shows the start of its text, and its number
// rounded to the digits the project file keeps; the number itself stays as
// it was loaded or evaluated until the text is edited, and the field shows
// it in full once the user takes it up (a click, Tab or its shortcut).
//
// The field checks itself when the focus moves on to another control of its
// window. A dialog runs ExitCheck() on its active field before it stores its
// values (when it is deactivated or closed) and stores nothing while that
// fails; leaving the window itself does not check the field. Messages go
// through Prompts().

#include "UnitStrings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>

#include <limits>
#include <optional>

class TDataEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TDataEdit(QWidget* parent = nullptr);

    // Name of the quantity shown in the label.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    // Label that shows the caption and unit, enabled with the field (not owned).
    QLabel* EditLabel() const { return label_; }
    void SetEditLabel(QLabel* label);

    // Unit in force and length tokens ("L", "F/L^2"); empty when dimensionless.
    QString UnitsString() const { return unitsString_; }
    void SetUnitsString(const QString& units);

    // Unit system of the label: 1 English, 2 SI, 3 the tokens as written.
    // Other values are moved into 1..3.
    UnitSystem Units() const { return units_; }
    void SetUnits(UnitSystem units);

    // Bounds. MaxVal is raised to at least MinVal and MinVal lowered to at
    // most MaxVal; an integer-only field keeps both in the 32-bit range. A
    // number outside a new bound is moved onto it.
    long double MinVal() const { return minVal_; }
    void SetMinVal(long double value);
    long double MaxVal() const { return maxVal_; }
    void SetMaxVal(long double value);

    // MinVal itself is refused as well, when typed: the number must lie
    // above it. A number loaded into the field (SetNumber) and left as it
    // is passes, so that a value not entered yet can be looked at.
    bool AboveMin() const { return aboveMin_; }
    void SetAboveMin(bool on) { aboveMin_ = on; }

    bool IntegerOnly() const { return integerOnly_; }
    void SetIntegerOnly(bool on);

    // Shows the number as "$" and hexadecimal digits.
    bool Hex() const { return hex_; }
    void SetHex(bool on);

    // The number shown, as loaded or evaluated, while the text is as the
    // field showed it and not typed over; else the value of the text, which
    // throws EAssignError when it cannot be evaluated.
    long double Number() const;
    // Clamps the value to the bounds and shows it.
    void SetNumber(long double value);

    // Evaluates the text, checks it against the integer rule and the bounds
    // and shows the result. A failure is reported to the user, puts the focus
    // back on the field and answers false.
    bool ExitCheck();
    // Whether the last ExitCheck succeeded.
    bool Valid() const { return valid_; }

    // Text of the attached label.
    QString LabelText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The value of the text, or nothing when it cannot be evaluated.
    std::optional<long double> Value() const;
    // Whether `widget` lies in the field's window: its MDI child window, or
    // its top-level window outside an MDI area.
    bool InOwnWindow(const QWidget* widget) const;
    void KeepWithinBounds();
    bool Reject(const QString& message);
    void RefreshLabel();
    void ShowNumber(long double value);
    // The number shown in full or rounded, while its text is not edited.
    void ShowExact(bool full);
    void ShowStart();

    // The number the field last showed (loaded or checked) and its text;
    // Escape while typing puts the text back.
    std::optional<long double> exact_;
    QString shownNumber_;
    QString caption_;
    QPointer<QLabel> label_;
    QString unitsString_;
    UnitSystem units_ = UnitSystem::English;
    long double minVal_ = std::numeric_limits<long double>::lowest();
    long double maxVal_ = std::numeric_limits<long double>::max();
    bool aboveMin_ = false;
    bool integerOnly_ = false;
    bool hex_ = false;
    bool valid_ = false;
    bool checking_ = false;
};

// Number text of the field: general format with 18 significant digits
// ("144", "0.00001", "1E-9", "1.5E20").
QString GeneralText(long double value);
// The same with the 8 digits of the project file, as a field shows its
// number while it is not being edited.
QString RoundedText(long double value);
// "$" and the rounded value in at least four hexadecimal digits ("$00FF").
QString HexText(long double value);
